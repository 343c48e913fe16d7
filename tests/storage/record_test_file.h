// A data file in a temporary folder for record tests, with a pinned clock, and helpers that store and
// load records through plain record streams.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "storage/data_file.h"
#include "storage/quor_error.h"
#include "storage/record_stream.h"
#include "independent_reader.h"
#include "test_seams.h"
#include "tests/support/temp_folder.h"

// The code of the CQuorError the action throws (0 when none); *text receives its text.
inline int ErrorCodeOf(const std::function<void()>& action, std::string* text = nullptr)
{
    try {
        action();
    } catch (const CQuorError& e) {
        if (text) *text = e.Text();
        return e.Code();
    }
    return 0;
}

class CRecordTestFile {
    // First, so that it is removed after the file has closed.
    CTempFolder m_folder;
    CPinnedClock m_clock;
    std::string m_path;

public:
    explicit CRecordTestFile(int version = 400) : m_clock(MakeLocalTime(2026, 12, 10, 13, 5, 9))
    {
        m_path = m_folder.File("records.xrd");
        file.Create(m_path, version);
    }

    // A new record whose fields `write` builds, entered in `table`; returns its entry number.
    int32_t StoreRaw(int table, const std::function<void(CRecordStream&)>& write)
    {
        int32_t first = file.AllocateBlock();
        CRecordStream stream;
        stream.Open(&file, first, CRecordStream::kNew);
        write(stream);
        stream.Close();
        return file.AddEntry(table, first);
    }
    void LoadRaw(int table, int32_t entry, const std::function<void(CRecordStream&)>& read)
    {
        CRecordStream stream;
        stream.Open(&file, file.GetEntry(table, entry), CRecordStream::kRead);
        read(stream);
        stream.Close();
    }

    // The file as the independent reader sees it. The data file is open without sharing, so it is
    // closed for the reading and opened again, with its record key.
    independent::DataFileBytes Bytes()
    {
        std::vector<uint8_t> key = Key();
        file.Close();
        independent::DataFileBytes bytes(m_path);
        file.Open(m_path, false);
        file.SetRecordKey(key.data());
        return bytes;
    }
    static std::vector<uint8_t> ZeroKey() { return std::vector<uint8_t>(16, 0); }

    void SetKey(uint8_t fill)
    {
        uint8_t key[16];
        for (uint8_t& b : key) b = fill;
        file.SetRecordKey(key);
    }
    std::vector<uint8_t> Key() const
    {
        const uint8_t* k = file.GetRecordKey();
        return std::vector<uint8_t>(k, k + 16);
    }
    const std::string& Path() const { return m_path; }
    void Now(QuorLocalTime t) { m_clock.Set(t); }

    CDataFile file;
};
