// Keyword and keyword-group records.
//
// A keyword is entry k of table 0 (k is its id); a keyword group entry g of table 3. Stored keyword
// record, by the data file's version (field encodings of record_stream.h):
//   version      fields in order
//   below 300    sized int16 type 2;      string name;        id set article ids
//   300 to 399   sized int16 type 0x8002; packed name (mode 0); id set article ids
//   400 and up   sized int16 type 0x8003; packed name (mode 0); id set article ids; id set group ids
// Bit 15 of the type says the name is packed; the low 15 bits are the layout (2 without group ids,
// 3 with them). Layout 3 is accepted only in files of version 400 and up.
//
// Stored keyword-group record (every version): sized int16 type 3; packed name (mode 0); int32
// number; id set keyword ids. Readers look only at the low 15 bits of the type.
//
// Under protect-all the packed names are masked (mode 3), which needs the file's record key.
#pragma once
#include <cstdint>
#include <string>

#include "storage/id_set.h"

class CDataFile;
class CRecordStream;

class CKeywordRecord {
public:
    virtual ~CKeywordRecord() = default;

    // Reads entry id of table 0. Code 56 for a type that the file's version does not accept. On any
    // error the name and the article ids are emptied and the error passes on.
    void Read(CDataFile& file, int32_t id);
    // Writes a new table-0 record (layout by the file's version) and returns its id.
    int32_t WriteNew(CDataFile& file);
    // Writes over entry id.
    void Write(CDataFile& file, int32_t id);

    // The stored fields, for streams opened elsewhere (layout by the stream's data file).
    void ReadFrom(CRecordStream& stream);
    void WriteTo(CRecordStream& stream) const;
    // Bytes the record takes, for reserving its blocks.
    int32_t GetStoredSize() const;

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    // Copies, sorted ascending.
    void GetArticleIds(CIdSet& set) const;
    void SetArticleIds(const CIdSet& set) { m_articleIds.Copy(set); }
    int GetArticleCount() const { return m_articleIds.GetSize(); }
    // One article in or out of the list, without copying it; true when the list changed.
    bool AddArticleId(int32_t article);
    bool RemoveArticleId(int32_t article);

    // Adds an article id larger than every id of keyword `id`'s stored list by writing only what
    // changes: the list's byte count, the new id and the group ids behind it. The file ends up as
    // reading, adding and rewriting the whole record would leave it. kRewriteWhole when that
    // shortcut does not apply (a smaller id, a record not in the form this program writes, an
    // older file, protect-all or an unreadable record): the caller takes the general path.
    enum AppendResult { kAppended, kAlreadyLast, kRewriteWhole };
    static AppendResult AppendArticleId(CDataFile& file, int32_t id, int32_t article);
    void GetGroupIds(CIdSet& set) const;
    void SetGroupIds(const CIdSet& set) { m_groupIds.Copy(set); }

private:
    CGroupIdSet m_groupIds;
    CArticleIdSet m_articleIds;
    std::string m_name;
};

class CKeywordGroupRecord {
public:
    virtual ~CKeywordGroupRecord() = default;

    // Reads entry id of table 3; code 56 unless the type's low 15 bits are 3. On any error the name
    // and the keyword ids are emptied and the error passes on.
    void Read(CDataFile& file, int32_t id);
    // The type check and the name only.
    void ReadName(CDataFile& file, int32_t id);
    int32_t WriteNew(CDataFile& file);
    // Writes over entry id.
    void Write(CDataFile& file, int32_t id);

    void ReadFrom(CRecordStream& stream, bool nameOnly = false);
    void WriteTo(CRecordStream& stream) const;
    int32_t GetStoredSize() const;

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    int32_t GetNumber() const { return m_number; }
    void SetNumber(int32_t number) { m_number = number; }
    void GetKeywordIds(CIdSet& set) const;
    void SetKeywordIds(const CIdSet& set) { m_keywordIds.Copy(set); }

private:
    int32_t m_number = 0;
    CKeywordIdSet m_keywordIds;
    std::string m_name;
};
