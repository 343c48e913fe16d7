// The import batch: what the last import or paste added, undone as one, opened, or checked for
// articles it duplicates.
#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "storage/quor_error.h"

namespace {
constexpr int kUndoImportQuestionId = 15010;
constexpr int kOpenImportedQuestionId = 8321;
}  // namespace

void CQuorvaneDoc::UndoImport()
{
    COperationCheck check(*this, "UndoImport");
    ReportErrors([&] {
        std::string question = QuorFormatNumbers(QuorLoadString(kUndoImportQuestionId),
                                                 m_importBatch.Articles().GetSize(), m_importBatch.Keywords().GetSize(),
                                                 m_importBatch.Groups().GetSize());
        if (!m_host.Confirm(question))
            return;
        CArticleIdSet articles;
        articles.Copy(m_importBatch.Articles());
        CKeywordIdSet keywords;
        keywords.Copy(m_importBatch.Keywords());
        CGroupIdSet groups;
        groups.Copy(m_importBatch.Groups());
        DeleteArticles(articles);
        if (keywords.GetSize() > 0)
            DeleteKeywordsThroughIndex(keywords);
        DeleteKeywordGroups(groups);
        m_importBatch.SetLocked(false);
        m_importBatch.Clear();
    });
}

void CQuorvaneDoc::OpenImportedArticles()
{
    std::vector<int32_t> ids;
    m_importBatch.GetArticleIds(ids);
    if (ids.size() > 5 &&
        !m_host.Confirm(QuorFormatNumbers(QuorLoadString(kOpenImportedQuestionId), static_cast<int>(ids.size()))))
        return;
    for (int32_t id : ids) {
        try {
            OpenArticle(id);
        } catch (const CQuorError& error) {
            error.Report();
            return;
        }
    }
}

void CQuorvaneDoc::FindImportedDuplicates(std::vector<int32_t>& out)
{
    out.clear();
    CArticleIdSet all;
    GetAllArticleIds(all);
    all.Subtract(m_importBatch.Articles());
    std::vector<int32_t> stored = all.Values();
    std::vector<int32_t> imported = m_importBatch.Articles().Values();
    SortArticleIdsByTitle(stored);
    SortArticleIdsByTitle(imported);

    size_t s = 0;
    size_t i = 0;
    bool gap = false;
    while (s < stored.size() && i < imported.size()) {
        const char* titleS = GetArticleTitle(stored[s]);
        const char* titleI = GetArticleTitle(imported[i]);
        int order = CompareText(titleS ? titleS : "", titleI ? titleI : "");
        if (order < 0) {
            ++s;
            gap = true;
        } else if (order == 0 && AreDuplicates(stored[s], imported[i])) {
            if (gap && !out.empty())
                out.push_back(-1);
            gap = false;
            out.push_back(imported[i]);
            ++i;
        } else if (order == 0) {
            ++s;
            gap = true;
        } else {
            ++i;
            gap = true;
        }
    }
}

void CQuorvaneDoc::HandleImportedDuplicates(int action)
{
    COperationCheck check(*this, "HandleImportedDuplicates");
    ReportErrors([&] {
        if (action == 2)
            return;
        std::vector<int32_t> runs;
        FindImportedDuplicates(runs);
        CArticleIdSet marked;
        if (action == 1) {
            for (int32_t id : runs)
                if (id >= 0)
                    marked.Add(id);
        } else if (!m_host.ChooseDuplicates(runs, true, marked)) {
            return;
        }
        if (marked.GetSize() == 0 || !ConfirmAndDeleteDuplicates(marked))
            return;
        m_importBatch.RemoveArticleIds(marked.Values());
        // New keywords that lost their last article go with them.
        CKeywordIdSet orphans;
        for (int32_t keyword : m_importBatch.Keywords().Values()) {
            CArticleIdSet articles;
            GetKeywordArticleIds(keyword, articles);
            if (articles.GetSize() == 0)
                orphans.Add(keyword);
        }
        if (orphans.GetSize() > 0) {
            DeleteKeywordsThroughIndex(orphans);
            m_importBatch.RemoveKeywordIds(orphans.Values());
        }
    });
}
