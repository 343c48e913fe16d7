// Import of another data file into the open knowledge base: its keyword groups and keywords are
// matched by name (without regard to case, first match) with the open file's and created when
// missing, its articles are added as new ones with their keyword, group, bookmark and link
// references translated to the open file's ids, and its saved queries are appended. Plain-text
// articles become rich text in the other file's default font. The articles added join the import
// batch, so that Undo Import takes them back.
//
// Maps: slot of the other file's table (index) to the id in the open file, 0x80000001 when not
// imported; an index outside a map gives 0x80000001. Names are looked up in a table built once from
// the open file's names, so that no pass scans the open file's keywords for each record.
//
// The other file is untrusted: it is opened read-only, a record that cannot be read is passed over,
// and every id read from it is looked up in the maps only.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/data_file.h"
#include "document/exchange_host.h"
#include "storage/id_set.h"

class CAppSettings;
class CArticleRecord;
class CQuorvaneDoc;

class CDataFileImport {
public:
    // `settings` (may be null) gives the defaults of the per-file settings the other file lacks.
    CDataFileImport(CQuorvaneDoc& document, CExchangeHost& host, const CAppSettings* settings)
        : m_document(document), m_host(host), m_settings(settings)
    {
    }
    virtual ~CDataFileImport();
    CDataFileImport(const CDataFileImport&) = delete;
    CDataFileImport& operator=(const CDataFileImport&) = delete;

    // The whole import; errors are reported here and not passed on. False when it ended on an error
    // (what was already added stays).
    bool Import(const std::string& path, const CKeywordIdSet& extraKeywords);

    int GetImportedCount() const { return m_imported; }

private:
    void Run(const std::string& path, const CKeywordIdSet& extraKeywords);
    void ReadOtherSettings();
    void TransferQueries();
    void TransferGroups();
    void TransferKeywords();
    template <class Record, class ReadRecord, class Add, class Each>
    void TransferByName(int table, const std::vector<int32_t>& ownIds, const std::function<std::string(int32_t)>& ownName,
                        ReadRecord read, Add add, std::vector<int32_t>& map, Each each);
    void TransferArticles(const CKeywordIdSet& extraKeywords);
    bool KeepPrivate();
    void UpdateLinks();
    // Tests Stop/Cancel (true when pressed) after handling one pending message.
    bool BeforeRecord();
    static int32_t Lookup(const std::vector<int32_t>& map, int32_t id);
    static std::string NameKey(const std::string& name);

    CQuorvaneDoc& m_document;
    CExchangeHost& m_host;
    const CAppSettings* m_settings;
    CDataFile m_other;
    std::vector<int32_t> m_groupMap;
    std::vector<int32_t> m_keywordMap;
    std::vector<int32_t> m_articleMap;
    CArticleIdSet m_bookmarked;
    ExchangeCharFormat m_charFormat;
    int32_t m_wordWrap = 0;
    // 0 not asked yet, 1 keep private articles private, 2 make them public.
    int m_privateChoice = 0;
    int m_imported = 0;
};
