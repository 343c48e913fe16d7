#include "storage/keyword_record.h"

#include <cstring>
#include <vector>

#include "storage/byte_buffer.h"
#include "storage/data_file.h"
#include "storage/quor_error.h"
#include "storage/record_key_guard.h"
#include "storage/record_reader.h"
#include "storage/record_stream.h"

namespace {

constexpr int16_t kPackedName = static_cast<int16_t>(0x8000);
constexpr int kWithoutGroups = 2;
constexpr int kWithGroups = 3;
constexpr int kGroupLayout = 3;

int Layout(int16_t type) { return type & 0x7FFF; }

[[noreturn]] void WrongType(CRecordStream& stream) { throw CQuorError(kCorruptedRecordType, stream.GetFilePath()); }

void CopySorted(const CIdSet& from, CIdSet& to)
{
    to.Copy(from);
    to.Sort();
}


// Opens a table entry, runs `read` on it and closes; the stream is closed on every path.
template <typename F>
void ReadEntry(CDataFile& file, int table, int32_t id, F&& read)
{
    CRecordReader reader;
    reader.OpenEntry(&file, table, id, CRecordStream::kRead);
    read(reader);
    reader.Close();
}

template <typename R>
int32_t WriteNewRecord(CDataFile& file, int table, const R& record)
{
    CRecordReader writer;
    writer.OpenNew(&file, table);
    writer.Reserve(record.GetStoredSize());
    record.WriteTo(writer);
    int32_t id = kNoneId;
    writer.Close(&id);
    return id;
}

template <typename R>
void RewriteRecord(CDataFile& file, int table, int32_t id, const R& record)
{
    CRecordReader writer;
    writer.OpenEntry(&file, table, id, CRecordStream::kRewrite);
    writer.Reserve(record.GetStoredSize());
    record.WriteTo(writer);
    writer.Close();
}

}  // namespace

// ---- CKeywordRecord -----------------------------------------------------------------------------

void CKeywordRecord::ReadFrom(CRecordStream& stream)
{
    m_groupIds.RemoveAll();  // a record without group ids has none, whatever this object held
    try {
        int16_t type = stream.ReadSizedShort();
        int layout = Layout(type);
        if (layout != kWithoutGroups && !(layout == kWithGroups && stream.GetFile()->GetVersion() >= 400))
            WrongType(stream);
        m_name = (type & kPackedName) ? stream.ReadPackedString() : stream.ReadString();
        stream.ReadIdSet(m_articleIds);
        if (layout > kWithoutGroups) stream.ReadIdSet(m_groupIds);
    } catch (...) {
        m_name.clear();
        m_articleIds.RemoveAll();
        throw;
    }
}

void CKeywordRecord::WriteTo(CRecordStream& stream) const
{
    int version = stream.GetFile()->GetVersion();
    if (version < 300) {
        stream.WriteSizedShort(kWithoutGroups);
        stream.WriteString(m_name);
        stream.WriteIdSet(m_articleIds);
        return;
    }
    RequireRecordKeyFor(*stream.GetFile(), 0);
    stream.WriteSizedShort(static_cast<int16_t>(kPackedName | (version >= 400 ? kWithGroups : kWithoutGroups)));
    stream.WritePackedString(m_name, 0);
    stream.WriteIdSet(m_articleIds);
    if (version >= 400) stream.WriteIdSet(m_groupIds);
}

int32_t CKeywordRecord::GetStoredSize() const
{
    return CRecordStream::kSizedShortSize + CRecordStream::StringSize(m_name) + CRecordStream::IdSetSize(m_articleIds) +
           CRecordStream::IdSetSize(m_groupIds);
}




void CKeywordRecord::Read(CDataFile& file, int32_t id)
{
    try {
        ReadEntry(file, CDataFile::kKeywordTable, id, [this](CRecordStream& s) { ReadFrom(s); });
    } catch (...) {
        m_name.clear();
        m_articleIds.RemoveAll();
        throw;
    }
}

int32_t CKeywordRecord::WriteNew(CDataFile& file) { return WriteNewRecord(file, CDataFile::kKeywordTable, *this); }

void CKeywordRecord::Write(CDataFile& file, int32_t id) { RewriteRecord(file, CDataFile::kKeywordTable, id, *this); }

void CKeywordRecord::GetArticleIds(CIdSet& set) const { CopySorted(m_articleIds, set); }

void CKeywordRecord::GetGroupIds(CIdSet& set) const { CopySorted(m_groupIds, set); }

bool CKeywordRecord::AddArticleId(int32_t article)
{
    if (article == kNoneId || m_articleIds.Contains(article))
        return false;
    m_articleIds.Add(article);
    return true;
}

