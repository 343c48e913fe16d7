// A fresh folder for one test, removed with everything in it when the test ends. Its path uses
// backslashes, as the program's paths do on every platform.
#pragma once
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/native_path.h"

class CTempFolder {
public:
    CTempFolder()
    {
        static std::atomic<int> counter{0};
        std::filesystem::path base = std::filesystem::temp_directory_path();
        for (;;) {
            std::filesystem::path candidate =
                base / ("quor_test_" + std::to_string(Pid()) + "_" + std::to_string(counter++));
            if (std::filesystem::create_directory(candidate)) {
                m_native = candidate;
                break;
            }
        }
        m_path = m_native.string();
        for (char& c : m_path)
            if (c == '/')
                c = '\\';
    }
    ~CTempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_native, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

    // Writes a file of the given bytes and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(NativePath(File(name)), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return File(name);
    }
    std::string Read(const std::string& name) const { return ReadFile(File(name)); }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(NativePath(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    static long Pid();
    std::filesystem::path m_native;
    std::string m_path;
};

#ifdef _WIN32
#include <process.h>
inline long CTempFolder::Pid() { return _getpid(); }
#else
#include <unistd.h>
inline long CTempFolder::Pid() { return getpid(); }
#endif
