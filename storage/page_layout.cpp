#include "storage/page_layout.h"

#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/quor_error.h"

namespace {
constexpr int kPageLayoutKey = 3;
constexpr int32_t kStoredBytes = 24;
}

void CPageLayout::SetBuiltInDefaults()
{
    m_top = 50;
    m_left = 75;
    m_bottom = 50;
    m_right = 75;
    m_separator = 0;
    m_boldTitles = false;
    m_reserved = true;
    m_printDates = true;
    m_onlyOnFirst = false;
    m_printKeywords = true;
    m_units = 1;
    m_firstFooter = false;
    m_changed = true;
}

void CPageLayout::Assign(const CPageLayout& other)
{
    *this = other;
    m_changed = true;
}

void CPageLayout::SetMargins(int16_t top, int16_t left, int16_t bottom, int16_t right)
{
    m_top = top;
    m_left = left;
    m_bottom = bottom;
    m_right = right;
    m_changed = true;
}

void CPageLayout::Load(CDataFile& file)
{
    SetBuiltInDefaults();
    try {
        CKeyedRecordStream stream;
        stream.Open(&file, kPageLayoutKey, CRecordStream::kRead);
        int32_t remaining = stream.ReadInt();
        // Each value is taken only while the stated count still covers it.
        auto take = [&](int16_t& value) {
            if (remaining < 2)
                return;
            value = stream.ReadShort();
            remaining -= 2;
        };
        auto takeFlag = [&](bool& flag) {
            int16_t value = flag ? 1 : 0;
            take(value);
            flag = value != 0;
        };
        take(m_top);
        take(m_left);
        take(m_bottom);
        take(m_right);
        take(m_separator);
        takeFlag(m_boldTitles);
        takeFlag(m_reserved);
        takeFlag(m_printDates);
        takeFlag(m_onlyOnFirst);
        takeFlag(m_printKeywords);
        take(m_units);
        takeFlag(m_firstFooter);
        stream.Close();
    } catch (const CQuorError& error) {
        if (error.Code() != kCorruptedRecord)
            throw;
    }
    m_changed = false;
}

void CPageLayout::Save(CDataFile& file)
{
    if (!m_changed || file.GetOpenMode() != 2)
        return;
    CKeyedRecordStream stream;
    stream.Open(&file, kPageLayoutKey, CRecordStream::kRewrite);
    stream.WriteInt(kStoredBytes);
    for (int16_t value : {m_top, m_left, m_bottom, m_right, m_separator})
        stream.WriteShort(value);
    for (bool flag : {m_boldTitles, m_reserved, m_printDates, m_onlyOnFirst, m_printKeywords})
        stream.WriteShort(flag ? 1 : 0);
    stream.WriteShort(m_units);
    stream.WriteShort(m_firstFooter ? 1 : 0);
    stream.Close();
    m_changed = false;
}
