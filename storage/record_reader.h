// Table records: entries of the data file's index tables (keywords 0, articles 1, keyword groups 3),
// whose entry number is the object's id. The table maps the entry to the record's first block (see
// data_file.h); the record itself is a record stream (see record_stream.h).
#pragma once
#include <cstdint>

#include "storage/record_stream.h"

class CRecordReader : public CRecordStream {
public:
    // The entry's record in mode 1 (read) or 2 (rewrite); a deleted entry is code 5.
    void OpenEntry(CDataFile* file, int table, int32_t entry, int mode);
    // A new record (mode 3) entered in a reused or appended entry when closed. Its first block is
    // allocated when it is written (see CRecordStream::OpenNewRecord).
    void OpenNew(CDataFile* file, int table);
    // A new record (mode 3) entered at the given entry number when closed.
    void OpenNewAt(CDataFile* file, int table, int32_t entry);
    // Writes the record; a new record is entered in its table and its entry number returned in
    // *entry. Closed without one (as by the destructor) a new record is not entered.
    void Close(int32_t* entry = nullptr);
    int32_t GetEntry() const { return m_entry; }

private:
    int32_t m_table = 0;
    int32_t m_entry = kNoneId;
};
