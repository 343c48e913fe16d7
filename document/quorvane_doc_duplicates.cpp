// Duplicate articles: two articles whose titles and plain texts are the same but for trailing
// blanks, found over the whole file and deleted as the user chooses.
#include <new>

#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "storage/article_record.h"
#include "storage/quor_error.h"

namespace {
// Trailing blanks, tabs and line ends do not make two texts differ.
std::string TrimRight(const std::string& text)
{
    size_t end = text.find_last_not_of(" \t\r\n");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}
}  // namespace

// A rich-text article's plain text comes from the host's rich-text control; older articles hold
// plain text.
std::string CQuorvaneDoc::PlainTextOf(const CArticleRecord& record)
{
    return record.GetVersion() > 4 ? m_host.RtfToPlainText(record.GetRtfText()) : record.GetText();
}

bool CQuorvaneDoc::AreDuplicates(int32_t a, int32_t b)
{
    try {
        const char* titleA = GetArticleTitle(a);
        const char* titleB = GetArticleTitle(b);
        if (!titleA || !titleB || TrimRight(titleA) != TrimRight(titleB))
            return false;
        CArticleRecord recordA;
        CArticleRecord recordB;
        LoadArticle(a, recordA);
        LoadArticle(b, recordB);
        return TrimRight(PlainTextOf(recordA)) == TrimRight(PlainTextOf(recordB));
    } catch (const CQuorError&) {
    } catch (const std::bad_alloc&) {
    }
    return false;
}

bool CQuorvaneDoc::FindDuplicates(std::vector<int32_t>& out)
{
    out.clear();
    CArticleIdSet all;
    GetAllArticleIds(all);
    if (all.GetSize() < 2)
        return true;
    const std::string caption = QuorLoadString(IDS_CHECK_DUPLICATES);
    std::vector<int32_t> ids = all.Values();
    SortArticleIds(caption, ids, 0);

    bool cancelled = false;
    m_host.BeginProgress(caption, std::string(), static_cast<int>(ids.size()));
    try {
        int32_t current = ids[0];
        bool inRun = false;
        size_t i = 1;
        while (i < ids.size()) {
            if (m_host.IsProgressCancelled()) {
                cancelled = true;
                break;
            }
            if (!m_host.PumpPendingMessage())
                continue;
            m_host.SetProgressText(QuorFormatNumbers(QuorLoadString(IDS_SCANNING_COUNT), static_cast<int>(i) + 1,
                                                     static_cast<int>(ids.size())));
            int32_t article = ids[i];
            if (AreDuplicates(current, article)) {
                if (!inRun) {
                    if (!out.empty())
                        out.push_back(-1);
                    out.push_back(current);
                    inRun = true;
                }
                out.push_back(article);
            } else {
                current = article;
                inRun = false;
            }
            m_host.StepProgress();
            ++i;
        }
    } catch (const std::bad_alloc&) {
        out.clear();
    }
    m_host.EndProgress();
    return !cancelled;
}

bool CQuorvaneDoc::ConfirmAndDeleteDuplicates(const CArticleIdSet& marked)
{
    std::string question = QuorFormatNumbers(QuorLoadString(IDS_DELETE_DUPLICATES_QUESTION), marked.GetSize());
    if (!m_host.Confirm(question))
        return false;
    DeleteArticles(marked);
    return true;
}

void CQuorvaneDoc::CheckForDuplicateArticles()
{
    COperationCheck check(*this, "CheckForDuplicateArticles");
    const std::string caption = QuorLoadString(IDS_CHECK_DUPLICATES);
    ReportErrors([&] {
        if (!PromptSaveArticles(caption, 0))
            return;
        std::vector<int32_t> runs;
        if (!FindDuplicates(runs))
            return;
        if (runs.empty()) {
            m_host.Inform(QuorLoadString(IDS_NO_DUPLICATES), CDocHost::kInformation);
            return;
        }
        CArticleIdSet marked;
        if (m_host.ChooseDuplicates(runs, false, marked) && marked.GetSize() > 0)
            ConfirmAndDeleteDuplicates(marked);
    });
}
