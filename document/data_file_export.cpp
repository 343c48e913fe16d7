#include "document/data_file_export.h"

#include <algorithm>
#include <new>

#include "storage/article_record.h"
#include "document/article_references.h"
#include "document/id_translation.h"
#include "document/exchange_host.h"
#include "storage/file_password.h"
#include "storage/file_system.h"
#include "document/keyed_record_copy.h"
#include "storage/keyed_record_stream.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "resources/resource.h"

namespace {

constexpr int kBookmarkedKey = 1;
constexpr int kPrivateKey = 10;
constexpr int32_t kNotExported = -1;

}  // namespace

CDataFileExport::~CDataFileExport()
{
    m_file.CloseIfOpen();
}

int32_t CDataFileExport::Lookup(const Map& map, int32_t id)
{
    auto found = std::lower_bound(map.begin(), map.end(), std::make_pair(id, INT32_MIN));
    return found != map.end() && found->first == id ? found->second : kNoneId;
}

void CDataFileExport::BuildMap(const std::vector<int32_t>& sortedIds, Map& map)
{
    map.clear();
    map.reserve(sortedIds.size());
    for (size_t i = 0; i < sortedIds.size(); ++i)
        map.push_back({sortedIds[i], static_cast<int32_t>(i)});
}

// Cancel is tested and one pending message handled before each step; the step waits until the
// queue was empty.
void CDataFileExport::BeforeStep()
{
    for (;;) {
        if (m_host.IsProgressCancelled())
            throw CQuorError(kCancelled);
        if (m_host.PumpPendingMessage() == 1)
            return;
    }
}

void CDataFileExport::ExportOne(const std::string& path, int32_t id)
{
    CArticleIdSet one;
    one.Add(id);
    Export(path, one);
}

void CDataFileExport::Export(const std::string& path, const CArticleIdSet& selected)
{
    bool created = false;
    bool progress = false;
    try {
        m_file.Create(path, 400);
        created = true;
        m_host.BeginProgress(std::string(), QuorLoadString(IDS_EXPORTING),
                             CExchangeHost::CappedRange(int64_t{m_document.GetKeywordCount()} + 2 * int64_t{selected.GetSize()} + 3));
        progress = true;
        Run(path, selected);
        progress = false;
        m_host.EndProgress();
    } catch (...) {
        if (progress)
            m_host.EndProgress();
        m_file.CloseIfOpen();
        if (created)
            DeleteFileIfExists(path);
        try {
            throw;
        } catch (const CQuorError& error) {
            error.Report();
            throw;
        } catch (const std::bad_alloc&) {
            throw CQuorError(kOutOfMemory);
        }
    }
}

void CDataFileExport::Run(const std::string& path, const CArticleIdSet& selected)
{
    std::vector<int32_t> articles = selected.Values();
    std::sort(articles.begin(), articles.end());
    bool anyPrivate = std::any_of(articles.begin(), articles.end(),
                                  [&](int32_t id) { return m_document.IsArticlePrivate(id); });
    // The same key keeps the masked fields readable with the open file's password.
    if (anyPrivate)
        m_document.CopyRecordKey(m_file);
    BuildMap(articles, m_articleMap);

    m_host.SetProgressText(QuorLoadString(IDS_BUILDING_KEYWORD_LIST));
    std::vector<int32_t> keywords;
    for (int32_t id : articles) {
        BeforeStep();
        CArticleRecord record;
        m_document.LoadArticle(id, record);
        CIdSet own;
        record.GetKeywordIds(own);
        keywords.insert(keywords.end(), own.Values().begin(), own.Values().end());
        m_host.StepProgress();
    }
    std::sort(keywords.begin(), keywords.end());
    keywords.erase(std::unique(keywords.begin(), keywords.end()), keywords.end());
    BuildMap(keywords, m_keywordMap);
    m_host.SetProgressRange(static_cast<int>(keywords.size() + 2 * articles.size() + 3));

    ExportKeywords(keywords);
    CArticleIdSet privateIds;
    ExportArticles(articles, privateIds);

    m_host.SetProgressText(QuorLoadString(IDS_EXPORTING_BOOKMARKS));
    CArticleIdSet bookmarked;
    m_document.GetBookmarkedIds(bookmarked);
    bookmarked.Intersect(selected);
    CArticleIdSet translated;
    TranslateIds(bookmarked, [&](int32_t id) { return Lookup(m_articleMap, id); }, translated);
    CKeyedRecordStream::WriteIdSet(&m_file, kBookmarkedKey, translated);
    m_host.StepProgress();

    if (privateIds.GetSize() > 0) {
        CKeyedRecordStream::WriteIdSet(&m_file, kPrivateKey, privateIds);
        if (!CopyKeyedRecordBytes(m_document.GetDataFile(), m_file, CFilePassword::kPasswordKey))
            throw CQuorError(kCorruptedRecord, m_document.GetDataFile().GetFilePath());
    }
    m_host.StepProgress();
    m_file.Flush();
    m_file.Close();
    if (privateIds.GetSize() > 0)
        m_host.Inform(QuorLoadString(IDS_EXPORTED_PRIVATE_ARTICLES), CExchangeHost::kInformation);
}

void CDataFileExport::ExportKeywords(const std::vector<int32_t>& keywords)
{
    m_host.SetProgressText(QuorLoadString(IDS_EXPORTING_KEYWORDS));
    for (int32_t id : keywords) {
        BeforeStep();
        CKeywordRecord record;
        m_document.ReadKeywordRecord(id, record);
        CIdSet articles;
        record.GetArticleIds(articles);
        CArticleIdSet kept;
        TranslateIds(articles, [&](int32_t article) { return Lookup(m_articleMap, article); }, kept);
        record.SetArticleIds(kept);
        record.SetGroupIds(CGroupIdSet());
        record.WriteNew(m_file);
        m_host.StepProgress();
    }
}

void CDataFileExport::ExportArticles(const std::vector<int32_t>& articles, CArticleIdSet& privateIds)
{
    m_host.SetProgressText(QuorLoadString(IDS_EXPORTING_ARTICLES));
    CArticleRecord record;
    record.SetKeepStamp(true);
    for (int32_t id : articles) {
        BeforeStep();
        m_document.LoadArticle(id, record);
        int32_t newId = Lookup(m_articleMap, id);
        if (record.IsPrivate())
            privateIds.Values().push_back(newId);

        CIdSet own;
        record.GetKeywordIds(own);
        CKeywordIdSet keywords;
        TranslateIds(own, [&](int32_t keyword) { return Lookup(m_keywordMap, keyword); }, keywords);
        record.SetKeywordIds(keywords);

        // Articles left out become -1: a target outside the new file.
        TranslateArticleReferences(record, [&](int32_t article) {
            int32_t mapped = Lookup(m_articleMap, article);
            return mapped == kNoneId ? kNotExported : mapped;
        });

        int32_t written = record.WriteNew(m_file);
        if (written != newId)
            throw CQuorError(kCorruptedRecord, m_file.GetFilePath());
        m_host.StepProgress();
    }
    privateIds.Sort();
}
