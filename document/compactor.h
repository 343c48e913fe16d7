// Compaction, repair and conversion of a data file: the file is rebuilt record by record into a new
// one. Deleted slots and free blocks disappear, ids are renumbered densely and every reference is
// translated from the old ids to the new ones through maps (old id as index, 0x80000001 for a record
// that was dropped; an id outside a map is dropped too). Records that cannot be read are counted and
// reported; a damaged article whose title still reads can be saved into a separate "Damaged Article"
// file. The same engine converts an older file to the current format and writes a version-3 copy.
//
// Passes, in order (each one tests Cancel and pumps messages before every record):
//   a  keyword groups (current target only)  b  keywords           c  articles
//   d  keywords into their groups (current)   e  articles into their keywords
//   f  links between articles                 g  bookmarked, private and placeholder lists
//   h  reminders (current target only)        i  keyed records copied, saved queries
//
// Untrusted input: the source may be damaged anywhere. A slot whose table entry is empty is passed
// over; a slot whose entry exists but whose record cannot be read is counted as lost (or partially
// recovered). Ids read from records are looked up in the maps only, so an id out of range, a cycle or
// a huge list maps to "dropped"; a table whose index chain breaks ends its pass with the rest of its
// claimed entries counted as lost. A full disk (code 12) ends the run.
//
// Links in both directions are rebuilt from both sides of the source: an article keeps a keyword
// when either its own record or the keyword's record names the other, and likewise for keywords and
// groups, so that the result is consistent even when the source was not.
//
// Replacing the destination is the last step, after the new file is complete and flushed: a file at
// the destination (or the old backup) is moved aside, the source becomes name.BAK when compacted
// onto itself, the new file takes the destination's name, and only then is what was moved aside
// deleted. A failed rename moves everything back, so the source never changes when a run fails or is
// cancelled.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "storage/data_file.h"
#include "document/data_file_converter.h"

class CDirectories;
class CExchangeHost;
class CArticleRecord;

class CCompactor {
public:
    enum Mode { kCompacting = 1, kConverting = 2 };

    // What a run recovered and lost; the report shows them.
    struct Counts {
        int32_t groupsRecovered = 0;
        int32_t groupsLost = 0;
        int32_t keywordsRecovered = 0;
        int32_t keywordsLost = 0;
        int32_t articlesRecovered = 0;
        int32_t damagedArticles = 0;
        int32_t articlesPartiallyRecovered = 0;
        bool listsRepaired = false;
    };

    CCompactor(CExchangeHost& host, CDirectories* directories);
    virtual ~CCompactor();
    CCompactor(const CCompactor&) = delete;
    CCompactor& operator=(const CCompactor&) = delete;

    // File > Compact: asks for the source and the destination, compacts, reports, and opens the
    // result through the host. True when the result was opened.
    bool Run();
    // Converts the older file at `path` in place. Without deleteOriginal the original stays as the
    // .BAK backup (GetReportedSourcePath). Errors are reported here; false when it failed or was
    // cancelled.
    bool Convert(const std::string& path, bool deleteOriginal);

    // The run itself, between the paths, mode and target set below. Errors other than a cancel are
    // reported here and passed on; the source never changes when it fails.
    void Compact(bool deleteOriginal, bool askUnusedKeywords, bool askUnusedGroups);
    void SetPaths(const std::string& source, const std::string& destination);
    void SetMode(int mode) { m_mode = mode; }
    // 400 (the default) or 300.
    void SetTargetVersion(int version) { m_targetVersion = version; }

    const Counts& GetCounts() const { return m_counts; }
    const std::string& GetReportedSourcePath() const { return m_reportedSourcePath; }
    const std::string& GetDamagedArticlePath() const { return m_damagedPath; }
    // The Damaged File Report's text for the last run.
    std::string BuildReport() const;
    // True when the last run lost or repaired anything, so that the report is due.
    bool NeedsReport() const;

protected:
    // Renames a closed file; false when it could not be done. Tests replace it to fail on purpose.
    virtual bool MoveFile(const std::string& from, const std::string& to);

private:
    // What the later passes need of a keyword or group written earlier.
    struct KeywordCopy {
        std::string name;
        std::vector<int32_t> groups;    // new ids, final
        std::vector<int32_t> articles;  // new ids, filled by the article pass
    };
    struct GroupCopy {
        std::vector<int32_t> keywords;  // new ids, filled by the keyword pass
    };

    void OpenSource();
    void CreateDestination(const std::string& temporary);
    // Tests Cancel and handles pending messages before a record.
    void BeforeRecord();
    void TransferGroups(bool askUnused);
    void TransferKeywords(bool askUnused);
    void TransferArticles();
    void CleanArticle(CArticleRecord& record);
    void SaveDamagedArticle(int32_t slot);
    void AssignKeywordsToGroups();
    void AssignArticlesToKeywords();
    void AdjustLinks();
    void TransferLists();
    void TransferReminders();
    void CopyKeyedRecords();
    void CopySavedQueries();
    void ReplaceDestination(const std::string& temporary, bool deleteOriginal);
    std::string SideName(const std::string& path) const;
    void CloseFiles();
    void CloseDamagedFile();
    void ShowOutcome();

    CExchangeHost& m_host;
    CDirectories* m_directories;
    int m_mode = kCompacting;
    int m_targetVersion = 400;
    int m_sourceVersion = 0;
    bool m_askRtfTags = true;
    bool m_removeRtfTags = true;
    bool m_damagedAsked = false;
    Counts m_counts;
    std::string m_sourcePath;
    std::string m_destinationPath;
    std::string m_reportedSourcePath;
    std::string m_damagedPath;
    CDataFile m_source;
    CDataFile m_destination;
    CDataFile m_damaged;

    // Old id (index) to new id, none for dropped.
    std::vector<int32_t> m_groupMap;
    std::vector<int32_t> m_keywordMap;
    std::vector<int32_t> m_articleMap;
    // What the later passes need of the records written earlier, by new id.
    std::vector<std::unique_ptr<KeywordCopy>> m_keywords;
    std::vector<std::unique_ptr<GroupCopy>> m_groups;
    // The group side of the links between keywords and groups: (old keyword, new group), sorted.
    std::vector<std::pair<int32_t, int32_t>> m_groupLinks;
    // Old article id to the new keyword ids whose source keyword record lists it (the keyword side of
    // the links), as offsets into one array.
    std::vector<int32_t> m_listedStart;
    std::vector<int32_t> m_listedKeywords;
    // New article ids that link to other articles, and the private and placeholder ones.
    std::vector<int32_t> m_linkingArticles;
    CArticleIdSet m_privateArticles;
    CArticleIdSet m_placeholderArticles;
};

// The document's converter of older files, over a compactor run for each conversion.
class CCompactingConverter : public IDataFileConverter {
public:
    CCompactingConverter(CExchangeHost& host, CDirectories* directories) : m_host(host), m_directories(directories) {}
    std::string Convert(const std::string& path, bool keepBackup) override;

private:
    CExchangeHost& m_host;
    CDirectories* m_directories;
};
