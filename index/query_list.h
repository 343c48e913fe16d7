// The saved queries of the open data file: named query texts with date ranges, in the order they
// were added, and a most-recently-used list of at most 20 entry indexes that orders the Saved
// Queries menu. The document owns one, loads it from keyed record 8 when it opens the data file and
// writes it back when it has changed.
//
// Invariant: every index in the recent list is below GetCount() and occurs once; the list holds at
// most kMaxRecent indexes, and after a removal it is topped up to min(kMaxRecent, GetCount()).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "index/current_query.h"

class CDataFile;
class CRecordStream;

struct SavedQuery {
    std::string name;  // compared without regard to case
    std::string text;
    int32_t from = CCurrentQuery::kOpenFrom;
    int32_t to = CCurrentQuery::kOpenTo;
};

class CQueryList {
public:
    static constexpr int kMaxRecent = 20;

    CQueryList() = default;
    virtual ~CQueryList() = default;

    // Appends an entry and puts it first in the recent list; returns its index.
    int Add(const std::string& name, const std::string& text, int32_t from, int32_t to);
    // Removes an entry (nothing for an index out of range); later indexes move down by one.
    void Remove(int index);
    // The first entry named `name` without regard to case, or -1.
    int FindByName(const std::string& name) const;

    // False for an index out of range (the outputs are left alone).
    bool GetAt(int index, std::string& name, std::string& text, int32_t& from, int32_t& to) const;
    void GetName(int index, std::string& name) const;
    void SetName(int index, const std::string& name);
    void SetQuery(int index, const std::string& text, int32_t from, int32_t to);
    int GetCount() const { return static_cast<int>(m_entries.size()); }

    int GetRecentCount() const { return static_cast<int>(m_recent.size()); }
    // The entry index at `position` of the recent list, or -1.
    int GetRecentIndex(int position) const;
    void MoveToFront(int index);
    void GetRecentNames(std::vector<std::string>& names) const;
    bool GetRecentAt(int position, std::string& text, int32_t& from, int32_t& to) const;
    void TouchRecent(int position);

    // Renames in every saved text, as the current query does; texts only, nothing is compiled.
    void RewriteKeywordInAll(const std::string& oldName, const std::string& newName);
    void RewriteGroupInAll(const std::string& oldName, const std::string& newName);

    void RemoveAll();
    bool IsModified() const { return m_modified; }

    // The body of keyed record 8 (see query_list_record.cpp). ReadFrom replaces the list; its stream
    // errors pass on (the list is then empty). WriteTo uses the layout of a data file of version
    // `fileVersion`.
    void ReadFrom(CRecordStream& stream);
    void WriteTo(CRecordStream& stream, int fileVersion) const;

    // Keyed record 8 of `file`. Load replaces the list; a missing or damaged record (code 5) gives an
    // empty list and no error, any other error empties the list and passes on. Save writes the list
    // in the layout of the file's version while the file is open for writing (else nothing, and the
    // list stays modified) and clears the modified flag; SaveIfModified saves only a changed list.
    void Load(CDataFile& file);
    void Save(CDataFile& file);
    void SaveIfModified(CDataFile& file);

private:
    void Rewrite(bool group, const std::string& oldName, const std::string& newName);
    void TopUpRecent();
    void ReadEntries(CRecordStream& stream);

    std::vector<SavedQuery> m_entries;
    std::vector<int> m_recent;  // entry indexes, most recent first
    bool m_modified = false;
};
