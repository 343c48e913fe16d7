// The key directory's layout is described in keyed_record_stream.h.
#include "storage/keyed_record_stream.h"

#include <new>
#include <utility>
#include <vector>

#include "storage/data_file.h"
#include "storage/quor_error.h"

namespace {

using KeyEntry = std::pair<int16_t, int32_t>;

std::vector<KeyEntry> ReadDirectory(CDataFile* file, bool stopAtKey = false, int key = 0)
{
    std::vector<KeyEntry> entries;
    int32_t first = file->GetKeyDirectoryBlock();
    int32_t count = file->GetKeyCount();
    if (first == kNoneId || count <= 0)
        return entries;
    CRecordStream stream;
    stream.Open(file, first, CRecordStream::kRead);
    stream.ReadInt();  // byte count: the header's count says how many entries there are
    for (int32_t i = 0; i < count; ++i) {
        int16_t entryKey = stream.ReadShort();
        int32_t block = stream.ReadInt();
        entries.emplace_back(entryKey, block);
        if (stopAtKey && entryKey == static_cast<int16_t>(key))
            break;
    }
    return entries;
}

}  // namespace

int32_t CKeyedRecordStream::FindKey(CDataFile* file, int key)
{
    try {
        std::vector<KeyEntry> entries = ReadDirectory(file, true, key);
        if (!entries.empty() && entries.back().first == static_cast<int16_t>(key))
            return entries.back().second;
        return kNoneId;
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CKeyedRecordStream::Open(CDataFile* file, int key, int mode)
{
    m_key = static_cast<int16_t>(key);
    int32_t first = FindKey(file, key);
    if (first == kNoneId) {
        if (mode != kRewrite)
            throw CQuorError(kCorruptedRecord, file->GetFilePath());
        first = file->AllocateBlock();
        mode = kNew;
    }
    CRecordStream::Open(file, first, mode);
}

void CKeyedRecordStream::Close()
{
    if (GetMode() != kNew) {
        CRecordStream::Close();
        return;
    }
    CDataFile::CBatch batch(GetFile());  // the record and its directory entry are written together
    CRecordStream::Close();
    AddKeyToDirectory();
    batch.End();
}

void CKeyedRecordStream::AddKeyToDirectory()
{
    CDataFile* file = GetFile();
    try {
        std::vector<KeyEntry> entries = ReadDirectory(file);
        entries.emplace_back(static_cast<int16_t>(m_key), GetFirstBlock());
        int32_t directory = file->GetKeyDirectoryBlock();
        bool isNew = directory == kNoneId;
        if (isNew)
            directory = file->AllocateBlock();
        CRecordStream stream;
        stream.Open(file, directory, isNew ? kNew : kRewrite);
        stream.WriteInt(static_cast<int32_t>(6 * entries.size()));
        for (const KeyEntry& entry : entries) {
            stream.WriteShort(entry.first);
            stream.WriteInt(entry.second);
        }
        stream.Close();
        file->SetKeyDirectory(directory, static_cast<int32_t>(entries.size()));
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CKeyedRecordStream::ReadIdSet(CDataFile* file, int key, CIdSet& set)
{
    CKeyedRecordStream stream;
    stream.Open(file, key, kRead);
    stream.CRecordStream::ReadIdSet(set);
    stream.Close();
}

void CKeyedRecordStream::WriteIdSet(CDataFile* file, int key, const CIdSet& set)
{
    CKeyedRecordStream stream;
    stream.Open(file, key, kRewrite);
    stream.CRecordStream::WriteIdSet(set);
    stream.Close();
}
