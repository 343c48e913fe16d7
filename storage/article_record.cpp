#include "storage/article_record.h"

#include <cstring>

#include "storage/byte_order.h"
#include "storage/data_file.h"
#include "storage/date.h"
#include "storage/quor_error.h"
#include "storage/record_key_guard.h"
#include "storage/record_reader.h"
#include "storage/record_stream.h"

namespace {

constexpr int32_t kUnset = kNoneId;
constexpr int32_t kHeaderLength = 32;

// A time of day read from the file: anything outside 0 to 86399 counts as unset.
int32_t CheckedTime(int32_t time) { return IsValidTimeOfDay(time) ? time : kUnset; }

}  // namespace

// ---- state --------------------------------------------------------------------------------------

void CArticleRecord::ClearBody()
{
    m_title.clear();
    m_plainText.clear();
    m_keywordIds.RemoveAll();
    m_attachments.RemoveAll();
    m_legacyText.clear();
    m_content.clear();
    m_links.RemoveAll();
}

void CArticleRecord::Reset()
{
    ClearBody();
    m_version = kNewLayoutVersion;
    m_headerValue = kNoneId;
    m_flags = 0;
    m_createdDate = m_createdTime = kUnset;
    m_modifiedDate = m_modifiedTime = kUnset;
    m_date = m_time = kUnset;
}

void CArticleRecord::FillUnsetDates()
{
    m_createdTime = CheckedTime(m_createdTime);
    m_modifiedTime = CheckedTime(m_modifiedTime);
    m_time = CheckedTime(m_time);
    if (m_time == kUnset) m_time = 0;
    if (m_createdDate == kUnset) m_createdDate = m_date;
    if (m_createdTime == kUnset) m_createdTime = m_time;
    if (m_modifiedDate == kUnset) m_modifiedDate = m_date;
    if (m_modifiedTime == kUnset) m_modifiedTime = m_time;
}

void CArticleRecord::Stamp()
{
    if (m_keepStamp) return;
    int32_t today = GetTodayYmd();
    int32_t now = GetTimeOfDay();
    if (m_createdDate == kUnset) m_createdDate = today;
    if (m_createdTime == kUnset) m_createdTime = now;
    m_modifiedDate = today;
    m_modifiedTime = now;
    if (m_flags & kTracked) m_flags |= kTrackedSaved;
}

int CArticleRecord::PackedMode() const
{
    // A private article is always masked, whichever of its two private bits survived.
    return IsPrivate() ? 3 : (m_flags & kPrivateBits);
}

bool CArticleRecord::UsesOldLayout(const CDataFile& file) const
{
    if (file.GetVersion() < 300)
        return true;
    if (m_version >= 5)
        return false;
    // A plain-text article stays in the old layout unless that would lose something: the old layout
    // has no flags (a private article would be stored unmasked), writes every string as it stands
    // (protect-all would leave it readable without the password), and has no attachments and no
    // time. Then it is written in the new layout and keeps version 4.
    bool hasTime = m_time != 0 && m_time != kNoneId;
    return !IsPrivate() && !file.IsProtectAll() && m_attachments.GetSize() == 0 && !hasTime;
}

// ---- accessors ----------------------------------------------------------------------------------

void CArticleRecord::GetKeywordIds(CIdSet& set) const
{
    set.Copy(m_keywordIds);
    set.Sort();
}

void CArticleRecord::SetRichTextVersion()
{
    if (m_version == kPlainTextVersion) m_version = kOldRichTextVersion;
}

void CArticleRecord::SetMainAttachment(const CLinkTarget& target)
{
    if (target.GetKind() == CLinkTarget::kNone) {
        m_attachments.RemoveAll();
    } else if (m_attachments.GetSize() == 0) {
        if (m_attachments.Add(target) < 0) throw CQuorError(kOutOfMemory);
    } else {
        m_attachments.SetAt(0, target);
    }
}

