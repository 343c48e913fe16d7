// Keyed record 8, the saved queries, in its two layouts (integers little-endian).
//
// Current layout, data files of version 300 and above:
//   offset  size   field
//   0       4      int32 -1, the sign of this layout
//   4       2      int16 220, layout version
//   6       4      int32 count
//   10      ...    count entries: name and text as packed strings (mode 0), int32 from, int32 to
//   then    2      int16 recentCount
//   then    2 each recentCount int16 entry indexes, most recent first
//
// Old layout, data files below version 300:
//   0       4      int32 L, the number of bytes that follow
//   4       2      int16 220
//   6       4      int32 count
//   10      ...    count entries: name and text as int32 (length + 1), the characters and a NUL;
//                  int32 from, int32 to
//   then    2      int16 recentCount
//   then    2 each recentCount int16 entry indexes
//   L = 6 + sum over the entries of (length of name + length of text + 18) + 2 + 2 x recentCount
//
// The record is untrusted. A negative count reads as none; an old-layout string whose length is
// negative or runs past the byte budget, or an entry that the budget cuts short, ends the entries
// (those read whole are kept). Of the recent list at most kMaxRecent indexes are read; an index
// outside the entries or seen before is dropped, and the list is then topped up as after a removal.
#include "index/query_list.h"

#include <algorithm>
#include <new>

#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/quor_error.h"
#include "storage/record_stream.h"

namespace {

constexpr int kSavedQueriesKey = 8;
constexpr int32_t kCurrentLayoutSign = -1;
constexpr int16_t kLayoutVersion = 220;
constexpr int kVersionCurrentLayout = 300;

// Reads of the old layout, each taken from the byte budget that the record's first int32 gives.
class CBudgetReader {
public:
    CBudgetReader(CRecordStream& stream, int32_t budget) : m_stream(stream), m_budget(std::max(budget, 0)) {}

    // False (value left alone) when the budget holds fewer than the bytes the field needs.
    bool ReadInt(int32_t& value)
    {
        if (m_budget < 4)
            return false;
        m_budget -= 4;
        value = m_stream.ReadInt();
        return true;
    }

    bool ReadShort(int16_t& value)
    {
        if (m_budget < 2)
            return false;
        m_budget -= 2;
        value = m_stream.ReadShort();
        return true;
    }

    // An int32 length, then that many bytes; the text ends at the first NUL. False when the length
    // is negative or runs past the budget.
    bool ReadString(std::string& text)
    {
        int32_t length = 0;
        if (!ReadInt(length) || length < 0 || length > m_budget)
            return false;
        m_budget -= length;
        text.clear();
        // Taken a block at a time, so memory grows only with bytes that the record really holds.
        char chunk[512];
        while (length > 0) {
            int32_t part = std::min<int32_t>(length, sizeof chunk);
            int code = m_stream.ReadRaw(chunk, part);
            if (code != 0)
                throw CQuorError(code);
            text.append(chunk, static_cast<size_t>(part));
            length -= part;
        }
        size_t nul = text.find('\0');
        if (nul != std::string::npos)
            text.resize(nul);
        return true;
    }

private:
    CRecordStream& m_stream;
    int32_t m_budget;
};

}  // namespace

void CQueryList::ReadFrom(CRecordStream& stream)
{
    RemoveAll();
    try {
        ReadEntries(stream);
    } catch (...) {
        RemoveAll();
        throw;
    }
}

void CQueryList::ReadEntries(CRecordStream& stream)
{
    std::vector<int> recent;
    int32_t first = stream.ReadInt();
    if (first == kCurrentLayoutSign) {
        if (stream.ReadShort() != kLayoutVersion)
            return;
        int32_t count = stream.ReadInt();
        for (int32_t i = 0; i < count; ++i) {
            SavedQuery entry;
            entry.name = stream.ReadPackedString();
            entry.text = stream.ReadPackedString();
            entry.from = stream.ReadInt();
            entry.to = stream.ReadInt();
            m_entries.push_back(std::move(entry));
        }
        int recentCount = std::min<int>(stream.ReadShort(), kMaxRecent);
        for (int i = 0; i < recentCount; ++i)
            recent.push_back(stream.ReadShort());
    } else {
        CBudgetReader reader(stream, first);
        int16_t version = 0;
        reader.ReadShort(version);
        if (version != kLayoutVersion)
            return;
        int32_t count = 0;
        reader.ReadInt(count);
        bool whole = true;
        for (int32_t i = 0; i < count && whole; ++i) {
            SavedQuery entry;
            whole = reader.ReadString(entry.name) && reader.ReadString(entry.text) && reader.ReadInt(entry.from) &&
                    reader.ReadInt(entry.to);
            if (whole)
                m_entries.push_back(std::move(entry));
        }
        int16_t recentCount = 0;
        if (whole)
            reader.ReadShort(recentCount);
        for (int i = 0; i < std::min<int>(recentCount, kMaxRecent); ++i) {
            int16_t index = 0;
            if (!reader.ReadShort(index))
                break;
            recent.push_back(index);
        }
    }
    for (int index : recent) {
        if (index >= 0 && index < GetCount() && std::find(m_recent.begin(), m_recent.end(), index) == m_recent.end())
            m_recent.push_back(index);
    }
    TopUpRecent();
    m_modified = false;
}

void CQueryList::WriteTo(CRecordStream& stream, int fileVersion) const
{
    if (fileVersion >= kVersionCurrentLayout) {
        stream.WriteInt(kCurrentLayoutSign);
        stream.WriteShort(kLayoutVersion);
        stream.WriteInt(GetCount());
        for (const SavedQuery& entry : m_entries) {
            stream.WritePackedString(entry.name, CRecordStream::kPackRaw);
            stream.WritePackedString(entry.text, CRecordStream::kPackRaw);
            stream.WriteInt(entry.from);
            stream.WriteInt(entry.to);
        }
    } else {
        int32_t length = 6 + 2 + 2 * GetRecentCount();
        for (const SavedQuery& entry : m_entries)
            length += static_cast<int32_t>(entry.name.size() + entry.text.size()) + 18;
        stream.WriteInt(length);
        stream.WriteShort(kLayoutVersion);
        stream.WriteInt(GetCount());
        for (const SavedQuery& entry : m_entries) {
            stream.WriteString(entry.name);
            stream.WriteString(entry.text);
            stream.WriteInt(entry.from);
            stream.WriteInt(entry.to);
        }
    }
    stream.WriteShort(static_cast<int16_t>(GetRecentCount()));
    for (int index : m_recent)
        stream.WriteShort(static_cast<int16_t>(index));
}

void CQueryList::Load(CDataFile& file)
{
    RemoveAll();
    try {
        CKeyedRecordStream stream;
        stream.Open(&file, kSavedQueriesKey, CRecordStream::kRead);
        ReadFrom(stream);
        stream.Close();
    } catch (const CQuorError& error) {
        RemoveAll();
        if (error.Code() != kCorruptedRecord)
            throw;
    } catch (const std::bad_alloc&) {
        RemoveAll();
        throw CQuorError(kOutOfMemory);
    }
}

void CQueryList::Save(CDataFile& file)
{
    if (file.GetOpenMode() != CDataFile::kReadWrite)
        return;
    try {
        CKeyedRecordStream stream;
        stream.Open(&file, kSavedQueriesKey, CRecordStream::kRewrite);
        WriteTo(stream, file.GetVersion());
        stream.Close();
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    m_modified = false;
}

void CQueryList::SaveIfModified(CDataFile& file)
{
    if (m_modified)
        Save(file);
}
