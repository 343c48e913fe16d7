// An in-memory knowledge base for the query engine's tests and benchmark: keywords, groups and
// articles with dates, attachments, bookmarks and privacy, built in id order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/ansi_case.h"
#include "index/query_names.h"
#include "storage/id_set.h"
#include "storage/quor_error.h"

class CMemoryQuerySource : public CQuerySource {
public:
    struct Article {
        int32_t date = 20200101;
        std::vector<int32_t> keywords;
        int attachments = 0;
        bool bookmarked = false;
        bool isPrivate = false;
    };

    int32_t AddKeyword(const std::string& name)
    {
        m_keywordNames.push_back(name);
        m_keywordArticles.emplace_back();
        return static_cast<int32_t>(m_keywordNames.size() - 1);
    }

    int32_t AddGroup(const std::string& name, std::vector<int32_t> keywords)
    {
        m_groupNames.push_back(name);
        m_groupKeywords.push_back(std::move(keywords));
        return static_cast<int32_t>(m_groupNames.size() - 1);
    }

    // Articles are added in ascending id order, so every keyword's list stays sorted.
    int32_t AddArticle(const Article& article)
    {
        int32_t id = static_cast<int32_t>(m_articles.size());
        m_articles.push_back(article);
        for (int32_t k : article.keywords)
            m_keywordArticles[static_cast<size_t>(k)].push_back(id);
        if (article.isPrivate)
            ++m_privateCount;
        return id;
    }

    void RenameKeyword(int32_t id, const std::string& name) { m_keywordNames[static_cast<size_t>(id)] = name; }
    void RenameGroup(int32_t id, const std::string& name) { m_groupNames[static_cast<size_t>(id)] = name; }
    void SetPrivateHidden(bool hidden) { m_privateHidden = hidden; }
    void FailGroup(int32_t id) { m_failingGroup = id; }

    int32_t FindKeyword(const std::string& name) const override { return FindName(m_keywordNames, name); }
    int32_t FindKeywordGroup(const std::string& name) const override { return FindName(m_groupNames, name); }

    void GetKeywordArticleIds(int32_t keyword, CArticleIdSet& out) override
    {
        if (waitCursors == 0)
            ++readsWithoutWaitCursor;
        out.Copy(m_keywordArticles.at(static_cast<size_t>(keyword)));
    }

    void GetGroupKeywordIds(int32_t group, CKeywordIdSet& out) override
    {
        if (group == m_failingGroup)
            throw CQuorError(kCorruptedRecord, "test.xrd");
        out.Copy(m_groupKeywords.at(static_cast<size_t>(group)));
    }

    void GetAllArticleIds(CArticleIdSet& out) override
    {
        std::vector<int32_t> ids;
        for (size_t i = 0; i < m_articles.size(); ++i) {
            if (IsShown(static_cast<int32_t>(i)))
                ids.push_back(static_cast<int32_t>(i));
        }
        out.Copy(ids);
    }

    void GetBookmarkedIds(CArticleIdSet& out) override
    {
        std::vector<int32_t> ids;
        for (size_t i = 0; i < m_articles.size(); ++i) {
            if (m_articles[i].bookmarked && IsShown(static_cast<int32_t>(i)))
                ids.push_back(static_cast<int32_t>(i));
        }
        out.Copy(ids);
    }

    int GetPrivateCount() override { return m_privateCount; }

    void GetArticleKeywordIds(int32_t article, CKeywordIdSet& out) override
    {
        ++articleLoads;
        out.Copy(At(article).keywords);
        out.Sort();
    }

    int GetArticleAttachmentCount(int32_t article) override { return article < 0 ? 0 : At(article).attachments; }
    int32_t GetArticleDate(int32_t article) override { return article < 0 ? kNoneId : At(article).date; }

    void BeginWaitCursor() override { ++waitCursors; }
    void EndWaitCursor() override { --waitCursors; }

    int waitCursors = 0;
    int readsWithoutWaitCursor = 0;
    int articleLoads = 0;

private:
    static int32_t FindName(const std::vector<std::string>& names, const std::string& name)
    {
        if (name.empty())
            return kNoneId;
        for (size_t i = 0; i < names.size(); ++i) {
            if (AnsiCompareNoCase(names[i].c_str(), name.c_str()) == 0)
                return static_cast<int32_t>(i);
        }
        return kNoneId;
    }

    bool IsShown(int32_t id) const { return !(m_privateHidden && At(id).isPrivate); }
    const Article& At(int32_t id) const { return m_articles.at(static_cast<size_t>(id)); }

    std::vector<std::string> m_keywordNames;
    std::vector<std::vector<int32_t>> m_keywordArticles;
    std::vector<std::string> m_groupNames;
    std::vector<std::vector<int32_t>> m_groupKeywords;
    std::vector<Article> m_articles;
    int m_privateCount = 0;
    bool m_privateHidden = true;
    int32_t m_failingGroup = kNoneId;
};
