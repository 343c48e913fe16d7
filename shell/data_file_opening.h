// The decisions of File > New and of the open-document routine that need no window: the free-space
// probe before a new data file is made, and what to do with a file of each header format.
#pragma once
#include <string>

#include "storage/data_file.h"

// Bytes the disk must take before a new data file is created there.
constexpr int kFreeSpaceProbeSize = 10240;

// Writes kFreeSpaceProbeSize bytes to a new file named like `path` with ".freespacecheck" appended
// and removes it again. A file of that name is never replaced: the probe takes the first of
// ".freespacecheck", ".freespacecheck2" ... ".freespacecheck9" that does not exist, and leaves a
// user's file alone. The probe file is removed on every path. A failed write raises CQuorError 27
// with `path`; a failed create raises the file error's code with the probe's path.
void ProbeFreeSpace(const std::string& path);

// What the open-document routine does with a file whose header probe answered `format`.
enum class OpenStep {
    kOpen,       // let the document open it (current format, or not a data file: the open reports it)
    kConvert,    // an older file to be converted first
    kAskNewer,   // the newer-format choices
    kNotice,     // the newer-format notice; the file is not opened
};
OpenStep DecideOpenStep(CDataFile::Format format, bool readOnly, bool openNewer);
