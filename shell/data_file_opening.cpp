#include "shell/data_file_opening.h"

#include <string>
#include <vector>

#include "framework/file.h"
#include "storage/file_system.h"
#include "storage/quor_error.h"

namespace {

constexpr int kDiskFullCode = 27;
constexpr long kFileExists = 80;  // ERROR_FILE_EXISTS

}  // namespace

void ProbeFreeSpace(const std::string& path)
{
    CFile probe;
    CFileException error(CFileException::none, 0);
    std::string probePath;
    for (int n = 1; n <= 9; ++n) {
        probePath = path + ".freespacecheck" + (n == 1 ? std::string() : std::to_string(n));
        if (probe.Open(probePath, CFile::modeWrite | CFile::shareExclusive | CFile::modeCreateNew, &error))
            break;
        if (error.m_osError != kFileExists)
            throw CQuorError(FileExceptionToErrorCode(error), probePath);
    }
    if (!probe.IsOpen())
        throw CQuorError(FileExceptionToErrorCode(error), probePath);
    bool written = true;
    try {
        const std::vector<char> zeros(kFreeSpaceProbeSize, 0);
        probe.Write(zeros.data(), kFreeSpaceProbeSize);
        probe.Flush();
        probe.Close();
    } catch (const CFileException&) {
        written = false;
        probe.Abort();
    }
    DeleteFileIfExists(probePath);
    if (!written)
        throw CQuorError(kDiskFullCode, path);
}

OpenStep DecideOpenStep(CDataFile::Format format, bool readOnly, bool openNewer)
{
    switch (format) {
    case CDataFile::kOlder:
        return readOnly ? OpenStep::kOpen : OpenStep::kConvert;
    case CDataFile::kNewerReadable:
        return readOnly || openNewer ? OpenStep::kOpen : OpenStep::kAskNewer;
    case CDataFile::kNewerUnreadable:
        return OpenStep::kNotice;
    default:
        return OpenStep::kOpen;
    }
}
