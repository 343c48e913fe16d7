// The page-setup values of a data file, kept in keyed record 3.
//
// Stored form (the content of keyed record 3), little-endian:
//   offset  size  meaning
//   0       4     int32 byte count of the values that follow (written as 24)
//   4       2     top margin        (hundredths of the margin unit)
//   6       2     left margin
//   8       2     bottom margin
//   10      2     right margin
//   12      2     separator: 0 blank line, 1 solid line, 2 page break
//   14      2     BoldTitles        (flags are stored as 16 bits)
//   16      2     reserved flag     (kept as read)
//   18      2     PrintDates
//   20      2     OnlyOnFirst
//   22      2     PrintKeywords
//   24      2     Units: 1 inch, 0 centimetre
//   26      2     FirstFooter
// A value is read only while the byte count still covers it; the rest keep their defaults.
#pragma once
#include <cstdint>

class CDataFile;

class CPageLayout {
public:
    CPageLayout() { SetBuiltInDefaults(); }
    virtual ~CPageLayout() = default;

    // Defaults, then record 3 when present; clears the changed flag.
    void Load(CDataFile& file);
    // Writes record 3 when changed and the file is open read-write; clears the changed flag.
    void Save(CDataFile& file);
    void SetBuiltInDefaults();
    void Assign(const CPageLayout& other);
    bool IsChanged() const { return m_changed; }

    int16_t GetTopMargin() const { return m_top; }
    int16_t GetLeftMargin() const { return m_left; }
    int16_t GetBottomMargin() const { return m_bottom; }
    int16_t GetRightMargin() const { return m_right; }
    int16_t GetSeparator() const { return m_separator; }
    bool GetBoldTitles() const { return m_boldTitles; }
    bool GetPrintDates() const { return m_printDates; }
    bool GetHeaderFirstPageOnly() const { return m_onlyOnFirst; }
    bool GetPrintKeywords() const { return m_printKeywords; }
    int16_t GetUnits() const { return m_units; }
    bool GetFooterOnFirstPage() const { return m_firstFooter; }

    void SetMargins(int16_t top, int16_t left, int16_t bottom, int16_t right);
    void SetSeparator(int16_t separator) { m_separator = separator; m_changed = true; }
    void SetBoldTitles(bool on) { m_boldTitles = on; m_changed = true; }
    void SetPrintDates(bool on) { m_printDates = on; m_changed = true; }
    void SetHeaderFirstPageOnly(bool on) { m_onlyOnFirst = on; m_changed = true; }
    void SetPrintKeywords(bool on) { m_printKeywords = on; m_changed = true; }
    void SetUnits(int16_t units) { m_units = units; m_changed = true; }
    void SetFooterOnFirstPage(bool on) { m_firstFooter = on; m_changed = true; }

private:
    bool m_changed = true;
    int16_t m_top = 50;
    int16_t m_left = 75;
    int16_t m_bottom = 50;
    int16_t m_right = 75;
    int16_t m_separator = 0;
    bool m_boldTitles = false;
    bool m_reserved = true;
    bool m_printDates = true;
    bool m_onlyOnFirst = false;
    bool m_printKeywords = true;
    int16_t m_units = 1;
    bool m_firstFooter = false;
};
