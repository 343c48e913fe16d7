// The option store as the program sees it: sections of named integer and text values. The registry,
// the portable INI file, the write-behind cache in front of either and the in-memory store of the tests
// all offer these four calls. Section and key names compare without regard to case. (The calls are not
// named GetProfileInt and the like: windows.h defines those names as macros.)
#pragma once
#include <string>

class IProfileStore {
public:
    virtual ~IProfileStore() = default;

    // Write results are informative only: no caller of the option store acts on a failed write.
    virtual bool WriteInt(const std::string& section, const std::string& key, int value) = 0;
    virtual bool WriteString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
    // A missing value gives the default.
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) = 0;
};

// The integer an INI file yields for `text`: empty text gives the default; otherwise optional blanks, an
// optional sign and the decimal digits that follow (none: 0), wrapped to 32 bits as the system does.
int IniTextToInt(const std::string& text, int defaultValue);

// The "%d" text of `value`.
std::string IntToText(int value);

// Option names and paths compare without regard to case, as the system compares ANSI text.
bool EqualNoCase(const std::string& a, const std::string& b);
