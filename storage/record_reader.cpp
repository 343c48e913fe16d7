#include "storage/record_reader.h"

#include "storage/data_file.h"
#include "storage/quor_error.h"

void CRecordReader::OpenEntry(CDataFile* file, int table, int32_t entry, int mode)
{
    int32_t first = file->GetEntry(table, entry);
    if (first == kNoneId)
        throw CQuorError(kCorruptedRecord, file->GetFilePath());
    m_table = table;
    m_entry = entry;
    Open(file, first, mode);
}

void CRecordReader::OpenNew(CDataFile* file, int table)
{
    OpenNewAt(file, table, kNoneId);
}

void CRecordReader::OpenNewAt(CDataFile* file, int table, int32_t entry)
{
    m_table = table;
    m_entry = entry;
    OpenNewRecord(file);
}

void CRecordReader::Close(int32_t* entry)
{
    bool isNew = GetMode() == kNew;
    CDataFile* file = GetFile();
    if (GetMode() == kClosed || !file) {
        CRecordStream::Close();
    } else {
        CDataFile::CBatch batch(file);  // the record and its table entry are written together
        CRecordStream::Close();
        if (isNew && entry) {
            if (m_entry != kNoneId)
                file->PutEntry(m_table, m_entry, GetFirstBlock());
            else
                m_entry = file->AddEntry(m_table, GetFirstBlock());
        }
        batch.End();
    }
    if (entry)
        *entry = m_entry;
}
