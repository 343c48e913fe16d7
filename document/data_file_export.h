// Export of chosen articles of the open knowledge base into a new data file of the current version,
// with the keywords they use, their part of the bookmarked list and, when private articles are among
// them, the private list and the password. Ids are renumbered densely: an exported article's new id is
// its position in the ascending list of the chosen ids, a keyword's its position in the ascending list
// of the keyword ids those articles use (maps of sorted {old, new} pairs, looked up by binary search).
// A link to an article that was not exported gets the target -1. The new file gets no keyword groups,
// saved queries, reminders, per-file settings, headers or footers.
//
// A failure or a cancel removes the new file, so that no half-written file is left behind; a failed
// copy of the password record is a failure too, since the private articles written under the file's
// key could otherwise never be opened.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "storage/data_file.h"
#include "storage/id_set.h"

class CExchangeHost;
class CQuorvaneDoc;

class CDataFileExport {
public:
    CDataFileExport(CQuorvaneDoc& document, CExchangeHost& host) : m_document(document), m_host(host) {}
    virtual ~CDataFileExport();
    CDataFileExport(const CDataFileExport&) = delete;
    CDataFileExport& operator=(const CDataFileExport&) = delete;

    // The whole export. Errors other than a cancel are reported here; every error passes on.
    void Export(const std::string& path, const CArticleIdSet& selected);
    void ExportOne(const std::string& path, int32_t id);

private:
    using Map = std::vector<std::pair<int32_t, int32_t>>;
    static int32_t Lookup(const Map& map, int32_t id);
    static void BuildMap(const std::vector<int32_t>& sortedIds, Map& map);
    void BeforeStep();
    void Run(const std::string& path, const CArticleIdSet& selected);
    void ExportKeywords(const std::vector<int32_t>& keywords);
    void ExportArticles(const std::vector<int32_t>& articles, CArticleIdSet& privateIds);

    CQuorvaneDoc& m_document;
    CExchangeHost& m_host;
    Map m_articleMap;
    Map m_keywordMap;
    CDataFile m_file;
};
