// The open knowledge base as the index window's selection reads it: each question goes to the
// document.
#pragma once
#include "document/quorvane_doc.h"
#include "index/index_selection.h"

class CIndexDocData : public CIndexData {
public:
    explicit CIndexDocData(CQuorvaneDoc& document) : m_document(document) {}

    int32_t FindKeyword(const std::string& name) const override { return m_document.FindKeyword(name); }
    int32_t FindKeywordGroup(const std::string& name) const override { return m_document.FindKeywordGroup(name); }
    void GetKeywordArticleIds(int32_t keyword, CArticleIdSet& out) override { m_document.GetKeywordArticleIds(keyword, out); }
    void GetGroupKeywordIds(int32_t group, CKeywordIdSet& out) override { m_document.GetGroupKeywordIds(group, out); }
    void GetAllArticleIds(CArticleIdSet& out) override { m_document.GetAllArticleIds(out); }
    void GetBookmarkedIds(CArticleIdSet& out) override { m_document.GetBookmarkedIds(out); }
    int GetPrivateCount() override { return m_document.GetPrivateCount(); }
    void GetArticleKeywordIds(int32_t article, CKeywordIdSet& out) override { m_document.GetArticleKeywordIds(article, out); }
    int GetArticleAttachmentCount(int32_t article) override { return m_document.GetArticleAttachmentCount(article); }
    int32_t GetArticleDate(int32_t article) override { return m_document.GetArticleDate(article); }
    void BeginWaitCursor() override { m_document.BeginWaitCursor(); }
    void EndWaitCursor() override { m_document.EndWaitCursor(); }

    void GetAllKeywordIds(CKeywordIdSet& out) override { m_document.GetAllKeywordIds(out); }
    int GetKeywordCount() override { return m_document.GetKeywordCount(); }
    bool IsBookmarked(int32_t article) override { return m_document.IsBookmarked(article); }
    bool IsArticlePrivate(int32_t article) override { return m_document.IsArticlePrivate(article); }
    bool ArePrivateArticlesHidden() override { return m_document.ArePrivateArticlesHidden(); }
    int GetShownArticleCount() override { return m_document.GetArticleCount(); }
    int GetSortOrder() override { return m_document.GetSortOrder(); }
    void DeleteKeywords(const CKeywordIdSet& keywords) override { m_document.DeleteKeywords(keywords); }
    void OpenArticle(int32_t article) override { m_document.OpenArticle(article); }

private:
    CQuorvaneDoc& m_document;
};
