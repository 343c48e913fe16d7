#include "article/ui/rtf_clipboard_writer.h"

#include "storage/quor_error.h"

void CRtfClipboardWriter::Prepare(CRichEditCtrl1& edit)
{
    if (edit.m_hWnd)
        return;
    const RECT none = {0, 0, 0, 0};
    if (!edit.Create(ES_MULTILINE, none, HWND_MESSAGE, 0))
        throw CQuorError(kOutOfMemory);
    // A line width of 1 turns word wrap off: wrapped at the window's zero width, every appended
    // article would be laid out again character by character.
    edit.SendMessage(EM_SETTARGETDEVICE, 0, 1);
    edit.ResetFormatting(false);
}

// Title, date, attachments and keywords in the article font, each on its line, and an empty line;
// the content; then a line break unless the content ends with one, and two empty lines. None of the
// header lines can hold a line break, so they go in as one piece of text.
void CRtfClipboardWriter::AddArticle(const Article& article)
{
    Prepare(m_batch);
    std::string header;
    for (const std::string& line : article.header)
        header += line + "\r\n";
    header += "\r\n";
    m_batch.AppendPlainText(header);
    if (article.rich)
        m_batch.AppendRtf(article.content);
    else
        m_batch.AppendPlainText(article.content);
    m_batch.EnsureFinalLineBreak(false);
    // The content's last paragraph (a list item, an indented or centred line) must not reach into
    // the empty lines and the next article's header.
    m_batch.ResetFormatAtEnd();
    m_batch.AppendPlainText("\r\n\r\n");
    if (++m_inBatch == kBatchSize)
        FlushBatch();
}

void CRtfClipboardWriter::FlushBatch()
{
    if (m_inBatch == 0)
        return;
    std::string rtf;
    m_batch.GetRtf(rtf, false);
    Prepare(m_whole);
    // The whole ends in the batch's last empty line: the next batch starts a new paragraph there.
    if (m_wholeUsed)
        m_whole.ResetFormatAtEnd();
    const int32_t expected = m_whole.GetCharCount() + m_batch.GetCharCount();
    m_whole.AppendRtf(rtf);
    // The batch's RTF may end with the control's own final paragraph mark, which an insertion keeps
    // as one more empty line: it goes, so that every join spaces articles alike.
    const int32_t n = m_whole.GetCharCount();
    if (n > expected) {
        m_whole.SetSel(expected, n);
        m_whole.SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    }
    m_wholeUsed = true;
    m_batch.ResetFormatting(false);
    m_inBatch = 0;
}

std::string CRtfClipboardWriter::GetRtf()
{
    std::string rtf;
    if (!m_wholeUsed) {
        // Everything fits in one batch: its text is the whole document.
        Prepare(m_batch);
        m_batch.GetRtf(rtf, false);
        return rtf;
    }
    FlushBatch();
    m_whole.GetRtf(rtf, false);
    return rtf;
}
