// A recording host for compaction and the data-file exchange, and helpers that damage a data file's
// bytes at the places its layout gives (see data_file.h).
#pragma once
#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "storage/byte_order.h"
#include "storage/data_file.h"
#include "document/exchange_host.h"
#include "storage/file_password.h"
#include "framework/native_path.h"

class CRecordingExchangeHost : public CExchangeHost {
public:
    void Inform(const std::string& text, Icon icon) override { m_informed.push_back(text); }
    bool Confirm(const std::string& text, Icon icon) override
    {
        m_asked.push_back(text);
        return Answer();
    }
    bool PromptPassword(const std::string& path, CFilePassword& password) override
    {
        m_passwordPrompts.push_back(path);
        return password.Verify(m_password);
    }
    std::string CreatePassword() override
    {
        ++m_passwordCreations;
        return m_createdPasswords.empty() ? std::string() : Take(m_createdPasswords);
    }
    std::string ChooseCompactSource(const std::string& folder) override { return m_source; }
    std::string ChooseCompactDestination(const std::string& folder, int& format) override
    {
        format = m_format;
        return m_destination;
    }
    bool ConfirmCompactConversion(const std::string& path) override
    {
        m_conversionQuestions.push_back(path);
        return m_convertAnswer;
    }
    bool AskDeleteUnusedKeywords(const std::vector<std::string>& names) override
    {
        m_unusedKeywords.push_back(names);
        return m_deleteUnused;
    }
    bool AskDeleteUnusedGroups(const std::vector<std::string>& names) override
    {
        m_unusedGroups.push_back(names);
        return m_deleteUnused;
    }
    std::string ChooseDamagedArticleFile(int mode, const std::string& destination) override
    {
        m_damagedQuestions.push_back(destination);
        return m_damagedFile;
    }
    void ShowDamagedFileReport(int mode, const std::string& text) override
    {
        m_reportMode = mode;
        m_reports.push_back(text);
    }
    void OpenDataFile(const std::string& path) override { m_opened.push_back(path); }
    void RebuildSavedQueryMenu() override { ++m_menuRebuilds; }

    void BeginProgress(const std::string& caption, const std::string& message, int range) override
    {
        m_progressCaption = caption;
        m_progressRange = range;
        m_progressSteps = 0;
        m_mainWindowEnabled = false;
    }
    void SetProgressText(const std::string& text) override { m_progressTexts.push_back(text); }
    void StepProgress() override
    {
        ++m_progressSteps;
        ++m_totalSteps;
    }
    bool IsProgressCancelled() override { return m_cancelAfterSteps >= 0 && m_totalSteps >= m_cancelAfterSteps; }
    void EndProgress() override
    {
        ++m_progressEnded;
        m_mainWindowEnabled = true;
    }
    int PumpPendingMessage() override { return m_busyEvery > 0 && ++m_pumps % m_busyEvery == 0 ? 0 : 1; }

    // The content stands for its own text here.
    int32_t GetRtfTextLength(const std::string& rtf) override { return static_cast<int32_t>(rtf.size()); }
    std::string PlainTextToRtf(const std::string& text, const ExchangeCharFormat& format) override
    {
        m_convertedFonts.push_back(format.faceName);
        return "{\\rtf1 " + format.faceName + ": " + text + "}";
    }

    bool Answer() { return m_answers.empty() ? false : Take(m_answers); }
    template <class T>
    static T Take(std::deque<T>& queue)
    {
        T value = queue.front();
        queue.pop_front();
        return value;
    }

    std::vector<std::string> m_informed;
    std::vector<std::string> m_asked;
    std::deque<bool> m_answers;
    std::vector<std::string> m_passwordPrompts;
    std::string m_password;
    std::deque<std::string> m_createdPasswords;
    int m_passwordCreations = 0;
    std::string m_source;
    std::string m_destination;
    int m_format = 1;
    std::vector<std::string> m_conversionQuestions;
    bool m_convertAnswer = true;
    std::vector<std::vector<std::string>> m_unusedKeywords;
    std::vector<std::vector<std::string>> m_unusedGroups;
    bool m_deleteUnused = false;
    std::vector<std::string> m_damagedQuestions;
    std::string m_damagedFile;
    int m_reportMode = 0;
    std::vector<std::string> m_reports;
    std::vector<std::string> m_opened;
    int m_menuRebuilds = 0;
    std::string m_progressCaption;
    int m_progressRange = -1;
    int m_progressSteps = 0;
    int m_totalSteps = 0;
    int m_progressEnded = 0;
    bool m_mainWindowEnabled = true;
    std::vector<std::string> m_progressTexts;
    int m_cancelAfterSteps = -1;
    int m_busyEvery = 0;
    int m_pumps = 0;
    std::vector<std::string> m_convertedFonts;
};

inline std::string FileBytes(const std::string& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Damage done to a closed data file of version 400 (header of 220 bytes), in place.
class CFileDamage {
public:
    explicit CFileDamage(const std::string& path) : m_path(path), m_bytes(FileBytes(path)) {}
    ~CFileDamage() { WriteFileBytes(m_path, m_bytes); }

    // The first block of entry `id` of `table`, and the block after `block` in its chain.
    int32_t FirstBlock(int table, int32_t id) const { return Query([&](CDataFile& f) { return f.GetEntry(table, id); }); }
    int32_t NextBlock(int32_t block) const { return Query([&](CDataFile& f) { return f.GetNextBlock(block); }); }
    // Flips every bit of byte `offset` of block `block`.
    void FlipByte(int32_t block, int offset) { m_bytes[BlockOffset(block) + static_cast<size_t>(offset)] ^= '\xFF'; }
    // Sets the allocation-table slot of `block`: its successor in the chain.
    void SetNext(int32_t block, int32_t next) { Put(kHeader + 512u * static_cast<size_t>(block / 128 * 128) + 4u * static_cast<size_t>(block % 128), next); }
    // Sets entry `id` (below 128) of a table to `block`.
    void SetEntry(int table, int32_t id, int32_t block)
    {
        int32_t indexBlock = LoadLeInt32(reinterpret_cast<const uint8_t*>(m_bytes.data()) + 20 + 12 * table + 8);
        Put(BlockOffset(indexBlock) + 4u * static_cast<size_t>(id), block);
    }

private:
    static constexpr size_t kHeader = 220;
    static size_t BlockOffset(int32_t block) { return kHeader + 512u * static_cast<size_t>(block); }
    void Put(size_t offset, int32_t value) { StoreLe32(reinterpret_cast<uint8_t*>(&m_bytes[offset]), value); }
    int32_t Query(const std::function<int32_t(CDataFile&)>& ask) const
    {
        WriteFileBytes(m_path, m_bytes);
        CDataFile file;
        file.Open(m_path, true);
        int32_t value = ask(file);
        file.Close();
        return value;
    }

    std::string m_path;
    std::string m_bytes;
};