void CArticleRecord::SetLinks(const CLinkRangeList& links)
{
    m_links.Copy(links);
    SetHasLinks(m_links.GetCount() > 0);
}

void CArticleRecord::SetHasLinks(bool on)
{
    m_flags |= kHasLinksKnown;
    m_flags = on ? (m_flags | kHasLinks) : (m_flags & ~kHasLinks);
}

int32_t CArticleRecord::GetDateOf(int kind) const
{
    return kind == kCreatedDate ? m_createdDate : kind == kModifiedDate ? m_modifiedDate : m_date;
}

int32_t CArticleRecord::GetTimeOf(int kind) const
{
    return kind == kCreatedDate ? m_createdTime : kind == kModifiedDate ? m_modifiedTime : m_time;
}

void CArticleRecord::SetCreated(int32_t date, int32_t time)
{
    m_createdDate = date;
    m_createdTime = time;
}

void CArticleRecord::SetPrivate(bool on)
{
    m_flags = on ? (m_flags | kPrivateBits) : (m_flags & ~kPrivateBits);
}

void CArticleRecord::MergeTrackFlags(const CArticleRecord& other)
{
    m_flags |= other.m_flags & (kTracked | kTrackedSaved | kPlaceholder);
}

void CArticleRecord::ClearTrackFlags()
{
    m_flags &= ~(kTracked | kTrackedSaved | kPlaceholder);
}

// ---- reading ------------------------------------------------------------------------------------

void CArticleRecord::ReadHeader(CRecordStream& stream)
{
    int32_t length = stream.ReadInt();
    if (length < 0) throw CQuorError(kCorruptedRecord, stream.GetFilePath());
    uint8_t header[kHeaderLength] = {};
    int32_t n = length < kHeaderLength ? length : kHeaderLength;
    int code = stream.ReadRaw(header, n);
    if (code != 0) throw CQuorError(code, stream.GetFilePath());
    if (length > n) stream.Skip(length - n);
    // Only the fields the stored header covers whole are taken.
    if (n >= 2) m_version = LoadLeInt16(header);
    if (n >= 6) m_headerValue = LoadLeInt32(header + 2);
    if (n >= 8) m_flags = LoadLeInt16(header + 6);
    int32_t* const dates[] = {&m_createdDate, &m_createdTime, &m_modifiedDate,
                              &m_modifiedTime, &m_date, &m_time};
    for (int i = 0; i < 6; ++i)
        if (n >= 12 + 4 * i) *dates[i] = LoadLeInt32(header + 8 + 4 * i);
}

void CArticleRecord::WriteHeader(CRecordStream& stream, int16_t version) const
{
    stream.WriteInt(kHeaderLength);
    stream.WriteShort(version);
    stream.WriteInt(m_headerValue);
    stream.WriteShort(m_flags);
    for (int32_t value : {m_createdDate, m_createdTime, m_modifiedDate, m_modifiedTime, m_date, m_time})
        stream.WriteInt(value);
}

void CArticleRecord::ReadAttachments(CRecordStream& stream)
{
    int16_t count = stream.ReadSizedShort();
    if (count < 0) throw CQuorError(kCorruptedRecord, stream.GetFilePath());
    m_attachments.RemoveAll();
    for (int i = 0; i < count; ++i) {
        CLinkTarget target;
        target.ReadFrom(stream);
        if (m_attachments.Add(target) < 0) throw CQuorError(kOutOfMemory);
    }
}

void CArticleRecord::WriteAttachments(CRecordStream& stream, int mode) const
{
    stream.WriteSizedShort(static_cast<int16_t>(m_attachments.GetSize()));
    for (int i = 0; i < m_attachments.GetSize(); ++i) m_attachments.Item(i)->WriteTo(stream, mode);
}

