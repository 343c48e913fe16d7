#include "index/ui/index_drop_target.h"

#include <new>

#include "storage/quor_error.h"

UINT CIndexDropTarget::RichTextFormat()
{
    static const UINT format = RegisterClipboardFormatA("Rich Text Format");
    return format;
}

DWORD CIndexDropTarget::EffectFor(COleDataObject& data)
{
    bool text = data.IsDataAvailable(CF_TEXT) || data.IsDataAvailable(static_cast<CLIPFORMAT>(RichTextFormat()));
    return text ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

DWORD CIndexDropTarget::OnDragEnter(HWND, COleDataObject& data, DWORD, POINT)
{
    return EffectFor(data);
}

DWORD CIndexDropTarget::OnDragOver(HWND, COleDataObject& data, DWORD, POINT)
{
    return EffectFor(data);
}

DWORD CIndexDropTarget::OnDrop(HWND, COleDataObject& data, DWORD, POINT)
{
    UINT format = RichTextFormat();
    if (!data.IsDataAvailable(static_cast<CLIPFORMAT>(format)))
        format = CF_TEXT;
    std::string bytes;
    if (!data.IsDataAvailable(static_cast<CLIPFORMAT>(format)) || !data.GetGlobalBytes(static_cast<CLIPFORMAT>(format), bytes))
        return DROPEFFECT_NONE;
    // The block may be rounded up or carry its terminator: the text ends at the first NUL.
    size_t end = bytes.find('\0');
    if (end != std::string::npos)
        bytes.resize(end);
    try {
        if (m_newArticle && m_newArticle(format, bytes))
            return DROPEFFECT_COPY;
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    return DROPEFFECT_NONE;
}
