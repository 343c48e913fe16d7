// An independent reader of a data file's tables: it walks the keyword, article and keyword-group
// tables record by record and checks that both sides of every link agree, without asking the
// document anything.
#pragma once
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "storage/article_record.h"
#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"

struct FileTables {
    std::map<int32_t, std::string> keywordNames;
    std::map<int32_t, std::set<int32_t>> articlesOfKeyword;
    std::map<int32_t, std::set<int32_t>> groupsOfKeyword;
    std::map<int32_t, std::string> articleTitles;
    std::map<int32_t, std::set<int32_t>> keywordsOfArticle;
    std::set<int32_t> privateArticles;
    std::map<int32_t, std::string> groupNames;
    std::map<int32_t, std::set<int32_t>> keywordsOfGroup;
    std::set<int32_t> placeholders;
    std::set<int32_t> bookmarked;
    std::set<int32_t> privateList;
};

inline std::set<int32_t> ReadKeyedIds(CDataFile& file, int key)
{
    CArticleIdSet ids;
    try {
        CKeyedRecordStream::ReadIdSet(&file, key, ids);
    } catch (const CQuorError& error) {
        if (error.Code() != kCorruptedRecord)
            throw;
    }
    return std::set<int32_t>(ids.Values().begin(), ids.Values().end());
}

inline FileTables ReadFileTables(CDataFile& file)
{
    FileTables tables;
    for (int32_t id = 0; id < file.GetTableCount(CDataFile::kKeywordTable); ++id) {
        if (file.GetEntry(CDataFile::kKeywordTable, id) == kNoneId)
            continue;
        CKeywordRecord record;
        record.Read(file, id);
        tables.keywordNames[id] = record.GetName();
        CArticleIdSet articles;
        record.GetArticleIds(articles);
        tables.articlesOfKeyword[id].insert(articles.Values().begin(), articles.Values().end());
        CGroupIdSet groups;
        record.GetGroupIds(groups);
        tables.groupsOfKeyword[id].insert(groups.Values().begin(), groups.Values().end());
    }
    tables.placeholders = ReadKeyedIds(file, 12);
    tables.bookmarked = ReadKeyedIds(file, 1);
    tables.privateList = ReadKeyedIds(file, 10);
    for (int32_t id = 0; id < file.GetTableCount(CDataFile::kArticleTable); ++id) {
        if (file.GetEntry(CDataFile::kArticleTable, id) == kNoneId || tables.placeholders.count(id))
            continue;
        CArticleRecord record;
        record.Read(file, id);
        tables.articleTitles[id] = record.GetTitle();
        CKeywordIdSet keywords;
        record.GetKeywordIds(keywords);
        tables.keywordsOfArticle[id].insert(keywords.Values().begin(), keywords.Values().end());
        if (record.IsPrivate())
            tables.privateArticles.insert(id);
    }
    for (int32_t id = 0; id < file.GetTableCount(CDataFile::kGroupTable); ++id) {
        if (file.GetEntry(CDataFile::kGroupTable, id) == kNoneId)
            continue;
        CKeywordGroupRecord record;
        record.Read(file, id);
        tables.groupNames[id] = record.GetName();
        CKeywordIdSet keywords;
        record.GetKeywordIds(keywords);
        tables.keywordsOfGroup[id].insert(keywords.Values().begin(), keywords.Values().end());
    }
    return tables;
}

// An empty text when every link holds both ways, else the first break found.
inline std::string CheckTableLinks(const FileTables& t, bool checkKeyedLists)
{
    std::ostringstream out;
    for (const auto& [article, keywords] : t.keywordsOfArticle)
        for (int32_t keyword : keywords)
            if (!t.articlesOfKeyword.count(keyword) || !t.articlesOfKeyword.at(keyword).count(article))
                out << "article " << article << " names keyword " << keyword << " which does not list it\n";
    for (const auto& [keyword, articles] : t.articlesOfKeyword)
        for (int32_t article : articles)
            if (!t.keywordsOfArticle.count(article) || !t.keywordsOfArticle.at(article).count(keyword))
                out << "keyword " << keyword << " lists article " << article << " which does not name it\n";
    for (const auto& [keyword, groups] : t.groupsOfKeyword)
        for (int32_t group : groups)
            if (!t.keywordsOfGroup.count(group) || !t.keywordsOfGroup.at(group).count(keyword))
                out << "keyword " << keyword << " names group " << group << " which does not list it\n";
    for (const auto& [group, keywords] : t.keywordsOfGroup)
        for (int32_t keyword : keywords)
            if (!t.groupsOfKeyword.count(keyword) || !t.groupsOfKeyword.at(keyword).count(group))
                out << "group " << group << " lists keyword " << keyword << " which does not name it\n";
    if (checkKeyedLists) {
        for (int32_t id : t.bookmarked)
            if (!t.articleTitles.count(id))
                out << "bookmark " << id << " names no article\n";
        if (t.privateList != t.privateArticles)
            out << "the private list differs from the private articles\n";
    }
    return out.str();
}
