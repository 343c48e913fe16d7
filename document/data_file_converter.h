// What the document needs to bring a data file of an older format up to the current one. The
// compactor implements it; the document asks only for the conversion itself.
#pragma once
#include <string>

class IDataFileConverter {
public:
    virtual ~IDataFileConverter() = default;
    // Converts the data file at `path` in place. With `keepBackup` the original stays beside it as a
    // backup whose path is returned; without, the original is removed and the result is empty. A
    // failure raises CQuorError (code 0 when the converter has told the user already).
    virtual std::string Convert(const std::string& path, bool keepBackup) = 0;
};
