#include "article/ui/rich_edit_ctrl1.h"

#include <algorithm>
#include <new>

#include "article/link_upkeep.h"
#include "article/rich_text_rules.h"
#include "article/ui/global_buffer.h"
#include "article/ui/rich_edit_loader.h"
#include "controls/ui/dll_version.h"
#include "controls/ui/font_win.h"
#include "framework/file.h"
#include "framework/ui/app.h"
#include "framework/ui/wnd.h"
#include "storage/quor_error.h"

namespace {

struct ArticleFont {
    bool set = false;
    LogFont font;
    uint32_t color = 0;
    bool automatic = true;
};

ArticleFont& TheArticleFont()
{
    static ArticleFont font;
    if (!font.set) {
        CGdiFontFaces faces;
        font.font = CFontSettings::DefaultFont(faces);
        font.set = true;
    }
    return font;
}

// Far above any article: the control's default limit of 32,767 characters cuts streamed RTF.
constexpr LPARAM kTextLimit = 0x7FFFFFFE;

// Stream callbacks: the control stores a nonzero answer in EDITSTREAM::dwError and stops. An
// exception must not cross the control, so each one ends here as an error code.
DWORD CALLBACK BufferRead(DWORD_PTR cookie, LPBYTE bytes, LONG size, LONG* done)
{
    *done = 0;
    try {
        *done = reinterpret_cast<CGlobalBuffer*>(cookie)->Read(bytes, size);
    } catch (const CQuorError& e) {
        return e.Code() ? static_cast<DWORD>(e.Code()) : 1;
    } catch (...) {
        return 1;
    }
    return *done < 0 ? 1 : 0;
}

DWORD CALLBACK BufferWrite(DWORD_PTR cookie, LPBYTE bytes, LONG size, LONG* done)
{
    *done = 0;
    try {
        reinterpret_cast<CGlobalBuffer*>(cookie)->Append(bytes, size);
    } catch (const CQuorError& e) {
        return e.Code() ? static_cast<DWORD>(e.Code()) : 1;
    } catch (...) {
        return 1;
    }
    *done = size;
    return 0;
}

DWORD CALLBACK FileRead(DWORD_PTR cookie, LPBYTE bytes, LONG size, LONG* done)
{
    *done = 0;
    try {
        *done = static_cast<LONG>(reinterpret_cast<CFile*>(cookie)->Read(bytes, static_cast<uint32_t>(size)));
    } catch (const CFileException& e) {
        return static_cast<DWORD>(FileExceptionToErrorCode(e));
    } catch (...) {
        return 1;
    }
    return 0;
}

DWORD CALLBACK FileWrite(DWORD_PTR cookie, LPBYTE bytes, LONG size, LONG* done)
{
    *done = 0;
    try {
        reinterpret_cast<CFile*>(cookie)->Write(bytes, static_cast<uint32_t>(size));
    } catch (const CFileException& e) {
        return static_cast<DWORD>(FileExceptionToErrorCode(e));
    } catch (...) {
        return 1;
    }
    *done = size;
    return 0;
}

void OpenOrRaise(CFile& file, const std::string& path, unsigned flags)
{
    CFileException error(CFileException::none, 0, path);
    if (!file.Open(path, flags, &error)) throw CQuorError(FileExceptionToErrorCode(error), path);
}

}  // namespace

void CRichEditCtrl1::SetArticleFont(const LogFont& font, uint32_t color, bool automatic)
{
    ArticleFont& current = TheArticleFont();
    current.font = font;
    current.color = color;
    current.automatic = automatic;
}

CRichEditCtrl1::~CRichEditCtrl1()
{
    if (m_created && m_hWnd) {
        HWND hwnd = m_hWnd;
        Unsubclass();
        ::DestroyWindow(hwnd);
    }
}

bool CRichEditCtrl1::Create(DWORD style, const RECT& rect, HWND parent, int id)
{
    m_richEdit20 = LoadRichEdit20() ? 1 : 0;
    m_newerDll = m_richEdit20 && IsNewerRichEditVersion(GetDllVersion("RICHED20.DLL")) ? 1 : 0;
    HWND hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, m_richEdit20 ? "RichEdit20A" : "RICHEDIT", "", style, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) return false;
    if (!Subclass(hwnd)) {
        ::DestroyWindow(hwnd);
        return false;
    }
    m_created = true;
    if (m_richEdit20) SendMessage(EM_SETUNDOLIMIT, 1);
    SendMessage(EM_EXLIMITTEXT, 0, kTextLimit);
    return true;
}

void CRichEditCtrl1::ClearText()
{
    ::SetWindowTextA(m_hWnd, "");
}

int32_t CRichEditCtrl1::GetCharCount() const
{
    GETTEXTLENGTHEX query = {GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    LRESULT n = SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query));
    return n < 0 ? 0 : static_cast<int32_t>(n);
}

