// Whole articles to and from the clipboard: copy, cut and paste. The blocks are built and read here
// (import/article_clipboard.h); the host only moves them on and off the clipboard.
#include <algorithm>

#include "storage/memory_clipboard_codec.h"
#include "document/doc_host.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "import/article_clipboard.h"
#include "resources/index_commands_res.h"
#include "shell/directories.h"
#include "storage/article_record.h"
#include "storage/date.h"
#include "storage/quor_error.h"

void IDocClipboard::SetArticleClipboard(const ArticleBlocks&)
{
    throw CQuorError(kClipboardBusy);
}

std::string IDocClipboard::GetArticleClipboard(int)
{
    throw CQuorError(kClipboardFormatMissing);
}

namespace {

class CDocCopySource : public IArticleCopySource {
public:
    explicit CDocCopySource(const CQuorvaneDoc& document) : m_document(document) {}
    std::string KeywordName(int32_t id) override { return m_document.GetKeywordName(id); }

private:
    const CQuorvaneDoc& m_document;
};

class CDocPasteTarget : public IArticlePasteTarget {
public:
    explicit CDocPasteTarget(CQuorvaneDoc& document) : m_document(document) {}
    int32_t KeywordIdForName(const std::string& name) override { return m_document.GetKeywordIdByName(name); }
    bool MatchesCreatedStamp(int32_t id, int32_t date, int32_t time) override
    {
        try {
            return m_document.MatchesCreatedStamp(id, date, time);
        } catch (const CQuorError& error) {
            // An article that cannot be loaded counts as another one; other errors pass on.
            if (error.Code() == kNoSuchTableEntry || error.Code() == kCorruptedRecord)
                return false;
            throw;
        }
    }

private:
    CQuorvaneDoc& m_document;
};

const char kLineEnd[] = "\r\n";

}  // namespace

// The lines that head a copied article in both renderings: the title, the date, each attachment's
// full path and the keywords sorted by name (the line is there without keywords too).
std::vector<std::string> CQuorvaneDoc::ArticleHeaderLines(const CArticleRecord& record)
{
    std::vector<std::string> lines;
    lines.push_back(record.GetTitle());
    CDate date;
    date.SetValue(record.GetDateOf(CArticleRecord::kOwnDate));
    lines.push_back(QuorLoadString(IDS_CLIP_DATE_LABEL) + date.Format(true));
    std::string base = m_directories ? m_directories->GetFolder(CDirectories::kAttachments, true) : m_dataFile.GetFolder();
    const CAttachmentArray& attachments = record.GetAttachments();
    for (int i = 0; i < attachments.GetSize(); ++i)
        lines.push_back(QuorLoadString(IDS_CLIP_ATTACHMENT_LABEL) + attachments.Item(i)->GetFullPath(base));
    CKeywordIdSet ids;
    record.GetKeywordIds(ids);
    std::vector<int32_t> sorted(ids.Values());
    SortKeywordIdsByName(sorted);
    std::string names;
    for (int32_t id : sorted)
        names += (names.empty() ? "" : ", ") + GetKeywordName(id);
    lines.push_back(QuorLoadString(IDS_CLIP_KEYWORDS_LABEL) + names);
    return lines;
}

// The plain-text rendering of one article: the header lines, an empty line, the content, and two
// line ends that part it from the next article.
void CQuorvaneDoc::AppendArticleText(const std::vector<std::string>& header, const CArticleRecord& record,
                                     std::string& text)
{
    for (const std::string& line : header)
        text += line + kLineEnd;
    text += kLineEnd;
    text += PlainTextOf(record);
    text += kLineEnd;
    text += kLineEnd;
}

void CQuorvaneDoc::CopyArticlesToClipboard(const std::vector<int32_t>& ids)
{
    CDocWaitCursor wait(m_host);
    CMemoryClipboardCodec v3Block, v4Block;
    CArticleClipboardV3 v3(v3Block);
    CArticleClipboardV4 v4(v4Block);
    CDocCopySource source(*this);
    IDocClipboard::ArticleBlocks blocks;
    std::unique_ptr<IArticleRtfWriter> rtf = m_host.MakeArticleRtfWriter();
    int count = static_cast<int>(ids.size());
    v3.WriteCount(count);
    v4.WriteCount(count);
    bool progress = count > 50;
    if (progress)
        m_host.BeginProgress(QuorLoadString(IDS_COPY_ARTICLES_CAPTION), "", count);
    try {
        CArticleRecord record;
        for (int i = 0; i < count; ++i) {
            if (progress)
                m_host.SetProgressText(QuorFormatNumbers(QuorLoadString(IDS_COPY_ARTICLES_PROGRESS), i + 1, count));
            int32_t id = ids[static_cast<size_t>(i)];
            LoadArticle(id, record);
            bool bookmarked = IsBookmarked(id);
            v3.WriteArticle(record, bookmarked, source);
            v4.WriteArticle(record, bookmarked, source);
            IArticleRtfWriter::Article rendering;
            rendering.header = ArticleHeaderLines(record);
            AppendArticleText(rendering.header, record, blocks.text);
            if (rtf) {
                rendering.rich = record.GetVersion() > CArticleRecord::kPlainTextVersion;
                rendering.content = rendering.rich ? record.GetRtfText() : record.GetText();
                rtf->AddArticle(rendering);
            }
            if (progress)
                m_host.StepProgress();
        }
        blocks.v3 = v3Block.Written();
        blocks.v4 = v4Block.Written();
        if (rtf)
            blocks.rtf = rtf->GetRtf();
        if (progress) {
            progress = false;
            m_host.EndProgress();
        }
        m_host.SetArticleClipboard(blocks);
    } catch (...) {
        if (progress)
            m_host.EndProgress();
        throw;
    }
}

void CQuorvaneDoc::CutArticles(const std::vector<int32_t>& ids)
{
    CopyArticlesToClipboard(ids);
    CArticleIdSet set;
    set.Copy(ids);
    set.Sort();
    DeleteArticles(set);
}

bool CQuorvaneDoc::CanPasteArticles()
{
    return CanModify() && m_host.ArticleClipboardVersion() > 0;
}

int CQuorvaneDoc::PasteArticles()
{
    if (!CanModify())
        return 0;
    int version = m_host.ArticleClipboardVersion();
    if (version <= 0)
        return 0;
    CDocWaitCursor wait(m_host);
    // Recording first: switching it on clears the paste mark, which marks this batch as a paste.
    SetImportRecording(true);
    m_importBatch.SetFromPaste(true);
    int pasted = 0;
    try {
        CMemoryClipboardCodec block(m_host.GetArticleClipboard(version));
        CArticleClipboardReader reader(block, version);
        CDocPasteTarget target(*this);
        CArticleRecord record;
        while (reader.HasMore()) {
            // Painting and Cancel keep working meanwhile; a new command waits for the queue.
            if (m_host.PumpPendingMessage() != 1)
                continue;
            bool bookmarked = false;
            reader.Next(record, bookmarked, target);
            AddArticle(record, bookmarked, true);
            ++pasted;
        }
    } catch (...) {
        SetImportRecording(false);
        throw;
    }
    SetImportRecording(false);
    return pasted;
}
