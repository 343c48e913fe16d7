// A knowledge base in a temporary folder, driven through CQuorvaneDoc with recording windows.
#pragma once
#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>

#include "storage/article_record.h"
#include "storage/keyword_record.h"
#include "tests/document/doc_test_support.h"
#include "tests/document/link_checker.h"
#include "tests/support/temp_folder.h"

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline CKeywordIdSet Keywords(std::initializer_list<int32_t> ids)
{
    CKeywordIdSet set;
    for (int32_t id : ids)
        set.Add(id);
    return set;
}

inline CArticleIdSet Articles(std::initializer_list<int32_t> ids)
{
    CArticleIdSet set;
    for (int32_t id : ids)
        set.Add(id);
    return set;
}

inline CGroupIdSet Groups(std::initializer_list<int32_t> ids)
{
    CGroupIdSet set;
    for (int32_t id : ids)
        set.Add(id);
    return set;
}

class DocFixture : public ::testing::Test {
protected:
    void SetUp() override { m_path = m_folder.File("kb.xrd"); }
    void TearDown() override
    {
        if (m_doc)
            Close();
    }

    void Attach()
    {
        m_index.m_document = m_doc.get();
        m_doc->AddView(&m_index);
    }

    void Create()
    {
        m_doc = std::make_unique<CQuorvaneDoc>(m_host);
        Attach();
        ASSERT_TRUE(m_doc->CreateNewFile(m_path));
        m_trace.clear();
    }

    bool Open(bool readOnly = false)
    {
        m_doc = std::make_unique<CQuorvaneDoc>(m_host);
        Attach();
        m_doc->SetOpenOptions(readOnly, false);
        bool opened = m_doc->OnOpenDocument(m_path);
        // With a known password the private articles are shown again, as the user would.
        if (opened && m_unlockAfterOpen && m_doc->ArePrivateArticlesHidden())
            m_doc->UnlockPrivateArticles();
        m_trace.clear();
        return opened;
    }

    void Close()
    {
        m_doc->SaveModified();
        m_doc->DeleteContents();
        m_doc.reset();
    }

    void Reopen(bool readOnly = false)
    {
        Close();
        ASSERT_TRUE(Open(readOnly));
    }

    int32_t AddArticle(const std::string& title, const CKeywordIdSet& keywords, bool isPrivate = false,
                       int32_t date = 20240101)
    {
        CArticleRecord record;
        record.SetTitle(title);
        record.SetKeywordIds(keywords);
        record.SetDate(date);
        record.SetTime(3600);
        record.SetPrivate(isPrivate);
        return m_doc->AddArticle(record, false, false);
    }

    int32_t AddGroup(const std::string& name, const CKeywordIdSet& keywords)
    {
        CKeywordGroupRecord group;
        group.SetName(name);
        group.SetKeywordIds(keywords);
        return m_doc->AddKeywordGroup(group);
    }

    std::vector<int32_t> GroupsOf(int32_t keyword)
    {
        CGroupIdSet groups;
        m_doc->GetGroupsOfKeyword(keyword, groups);
        return groups.Values();
    }

    void UpdateKeywordsOf(int32_t article, const CKeywordIdSet& keywords)
    {
        CArticleRecord record;
        m_doc->LoadArticle(article, record);
        record.SetKeywordIds(keywords);
        m_doc->UpdateArticle(article, record, false);
    }

    std::string CheckOpenFile()
    {
        FileTables tables = ReadFileTables(m_doc->GetDataFile());
        std::string problems = CheckTableLinks(tables, false);
        CArticleIdSet all;
        m_doc->GetAllArticleIds(all);
        std::set<int32_t> ids(all.Values().begin(), all.Values().end());
        std::set<int32_t> stored;
        for (const auto& entry : tables.articleTitles)
            stored.insert(entry.first);
        if (ids != stored)
            problems += "all ids differ from the live articles without placeholders\n";
        CKeywordIdSet keywords;
        m_doc->GetAllKeywordIds(keywords);
        std::set<int32_t> keywordIds(keywords.Values().begin(), keywords.Values().end());
        std::set<int32_t> storedKeywords;
        for (const auto& entry : tables.keywordNames)
            storedKeywords.insert(entry.first);
        if (keywordIds != storedKeywords)
            problems += "keyword names differ from the keyword table\n";
        return problems;
    }

    CTempFolder m_folder;
    std::string m_path;
    CRecordingHost m_host;
    Trace m_trace;
    CRecordingIndexView m_index{m_trace};
    std::unique_ptr<CQuorvaneDoc> m_doc;
    CRecordedErrors m_errors;
    bool m_unlockAfterOpen = false;
};