void CRichEditCtrl1::GetSel(int32_t& start, int32_t& end) const
{
    CHARRANGE range = {0, 0};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    start = range.cpMin;
    end = range.cpMax;
}

void CRichEditCtrl1::SetSel(int32_t start, int32_t end) const
{
    CHARRANGE range = {start, end};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void CRichEditCtrl1::SetCharFormat(const CHARFORMAT2A& format, DWORD scope) const
{
    SendMessage(EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&format));
}

void CRichEditCtrl1::StreamInChecked(DWORD format, const std::string& data)
{
    CGlobalBuffer buffer;
    buffer.SetString(data);
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&buffer), 0, BufferRead};
    SendMessage(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError) throw CQuorError(static_cast<int>(stream.dwError));
}

void CRichEditCtrl1::StreamOutChecked(DWORD format, std::string& out)
{
    out.clear();
    CGlobalBuffer buffer;
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&buffer), 0, BufferWrite};
    SendMessage(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError) throw CQuorError(static_cast<int>(stream.dwError));
    buffer.AppendZero();
    buffer.CopyTo(out);
}

void CRichEditCtrl1::SetRtf(const std::string& rtf)
{
    ClearText();
    StreamInChecked(SF_RTF, rtf);
}

void CRichEditCtrl1::GetRtf(std::string& out, bool selectionOnly)
{
    StreamOutChecked(selectionOnly ? (SFF_SELECTION | SF_RTF) : SF_RTF, out);
}

void CRichEditCtrl1::GetText(std::string& out, bool selectionOnly)
{
    StreamOutChecked(selectionOnly ? (SFF_SELECTION | SF_TEXT) : SF_TEXT, out);
}

void CRichEditCtrl1::SetPlainText(const std::string& text, bool markColor)
{
    ResetFormatting(markColor);
    AppendPlainText(text);
}

void CRichEditCtrl1::AppendPlainText(const std::string& text)
{
    try {
        const int32_t n = GetCharCount();
        SetSel(n, n);
        StreamInChecked(SFF_SELECTION | SF_TEXT, text);
        SetSel(n, GetCharCount());
        // After a reset with the colour flag, appended text keeps the marking colour.
        CHARFORMATA format;
        GetDefaultCharFormat(format, m_markColor);
        SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CRichEditCtrl1::AppendRtf(const std::string& rtf)
{
    try {
        const int32_t n = GetCharCount();
        SetSel(n, n);
        StreamInChecked(SFF_SELECTION | SF_RTF, rtf);
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CRichEditCtrl1::InsertRtf(const std::string& rtf)
{
    StreamInChecked(SFF_SELECTION | SF_RTF, rtf);
}

void CRichEditCtrl1::SaveRtfFile(const std::string& path)
{
    CFile file;
    OpenOrRaise(file, path, CFile::modeCreate | CFile::modeWrite);
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&file), 0, FileWrite};
    SendMessage(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError) {
        file.Abort();
        throw CQuorError(static_cast<int>(stream.dwError), path);
    }
    try {
        file.Close();
    } catch (const CFileException& e) {
        file.Abort();
        throw CQuorError(FileExceptionToErrorCode(e), path);
    }
}

void CRichEditCtrl1::LoadFile(const std::string& path, DWORD format)
{
    CFile file;
    OpenOrRaise(file, path, CFile::modeRead);
    ResetFormatting(false);
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&file), 0, FileRead};
    SendMessage(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError) throw CQuorError(static_cast<int>(stream.dwError), path);
}

void CRichEditCtrl1::LoadRtfFile(const std::string& path)
{
    LoadFile(path, SF_RTF);
}

void CRichEditCtrl1::LoadTextFile(const std::string& path)
{
    LoadFile(path, SF_TEXT);
}

void CRichEditCtrl1::RebuildFromRtf()
{
    SetSel(0, -1);
    std::string rtf;
    GetRtf(rtf, true);
    ResetFormatting(false);
    StreamInChecked(SF_RTF, rtf);
}

void CRichEditCtrl1::GetDefaultCharFormat(CHARFORMATA& format, bool markColor)
{
    const ArticleFont& font = TheArticleFont();
    CWnd* main = CWinApp::Current() ? CWinApp::Current()->GetMainWnd() : nullptr;
    HWND window = main ? main->m_hWnd : nullptr;
    HDC dc = ::GetDC(window);
    int pixelsPerInch = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ::ReleaseDC(window, dc);
    format = ToCharFormatA(MakeDefaultCharFormat(font.font, pixelsPerInch, font.color, font.automatic, markColor));
}

