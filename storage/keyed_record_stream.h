// Keyed records: single records named by a 16-bit key (bookmarked list 1, print header 2, page
// layout 3, per-file settings 4, print footer 6, export header 7, saved queries 8, password 9,
// private list 10, hidden list 12, reminders 15; 13 and 14 are only carried along).
//
// The key directory is itself a record: its first block is the third field of table descriptor 2
// in the header and the number of keys is that descriptor's count (see data_file.h). Content, in
// record-stream fields (little-endian):
//   offset  size   meaning
//   0       int32  byte count of the entries = 6 x keys
//   4 + 6i  int16  key of entry i
//   6 + 6i  int32  first block of the key's record
// Entries are in the order in which their keys were first written; a lookup takes the first
// entry with the key.
#pragma once
#include <cstdint>

#include "storage/record_stream.h"

class CKeyedRecordStream : public CRecordStream {
public:
    // The key's first block, or none when the directory has no such key (or there is none).
    static int32_t FindKey(CDataFile* file, int key);

    // Mode 1 reads (a missing key is code 5); mode 2 writes, and a missing key gets a new block
    // and the stream opens in mode 3.
    void Open(CDataFile* file, int key, int mode);
    // Closes; a new record's key is then added to the directory.
    void Close();
    int GetKey() const { return m_key; }

    // One id set field as the whole record.
    static void ReadIdSet(CDataFile* file, int key, CIdSet& set);
    static void WriteIdSet(CDataFile* file, int key, const CIdSet& set);

private:
    void AddKeyToDirectory();

    int32_t m_key = 0;
};
