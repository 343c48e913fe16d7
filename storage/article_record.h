// One article in memory, read from and written to entry n of table 1 (n is the article id).
//
// New layout (files from version 300; rich-text records, and every private record):
//   sized int16  type 0x812C (bit 15 + 300)
//   int32        header length, 32
//   32 bytes     header:
//                  offset 0   int16 record version (6; 4 for a plain-text article)
//                  offset 2   int32 header value
//                  offset 6   int16 flags
//                  offset 8   int32 created date     offset 12  int32 created time
//                  offset 16  int32 modified date    offset 20  int32 modified time
//                  offset 24  int32 article date     offset 28  int32 article time
//   packed       title                                  (taken when the version is above 0)
//   id set       keyword ids                            (above 1)
//   sized int16  attachment count, then each link target (above 2)
//   packed       content: the RTF, or the plain text of a version-4 article (above 3)
//   info, new form                                      (above 4)
//   link ranges                                         (above 5)
// Packed fields use the mode of the flags' bits 0-1 (3 for a private article, else 0), 3 for every
// article under protect-all. A longer header is read as 32 bytes and the rest skipped; a shorter one
// leaves the fields it does not cover reset. A type with bit 15 other than 0x812C is corruption.
//
// Old layout (files below version 300 and plain-text records; version 4, or 9 for any rich text):
//   1 sized int16 record version   2 sized int32 article date   3 string title
//   4 string plain text            5 id set keyword ids
//   version 9 only: 6 info part 1; 7 sized int16 attachment count and each target (mode 0);
//                   8 string legacy text; 9 string content; 10 info part 2
// A reader takes field k (counting from the article date as 1) when the stored version is at least k.
//
// Dates are yyyymmdd, times seconds since midnight; 0x80000001 is unset. After every read the unset
// ones are filled: article time 0, created and modified from the article's own date and time. A stored
// time outside 0 to 86399 counts as unset.
#pragma once
#include <cstdint>
#include <string>

#include "storage/article_info.h"
#include "storage/id_set.h"
#include "storage/link_range_list.h"
#include "storage/link_target.h"

class CDataFile;
class CRecordStream;

class CArticleRecord {
public:
    enum Flags : int16_t {
        kPrivateBits = 0x03,     // also the packed-field mode of the record
        kPrivate = 0x02,         // the bit IsPrivate tests
        kTracked = 0x04,         // deleting leaves a placeholder
        kTrackedSaved = 0x08,    // set when a tracked article is saved, and on placeholders
        kPlaceholder = 0x10,
        kHasLinksKnown = 0x40,
        kHasLinks = 0x80,
    };
    enum DateKind { kOwnDate = 0, kCreatedDate = 1, kModifiedDate = 2 };
    static constexpr int16_t kPlainTextVersion = 4;
    static constexpr int16_t kOldRichTextVersion = 9;
    static constexpr int16_t kNewLayoutVersion = 6;
    static constexpr int16_t kNewLayoutType = static_cast<int16_t>(0x812C);

    CArticleRecord() { Reset(); }
    virtual ~CArticleRecord() = default;

    // Resets, then reads entry id of table 1. On failure the texts, keyword ids, attachments and
    // links are emptied (the header keeps what was read) and the error passes on.
    void Read(CDataFile& file, int32_t id);
    // What the title index needs (header, title, attachments; links when the has-links bit is not
    // known yet, the text before them passed over and not kept), without resetting first.
    void ReadSummary(CDataFile& file, int32_t id);
    // New table-1 record; returns its id.
    int32_t WriteNew(CDataFile& file);
    // Writes over entry id.
    void Write(CDataFile& file, int32_t id);
    // A new record at entry id (compaction).
    void WriteNewAt(CDataFile& file, int32_t id);
    // Untracked articles (or force): true, the caller deletes the entry. Tracked ones are replaced by
    // a placeholder that keeps the created date and time and the flags, with bits 3 and 4 set.
    bool ReplaceByPlaceholder(CDataFile& file, int32_t id, bool force);

    // The stored form, for streams opened elsewhere. WriteTo stamps the modified date and time before
    // a new-layout write, and refuses (code 48) masked fields while the file has no record key.
    void ReadFrom(CRecordStream& stream);
    void ReadSummaryFrom(CRecordStream& stream);
    void WriteTo(CRecordStream& stream);
    bool UsesOldLayout(const CDataFile& file) const;
    // Bytes an old-layout record takes, for reserving its blocks.
    int32_t GetOldLayoutSize() const;

