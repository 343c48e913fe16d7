// The texts that a data file keeps in keyed records of their own: the print header (key 2), the
// print footer (key 6) and the export header (key 7).
//
// Stored form (the content of the keyed record):
//   offset  size    meaning
//   0       4       int32 byte count n of the string field (little-endian), the NUL included
//   4       n       the text's characters and a NUL
//
// A missing record loads the default. The print header and footer also take their default when the
// stored text is empty, so a cleared header comes back as the file's title after reopening.
#pragma once
#include <string>

class CDataFile;

class CKeyedText {
public:
    virtual ~CKeyedText() = default;

    void Load(CDataFile& file);
    // Writes the record when changed and the file is open read-write; clears the changed flag.
    void Save(CDataFile& file);
    const std::string& GetText() const { return m_text; }
    void SetText(const std::string& text);
    bool IsChanged() const { return m_changed; }

protected:
    CKeyedText(int key, bool emptyTakesDefault) : m_key(key), m_emptyTakesDefault(emptyTakesDefault) {}
    virtual std::string DefaultText(CDataFile& file) const = 0;

private:
    int m_key;
    bool m_emptyTakesDefault;
    std::string m_text;
    bool m_changed = false;
};

// Print header: default is the data file's name without its folder.
class CHeaderText : public CKeyedText {
public:
    CHeaderText() : CKeyedText(2, true) {}

protected:
    std::string DefaultText(CDataFile& file) const override;
};

// Print footer: default "Page &P".
class CFooterText : public CKeyedText {
public:
    CFooterText() : CKeyedText(6, true) {}

protected:
    std::string DefaultText(CDataFile& file) const override;
};

// Export header: default empty.
class CExportHeader : public CKeyedText {
public:
    CExportHeader() : CKeyedText(7, false) {}

protected:
    std::string DefaultText(CDataFile& file) const override { return std::string(); }
};