void CRichEditCtrl1::ResetFormatting(bool markColor)
{
    ClearText();
    m_markColor = markColor;
    CHARFORMATA format;
    GetDefaultCharFormat(format, markColor);
    SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    PARAFORMAT paragraph = {};
    paragraph.cbSize = sizeof paragraph;
    paragraph.dwMask = PFM_STARTINDENT | PFM_OFFSET | PFM_NUMBERING | PFM_OFFSETINDENT;
    SendMessage(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
}

void CRichEditCtrl1::ResetFormatAtEnd()
{
    const int32_t n = GetCharCount();
    SetSel(n, n);
    CHARFORMATA format;
    GetDefaultCharFormat(format);
    SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    PARAFORMAT paragraph = {};
    paragraph.cbSize = sizeof paragraph;
    paragraph.dwMask = PFM_STARTINDENT | PFM_OFFSET | PFM_NUMBERING | PFM_OFFSETINDENT;
    SendMessage(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
}

void CRichEditCtrl1::EnsureFinalLineBreak(bool force)
{
    try {
        const int32_t n = GetCharCount();
        if (n <= 0) return;
        char last[2] = {};
        TEXTRANGEA range = {{n - 1, n}, last};
        SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        if (!force && (last[0] == '\r' || last[0] == '\n')) return;
        SetSel(n - 1, n);
        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        AppendPlainText("\r\n");
        SetSel(n, GetCharCount());
        SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    } catch (const CQuorError&) {
    } catch (const std::bad_alloc&) {
    }
}

void CRichEditCtrl1::ClampSelection(SELCHANGE* notice, LRESULT& result)
{
    int32_t start = notice->chrg.cpMin;
    int32_t end = notice->chrg.cpMax;
    ClampSelectionRange(start, end, GetCharCount());
    notice->chrg.cpMin = start;
    notice->chrg.cpMax = end;
    result = 0;
}

bool CRichEditCtrl1::GetLineText(int line, std::string& out)
{
    out.clear();
    const LRESULT count = SendMessage(EM_GETLINECOUNT);
    if (line < 0 || line >= count) return false;
    const LRESULT start = SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line));
    const LRESULT length = SendMessage(EM_LINELENGTH, static_cast<WPARAM>(start));
    if (length <= 0) return true;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    TEXTRANGEA range = {{static_cast<LONG>(start), static_cast<LONG>(start + length)}, &text[0]};
    LRESULT copied = SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    out = text;
    return true;
}

void CRichEditCtrl1::MakeTitle(std::string& out)
{
    out.clear();
    try {
        std::string text;
        GetText(text, false);
        out = MakeTitleFromText(text);
    } catch (const CQuorError&) {
        out.clear();
    } catch (const std::bad_alloc&) {
        out.clear();
    }
}

int CRichEditCtrl1::ReplaceAll(DWORD flags, const std::string& find, const std::string& replacement,
                               CLinkRangeList* links)
{
    // An empty find text is found everywhere and would never end.
    if (find.empty()) return 0;
    int count = 0;
    SendMessage(EM_HIDESELECTION, TRUE);
    try {
        FINDTEXTEXA search = {};
        search.lpstrText = find.c_str();
        search.chrg.cpMin = 0;
        search.chrg.cpMax = -1;
        const WPARAM how = FR_DOWN | (flags & (FR_MATCHCASE | FR_WHOLEWORD));
        for (;;) {
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
            if (SendMessage(EM_FINDTEXTEX, how, reinterpret_cast<LPARAM>(&search)) < 0) break;
            const int32_t start = search.chrgText.cpMin;
            const int32_t end = search.chrgText.cpMax;
            if (links) {
                const ReplaceMatchRule rule = DecideReplaceMatch(*links, start, end);
                if (!rule.replace) {
                    search.chrg.cpMin = rule.resumeAt;
                    continue;
                }
            }
            // Lengths measured, not counted: a line break in either text is one position in the control.
            const int32_t before = GetCharCount();
            SetSel(start, end);
            DefaultProc(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(replacement.c_str()));
            const int32_t delta = GetCharCount() - before;
            if (links) KeepLinksAfterReplace(*links, start, end, delta);
            ++count;
            search.chrg.cpMin = end + delta;
        }
    } catch (const std::bad_alloc&) {
        SetSel(0, 0);
        SendMessage(EM_HIDESELECTION, FALSE);
        throw CQuorError(kOutOfMemory);
    }
    SetSel(0, 0);
    SendMessage(EM_HIDESELECTION, FALSE);
    return count;
}

bool CRichEditCtrl1::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_KEYDOWN)
        return OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam), result);
    return false;
}

bool CRichEditCtrl1::OnKeyDown(UINT key, UINT, UINT, LRESULT&)
{
    // The control's own overtype mode follows the same key, so the two stay in step.
    if (key == VK_INSERT) m_overtype ^= 1;
    return false;
}
