// Counts the write and flush calls made on one file while it lives: how often an operation of the
// benchmarks writes and flushes the data file.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

#include "framework/file.h"

class CFileCallCounter : public IFileFaults {
public:
    explicit CFileCallCounter(std::string path) : m_path(std::move(path)) { m_previous = SetFileFaults(this); }
    ~CFileCallCounter() override { SetFileFaults(m_previous); }
    CFileCallCounter(const CFileCallCounter&) = delete;
    CFileCallCounter& operator=(const CFileCallCounter&) = delete;

    long Before(Call call, const std::string& path, uint64_t, uint32_t, uint32_t*) override
    {
        if (path == m_path) {
            if (call == kWrite)
                ++writes;
            else if (call == kFlush)
                ++flushes;
        }
        return 0;
    }
    long writes = 0;
    long flushes = 0;

private:
    std::string m_path;
    IFileFaults* m_previous;
};