// The new record's bytes: the article-id list's byte count at countOffset grows by 4; the new id
// and the group ids (from version 400) follow the list.
CKeywordRecord::AppendResult CKeywordRecord::AppendArticleId(CDataFile& file, int32_t id, int32_t article)
{
    int version = file.GetVersion();
    if (version < 300 || file.IsProtectAll() || article == kNoneId)
        return kRewriteWhole;  // masked names take a fresh salt with every write
    int32_t countOffset = 0;
    int32_t count = 0;
    CGroupIdSet groups;
    try {
        CRecordReader reader;
        reader.OpenEntry(&file, CDataFile::kKeywordTable, id, CRecordStream::kRead);
        int16_t expected = static_cast<int16_t>(kPackedName | (version >= 400 ? kWithGroups : kWithoutGroups));
        if (reader.ReadInt() != 2 || reader.ReadShort() != expected || reader.ReadShort() != 0)
            return kRewriteWhole;
        // The name exactly as a rewrite stores it: its characters and one NUL at the end.
        constexpr int32_t kLongestName = 4096;
        int32_t nameLength = reader.ReadInt();
        if (nameLength < 1 || nameLength > kLongestName)
            return kRewriteWhole;
        std::vector<char> name(static_cast<size_t>(nameLength));
        if (reader.ReadRaw(name.data(), nameLength) != 0 || std::memchr(name.data(), 0, name.size()) != &name.back())
            return kRewriteWhole;
        countOffset = CRecordStream::kSizedShortSize + 6 + nameLength;  // type; name mode, length, bytes
        count = reader.ReadInt();
        if (count < 0 || count % 4 != 0)
            return kRewriteWhole;
        if (count > 0) {
            reader.Skip(count - 4);
            int32_t last = reader.ReadInt();
            if (article == last)
                return kAlreadyLast;
            if (article < last)
                return kRewriteWhole;
        }
        if (version >= 400)
            reader.ReadIdSet(groups);
        reader.Close();
    } catch (const CQuorError&) {
        return kRewriteWhole;  // the general path meets the same error and reports it
    }
    CByteBuffer newCount;
    newCount.AppendInt(count + 4);
    CByteBuffer tail;
    tail.AppendInt(article);
    if (version >= 400)
        CRecordStream::EncodeIdSet(groups, tail);
    int32_t tailOffset = countOffset + 4 + count;
    CRecordStream::Piece pieces[] = {{countOffset, newCount.GetData(), newCount.GetLength()},
                                     {tailOffset, tail.GetData(), tail.GetLength()}};
    CRecordReader writer;
    writer.OpenEntry(&file, CDataFile::kKeywordTable, id, CRecordStream::kRewrite);
    writer.RewriteInPlace(pieces, 2, tailOffset + tail.GetLength());
    return kAppended;
}

bool CKeywordRecord::RemoveArticleId(int32_t article)
{
    if (!m_articleIds.Contains(article))
        return false;
    m_articleIds.Remove(article);
    return true;
}

// ---- CKeywordGroupRecord ------------------------------------------------------------------------

void CKeywordGroupRecord::ReadFrom(CRecordStream& stream, bool nameOnly)
{
    try {
        if (Layout(stream.ReadSizedShort()) != kGroupLayout) WrongType(stream);
        m_name = stream.ReadPackedString();
        if (nameOnly) return;
        m_number = stream.ReadInt();
        stream.ReadIdSet(m_keywordIds);
    } catch (...) {
        m_name.clear();
        m_keywordIds.RemoveAll();
        throw;
    }
}

void CKeywordGroupRecord::WriteTo(CRecordStream& stream) const
{
    RequireRecordKeyFor(*stream.GetFile(), 0);
    stream.WriteSizedShort(kGroupLayout);
    stream.WritePackedString(m_name, 0);
    stream.WriteInt(m_number);
    stream.WriteIdSet(m_keywordIds);
}

int32_t CKeywordGroupRecord::GetStoredSize() const
{
    return CRecordStream::kSizedShortSize + CRecordStream::StringSize(m_name) + 8 + CRecordStream::IdSetSize(m_keywordIds);
}





void CKeywordGroupRecord::Read(CDataFile& file, int32_t id)
{
    ReadEntry(file, CDataFile::kGroupTable, id, [this](CRecordStream& s) { ReadFrom(s); });
}

void CKeywordGroupRecord::ReadName(CDataFile& file, int32_t id)
{
    ReadEntry(file, CDataFile::kGroupTable, id, [this](CRecordStream& s) { ReadFrom(s, true); });
}

int32_t CKeywordGroupRecord::WriteNew(CDataFile& file) { return WriteNewRecord(file, CDataFile::kGroupTable, *this); }

void CKeywordGroupRecord::Write(CDataFile& file, int32_t id) { RewriteRecord(file, CDataFile::kGroupTable, id, *this); }

void CKeywordGroupRecord::GetKeywordIds(CIdSet& set) const { CopySorted(m_keywordIds, set); }
