// Change Keywords for Highlighted Articles as one document operation. Saving the articles one by one
// through UpdateArticle rewrote each keyword record and flushed once per article, and an unreadable
// article half way through left the first ones changed; here every article is read first, then each
// record that changes is written once and the file flushed once.
#include <map>
#include <new>
#include <utility>

#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/quorvane_doc.h"
#include "framework/clock.h"
#include "index/keyword_rules.h"
#include "shell/app_settings.h"
#include "storage/article_record.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"

void CQuorvaneDoc::ChangeKeywordsOfArticles(const CArticleIdSet& articles, const CKeywordIdSet& removedIn,
                                            const CKeywordIdSet& addedIn)
{
    COperationCheck check(*this, "ChangeKeywordsOfArticles");
    try {
        CDocWaitCursor wait(m_host);
        ClearBatchUnlessRecording();
        CKeywordIdSet added;
        added.Copy(addedIn);
        PrepareKeywordSet(added);
        CKeywordIdSet removed;
        removed.Copy(removedIn);

        CDataFile::CReadCache cache(&m_dataFile);  // each article is read for the check and again to change it
        CheckArticlesReadable(articles);

        struct KeywordChange {
            CArticleIdSet gained;
            CArticleIdSet lost;
        };
        std::map<int32_t, KeywordChange> keywordChanges;
        std::vector<std::pair<int32_t, CKeywordIdSet>> changedArticles;
        std::vector<int32_t> restamped;
        const bool stamp = m_settings && m_settings->GetAutoUpdateDates();
        const QuorLocalTime now = QuorNow();

        for (int32_t article : articles.Values()) {
            CArticleRecord record;
            record.Read(m_dataFile, article);
            CKeywordIdSet before;
            record.GetKeywordIds(before);
            CKeywordIdSet after;
            after.Copy(before);
            ApplyKeywordChange(after, removed, added);
            if (after.Values() == before.Values())
                continue;
            CKeywordIdSet lost;
            CKeywordIdSet gained;
            SplitChanges(before, after, lost, gained);
            record.SetKeywordIds(after);
            if (stamp) {
                record.SetDate(now.year * 10000 + now.month * 100 + now.day);
                record.SetTime(now.hour * 3600 + now.minute * 60 + now.second);
                restamped.push_back(article);
            }
            record.Write(m_dataFile, article);
            FillIndexEntry(article, record);
            // The articles come in ascending order, so each keyword's lists stay sorted.
            for (int32_t keyword : lost.Values())
                keywordChanges[keyword].lost.Values().push_back(article);
            for (int32_t keyword : gained.Values())
                keywordChanges[keyword].gained.Values().push_back(article);
            for (int32_t keyword : lost.Values())
                NotifyArticleView(ArticleHint::kKeywordDeleted, article, keyword, 0);
            for (int32_t keyword : gained.Values())
                NotifyArticleView(ArticleHint::kKeywordAssigned, article, keyword, 0);
            changedArticles.emplace_back(article, std::move(after));
        }

        for (auto& entry : keywordChanges) {
            // An article may name a keyword that is gone; there is no record to keep in step.
            if (!IsValidKeywordId(entry.first))
                continue;
            CKeywordRecord record;
            record.Read(m_dataFile, entry.first);
            CArticleIdSet ids;
            record.GetArticleIds(ids);
            ids.Subtract(entry.second.lost);
            ids.Union(entry.second.gained);
            record.SetArticleIds(ids);
            record.Write(m_dataFile, entry.first);
        }
        m_dataFile.Flush();

        for (const auto& entry : keywordChanges)
            if (IsValidKeywordId(entry.first))
                ReportKeywordChanged(entry.first);
        for (int32_t article : restamped)
            NotifyIndexView(IndexCode::kArticleTitleChanged, article, 0);
        if (CIndexNotifyTarget* index = GetIndexView())
            for (const auto& entry : changedArticles)
                index->UpdateTitleForArticle(entry.first, entry.second, false);
        if (!changedArticles.empty())
            NotifyIndexView(IndexCode::kArticleChanged, changedArticles.back().first, 0);
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}
