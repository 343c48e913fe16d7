// Text dragged onto the index window's titles list becomes a new article: rich text ("Rich Text
// Format") when the data has it, else plain text (CF_TEXT); other data is refused. The target only
// reads the data; the owner makes the article and answers whether it did.
#pragma once
#include <functional>
#include <string>

#include "framework/ui/ole_drop_target.h"

class CIndexDropTarget : public COleDropTarget {
public:
    // Makes an article from `text` in `format`; true when it was made.
    using NewArticle = std::function<bool(UINT format, const std::string& text)>;

    void SetNewArticle(NewArticle newArticle) { m_newArticle = std::move(newArticle); }
    // The registered "Rich Text Format" clipboard format.
    static UINT RichTextFormat();

    DWORD OnDragEnter(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override;
    DWORD OnDragOver(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override;
    DWORD OnDrop(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override;

private:
    static DWORD EffectFor(COleDataObject& data);
    NewArticle m_newArticle;
};
