#include "article/ui/keyword_drop_target.h"

#include <new>
#include <string>

#include "article/ui/article_view.h"
#include "storage/quor_error.h"

namespace {

DWORD EffectFor(COleDataObject& data)
{
    return data.IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

}  // namespace

DWORD CKeywordDropTarget::OnDragEnter(HWND, COleDataObject& data, DWORD, POINT)
{
    return EffectFor(data);
}

DWORD CKeywordDropTarget::OnDragOver(HWND, COleDataObject& data, DWORD, POINT)
{
    return EffectFor(data);
}

DWORD CKeywordDropTarget::OnDrop(HWND wnd, COleDataObject& data, DWORD, POINT)
{
    if (!data.IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    try {
        std::string text;
        if (!data.GetGlobalBytes(CF_TEXT, text))
            return DROPEFFECT_NONE;
        // The block may be rounded up or lack its terminator: the text ends at the first NUL or at
        // the end of the block.
        size_t end = text.find('\0');
        if (end != std::string::npos)
            text.resize(end);
        auto* view = dynamic_cast<CArticleView*>(CWnd::FromHandle(::GetParent(wnd)));
        if (!view)
            return DROPEFFECT_NONE;
        view->AssignExistingKeywordByName(text);
        return DROPEFFECT_COPY;
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    return DROPEFFECT_NONE;
}
