#include "storage/keyed_texts.h"

#include <new>

#include "framework/string_table.h"
#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/quor_error.h"

namespace {
constexpr int kFooterDefaultId = 5300;  // "Page &P"
}

void CKeyedText::Load(CDataFile& file)
{
    std::string text;
    try {
        CKeyedRecordStream stream;
        stream.Open(&file, m_key, CRecordStream::kRead);
        text = stream.ReadString();
        stream.Close();
    } catch (const CQuorError& error) {
        if (error.Code() != kCorruptedRecord) {
            m_text.clear();
            throw;
        }
        text.clear();
    } catch (const std::bad_alloc&) {
        m_text.clear();
        throw CQuorError(kOutOfMemory);
    }
    if (text.empty() && m_emptyTakesDefault)
        text = DefaultText(file);
    m_text = text;
    m_changed = false;
}

void CKeyedText::Save(CDataFile& file)
{
    if (!m_changed || file.GetOpenMode() != 2)
        return;
    CKeyedRecordStream stream;
    stream.Open(&file, m_key, CRecordStream::kRewrite);
    stream.WriteString(m_text);
    stream.Close();
    m_changed = false;
}

void CKeyedText::SetText(const std::string& text)
{
    try {
        m_text = text;
    } catch (const std::bad_alloc&) {
        m_text.clear();
        throw CQuorError(kOutOfMemory);
    }
    m_changed = true;
}

std::string CHeaderText::DefaultText(CDataFile& file) const
{
    const std::string& path = file.GetFilePath();
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CFooterText::DefaultText(CDataFile& file) const
{
    return QuorLoadString(kFooterDefaultId);
}