void CArticleRecord::ReadNewLayout(CRecordStream& stream)
{
    ReadHeader(stream);
    FillUnsetDates();
    // Field k is present when the stored version is above k - 3.
    if (m_version > 0) m_title = stream.ReadPackedString();
    if (m_version > 1) stream.ReadIdSet(m_keywordIds);
    if (m_version > 2) ReadAttachments(stream);
    if (m_version > 3) (m_version <= kPlainTextVersion ? m_plainText : m_content) = stream.ReadPackedString();
    if (m_version > 4) m_info.ReadNewForm(stream);
    if (m_version > 5) m_links.ReadFrom(stream);
}

void CArticleRecord::ReadOldLayout(CRecordStream& stream, int16_t version)
{
    m_version = version;
    if (version >= 1) m_date = stream.ReadSizedInt();
    if (version >= 2) m_title = stream.ReadString();
    if (version >= 3) m_plainText = stream.ReadString();
    if (version >= 4) stream.ReadIdSet(m_keywordIds);
    if (version >= 5) m_info.ReadOldPart1(stream);
    if (version >= 6) ReadAttachments(stream);
    if (version >= 7) m_legacyText = stream.ReadString();
    if (version >= 8) m_content = stream.ReadString();
    if (version >= 9) m_info.ReadOldPart2(stream);
    FillUnsetDates();
}

void CArticleRecord::ReadFrom(CRecordStream& stream)
{
    Reset();
    try {
        int16_t type = stream.ReadSizedShort();
        if (type == kNewLayoutType)
            ReadNewLayout(stream);
        else if (type < 0)  // bit 15 with another layout: nothing this program can read or keep
            throw CQuorError(kCorruptedRecord, stream.GetFilePath());
        else
            ReadOldLayout(stream, type);
    } catch (...) {
        ClearBody();
        throw;
    }
}

void CArticleRecord::ReadSummaryFrom(CRecordStream& stream)
{
    int16_t type = stream.ReadSizedShort();
    if (type == kNewLayoutType) {
        ReadHeader(stream);
        FillUnsetDates();
        if (m_version > 0) m_title = stream.ReadPackedString();
        if (m_version > 1) stream.SkipField();
        if (m_version > 2) ReadAttachments(stream);
        if ((m_flags & kHasLinksKnown) == 0) {
            // Only the links are wanted: the text between is passed over, not kept.
            if (m_version > 3) stream.SkipPacked();
            if (m_version > 4) m_info.ReadNewForm(stream);
            if (m_version > 5) m_links.ReadFrom(stream);
            SetHasLinks(m_links.GetCount() > 0);
        }
    } else if (type < 0) {
        throw CQuorError(kCorruptedRecord, stream.GetFilePath());
    } else {
        m_version = type;
        if (type >= 1) m_date = stream.ReadSizedInt();
        if (type >= 2) m_title = stream.ReadString();
        if (type > 4) {
            stream.SkipField();  // plain text
            stream.SkipField();  // keyword ids
            m_info.ReadOldPart1(stream);
            if (type >= 6) ReadAttachments(stream);
        }
        FillUnsetDates();
    }
}



void CArticleRecord::Read(CDataFile& file, int32_t id)
{
    Reset();
    try {
        CRecordReader reader;
        reader.OpenEntry(&file, CDataFile::kArticleTable, id, CRecordStream::kRead);
        ReadFrom(reader);
        reader.Close();
    } catch (...) {
        ClearBody();
        throw;
    }
}

void CArticleRecord::ReadSummary(CDataFile& file, int32_t id)
{
    CRecordReader reader;
    reader.OpenEntry(&file, CDataFile::kArticleTable, id, CRecordStream::kRead);
    reader.SetReadAhead(1);  // the header and title lie in the first block; the text is skipped
    ReadSummaryFrom(reader);
    reader.Close();
}

// ---- writing ------------------------------------------------------------------------------------