    void Reset();

    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }
    const std::string& GetText() const { return m_plainText; }
    void SetText(const std::string& text) { m_plainText = text; }
    const std::string& GetRtfText() const { return m_content; }
    void SetRtfText(const std::string& rtf) { m_content = rtf; }
    const std::string& GetLegacyText() const { return m_legacyText; }
    void SetLegacyText(const std::string& text) { m_legacyText = text; }
    void GetKeywordIds(CIdSet& set) const;  // sorted copy
    void SetKeywordIds(const CIdSet& set) { m_keywordIds.Copy(set); }

    int16_t GetVersion() const { return m_version; }
    void SetRichTextVersion();  // a plain-text record (4) becomes 9
    void SetPlainTextVersion() { m_version = kPlainTextVersion; }
    int32_t GetHeaderValue() const { return m_headerValue; }
    void SetHeaderValue(int32_t value) { m_headerValue = value; }
    int16_t GetFlags() const { return m_flags; }
    void SetFlags(int16_t flags) { m_flags = flags; }

    const CArticleInfo& GetInfo() const { return m_info; }
    void SetInfo(const CArticleInfo& info) { m_info = info; }
    const CAttachmentArray& GetAttachments() const { return m_attachments; }
    void SetAttachments(const CAttachmentArray& attachments) { m_attachments.Copy(attachments); }
    int AddAttachment(const CLinkTarget& target) { return m_attachments.Add(target); }
    int GetAttachmentCount() const { return m_attachments.GetSize(); }
    // Kind 0 clears the attachments; otherwise adds the target when there is none, else overwrites the
    // first.
    void SetMainAttachment(const CLinkTarget& target);
    const CLinkRangeList& GetLinks() const { return m_links; }
    void SetLinks(const CLinkRangeList& links);
    bool HasLinks() const { return (m_flags & kHasLinks) != 0; }
    void SetHasLinks(bool on);

    void SetDate(int32_t date) { m_date = date; }
    void SetTime(int32_t time) { m_time = time; }
    int32_t GetDateOf(int kind) const;
    int32_t GetTimeOf(int kind) const;
    void SetCreated(int32_t date, int32_t time);
    void CopyCreated(const CArticleRecord& other) { SetCreated(other.m_createdDate, other.m_createdTime); }

    void SetPrivate(bool on);
    bool IsPrivate() const { return (m_flags & kPrivate) != 0; }
    void MergeTrackFlags(const CArticleRecord& other);
    bool IsPlaceholder() const { return (m_flags & kPlaceholder) != 0; }
    bool IsTracked() const { return (m_flags & kTracked) != 0; }
    void ClearTrackFlags();
    // Copies between data files keep the stored modified date and time and the flags: writes then
    // stamp nothing. Reset leaves this choice alone.
    void SetKeepStamp(bool on) { m_keepStamp = on; }

private:
    int PackedMode() const;
    void ClearBody();
    void FillUnsetDates();
    void Stamp();
    void ReadHeader(CRecordStream& stream);
    void WriteHeader(CRecordStream& stream, int16_t version) const;
    void ReadAttachments(CRecordStream& stream);
    void WriteAttachments(CRecordStream& stream, int mode) const;
    void ReadNewLayout(CRecordStream& stream);
    void ReadOldLayout(CRecordStream& stream, int16_t version);
    void WriteNewLayout(CRecordStream& stream);
    void WriteOldLayout(CRecordStream& stream);
    template <typename Open>
    void Write(CDataFile& file, Open&& open, int32_t* id);

    // The 32-byte header.
    int16_t m_version;
    int32_t m_headerValue;
    int16_t m_flags;
    int32_t m_createdDate, m_createdTime;
    int32_t m_modifiedDate, m_modifiedTime;
    int32_t m_date, m_time;

    CLinkRangeList m_links;
    CAttachmentArray m_attachments;
    CArticleInfo m_info;
    std::string m_legacyText;
    std::string m_content;
    std::string m_title;
    std::string m_plainText;
    CKeywordIdSet m_keywordIds;
    bool m_keepStamp = false;
};
