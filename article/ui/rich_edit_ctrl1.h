// The program's one rich-text control class: a RichEdit 2.0 control (the older "RICHEDIT" class when
// RICHED20.DLL is missing) with one undo step and no automatic address detection, whose text is
// streamed in and out as RTF or plain text through a global-memory buffer or a file, reset to the
// program's default formats, read line by line and turned into a title. The article pane, the
// previews, the report text and the hidden converter controls are all of this class.
//
// Positions and lengths: positions count a paragraph break as one character; WM_GETTEXTLENGTH
// and streamed text count it as CR LF, two. Everything here that selects uses GetCharCount.
#pragma once
#include <windows.h>
#include <richedit.h>

#include <cstdint>
#include <string>

#include "framework/ui/rich_edit.h"
#include "shell/font_settings.h"
#include "storage/link_range_list.h"

class CRichEditCtrl1 : public CRichEditCtrl {
public:
    CRichEditCtrl1() = default;
    ~CRichEditCtrl1() override;

    // Creates the control (extended style WS_EX_CLIENTEDGE) and binds it to this object; false on
    // failure. Every control gets a text limit far above the control's default of 32,767
    // characters, which would silently cut longer RTF streamed in.
    virtual bool Create(DWORD style, const RECT& rect, HWND parent, int id);

    // Empties the text; every operation that replaces the whole text calls it first.
    virtual void ClearText();

    // Whole-text streams. A stream that stops early raises CQuorError (1 for memory, else the
    // stream's error code), so that a shortened text is never taken for the whole one.
    void SetRtf(const std::string& rtf);
    void GetRtf(std::string& out, bool selectionOnly);
    void GetText(std::string& out, bool selectionOnly);

    void SetPlainText(const std::string& text, bool markColor);
    // The text is appended at the end in the default character format.
    void AppendPlainText(const std::string& text);
    void AppendRtf(const std::string& rtf);
    // Replaces the selection.
    void InsertRtf(const std::string& rtf);
    // File errors raise CQuorError with the file error code and the path.
    void SaveRtfFile(const std::string& path);
    void LoadRtfFile(const std::string& path);
    void LoadTextFile(const std::string& path);
    // Streams the text out and in again, which drops what RTF cannot hold.
    void RebuildFromRtf();

    // Empties the text and sets the default character format (colour 0x010201 with `markColor`) and
    // a plain paragraph format.
    void ResetFormatting(bool markColor);
    // The default character and plain paragraph format at the end of the text.
    void ResetFormatAtEnd();
    void GetDefaultCharFormat(CHARFORMATA& format, bool markColor = false);
    // Ends the text with a line break in the format of its last character; nothing on an empty text.
    void EnsureFinalLineBreak(bool force);
    // For EN_SELCHANGE: an end of -1 means the whole text, an end past the text is cut; result 0.
    void ClampSelection(SELCHANGE* notice, LRESULT& result);
    // Line `line` as text, or false for a line that does not exist.
    bool GetLineText(int line, std::string& out);
    // The first line's words, at most 20; "" on an empty text or a memory failure.
    void MakeTitle(std::string& out);

    // Replaces every occurrence of `find` (search flags FR_MATCHCASE and FR_WHOLEWORD as chosen)
    // by `replacement`, each once: the search goes on after the inserted text. With `links` the
    // stored links follow the replaced text, and an occurrence reaching out of a link is left
    // alone. Not undoable; the caret ends at 0. Returns the number of replacements.
    int ReplaceAll(DWORD flags, const std::string& find, const std::string& replacement, CLinkRangeList* links);

    bool IsOvertype() const { return m_overtype != 0; }
    bool IsRichEdit20() const { return m_richEdit20 != 0; }
    bool IsNewerDll() const { return m_newerDll != 0; }

    // Characters in positions (a paragraph break counts one).
    int32_t GetCharCount() const;
    void GetSel(int32_t& start, int32_t& end) const;
    void SetSel(int32_t start, int32_t end) const;
    void SetCharFormat(const CHARFORMAT2A& format, DWORD scope) const;

    // The article font and text colour every control's default format is made from; set by the
    // application from its settings (until then the default font settings).
    static void SetArticleFont(const LogFont& font, uint32_t color, bool automatic);

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    virtual bool OnKeyDown(UINT key, UINT repeat, UINT flags, LRESULT& result);

    // Streams with the control; a stream error raises CQuorError.
    void StreamInChecked(DWORD format, const std::string& data);
    void StreamOutChecked(DWORD format, std::string& out);

    int m_richEdit20 = 0;
    int m_newerDll = 0;
    int m_overtype = 0;

private:
    // Opens `path` for reading, resets the formats and streams the file in as `format`.
    void LoadFile(const std::string& path, DWORD format);

    bool m_created = false;  // this object created the window and destroys it
    bool m_markColor = false;  // the last reset asked for the marking colour
};