int32_t CArticleRecord::GetOldLayoutSize() const
{
    int32_t size = CRecordStream::kSizedShortSize + CRecordStream::kSizedIntSize + CRecordStream::StringSize(m_title) +
                   CRecordStream::StringSize(m_plainText) + CRecordStream::IdSetSize(m_keywordIds);
    if (m_version > kPlainTextVersion) {
        size += 24 + CRecordStream::StringSize(m_legacyText) + CRecordStream::StringSize(m_content);
        for (int i = 0; i < m_attachments.GetSize(); ++i) size += m_attachments.Item(i)->GetStoredSize(0);
    }
    return size;
}

void CArticleRecord::WriteOldLayout(CRecordStream& stream)
{
    int16_t version = m_version > kPlainTextVersion ? kOldRichTextVersion : kPlainTextVersion;
    stream.WriteSizedShort(version);
    stream.WriteSizedInt(m_date);
    stream.WriteString(m_title);
    stream.WriteString(m_plainText);
    stream.WriteIdSet(m_keywordIds);
    if (version == kOldRichTextVersion) {
        m_info.WriteOldPart1(stream);
        WriteAttachments(stream, 0);
        stream.WriteString(m_legacyText);
        stream.WriteString(m_content);
        m_info.WriteOldPart2(stream);
    }
    m_version = version;
}

void CArticleRecord::WriteNewLayout(CRecordStream& stream)
{
    int mode = PackedMode();
    RequireRecordKeyFor(*stream.GetFile(), mode);
    Stamp();
    // A plain-text record that gets here (see UsesOldLayout) keeps version 4, and with it the fields a
    // version-4 reader takes, its plain text in the content's place.
    int16_t version = m_version == kPlainTextVersion ? kPlainTextVersion : kNewLayoutVersion;
    stream.WriteSizedShort(kNewLayoutType);
    WriteHeader(stream, version);
    stream.WritePackedString(m_title, mode);
    stream.WriteIdSet(m_keywordIds);
    WriteAttachments(stream, mode);
    stream.WritePackedString(version == kPlainTextVersion ? m_plainText : m_content, mode);
    if (version > 4) m_info.WriteNewForm(stream);
    if (version > 5) m_links.WriteTo(stream, mode);
    m_version = version;
}

void CArticleRecord::WriteTo(CRecordStream& stream)
{
    if (UsesOldLayout(*stream.GetFile()))
        WriteOldLayout(stream);
    else
        WriteNewLayout(stream);
}

template <typename Open>
void CArticleRecord::Write(CDataFile& file, Open&& open, int32_t* id)
{
    CRecordReader writer;
    open(writer);
    if (UsesOldLayout(file)) writer.Reserve(GetOldLayoutSize());
    WriteTo(writer);
    writer.Close(id);
}

int32_t CArticleRecord::WriteNew(CDataFile& file)
{
    int32_t id = kNoneId;
    Write(file, [&](CRecordReader& w) { w.OpenNew(&file, CDataFile::kArticleTable); }, &id);
    return id;
}

void CArticleRecord::Write(CDataFile& file, int32_t id)
{
    Write(file, [&](CRecordReader& w) { w.OpenEntry(&file, CDataFile::kArticleTable, id, CRecordStream::kRewrite); },
          nullptr);
}

void CArticleRecord::WriteNewAt(CDataFile& file, int32_t id)
{
    int32_t entry = id;
    Write(file, [&](CRecordReader& w) { w.OpenNewAt(&file, CDataFile::kArticleTable, id); }, &entry);
}

bool CArticleRecord::ReplaceByPlaceholder(CDataFile& file, int32_t id, bool force)
{
    if (!IsTracked() || force) return true;
    int16_t flags = m_flags;
    int32_t createdDate = m_createdDate, createdTime = m_createdTime;
    Reset();
    SetCreated(createdDate, createdTime);
    m_flags = static_cast<int16_t>(flags | kTrackedSaved | kPlaceholder);
    Write(file, id);
    return false;
}
