#include "storage/quor_error.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "framework/error_sink.h"
#include "framework/file.h"
#include <stdexcept>

namespace {

std::vector<std::string> g_shown;
void RecordingSink(const std::string& message) { g_shown.push_back(message); }

}  // namespace

TEST(QuorError, MessageNumberAndPlaceholder)
{
    EXPECT_EQ(CQuorError(kCorruptedRecord, "C:\\a.xrd").Message(), "This data file has been corrupted:\nC:\\a.xrd");
    EXPECT_EQ(CQuorError(kCorruptedRecord).MessageId(), 1105);
    EXPECT_EQ(CQuorError(14002).MessageId(), 14002);
    EXPECT_EQ(CQuorError(kOutOfMemory, "ignored").Message().rfind("Not enough memory", 0), 0u);
    EXPECT_EQ(CQuorError(kFileNotFound).Message(), "Can not find this file:\n");
}

TEST(QuorError, ReportShowsNothingForCodeZero)
{
    ErrorSink previous = SetErrorSink(RecordingSink);
    g_shown.clear();
    CQuorError().Report();
    CQuorError(kCancelled, "cancelled").Report();
    EXPECT_TRUE(g_shown.empty());
    ReportOutOfMemory();
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0].rfind("Not enough memory to complete the requested task.", 0), 0u);
    SetErrorSink(previous);
}

TEST(QuorError, OsErrorsMapToCodes)
{
    const std::pair<long, int> cases[] = {
        {2, 101},  {3, 101},  {4, 102},  {5, 103},  {8, 1},    {19, 104}, {21, 105}, {23, 106},
        {27, 106}, {28, 100}, {29, 106}, {30, 106}, {32, 107}, {33, 107}, {36, 107}, {63, 100},
        {64, 108}, {72, 108}, {73, 100}, {0, 100},  {112, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(OsErrorToErrorCode(c.first), c.second) << "OS error " << c.first;
}

TEST(QuorError, FileExceptionsMapToCodes)
{
    struct Case {
        CFileException::Cause cause;
        long osError;
        int code;
    } cases[] = {
        {CFileException::fileNotFound, 3, 101},
        {CFileException::accessDenied, 5, 103},
        {CFileException::accessDenied, 80, 103},  // unmapped OS error: 103, not 100
        {CFileException::accessDenied, 19, 104},  // write protected keeps its own code
        {CFileException::badSeek, 0, 9},
        {CFileException::hardIO, 0, 106},
        {CFileException::sharingViolation, 0, 107},
        {CFileException::diskFull, 0, 12},
        {CFileException::endOfFile, 0, 10},
        {CFileException::genericException, 4, 102},
        {CFileException::lockViolation, 99, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileExceptionToErrorCode(CFileException(c.cause, c.osError)), c.code)
            << "cause " << c.cause << " OS error " << c.osError;
}

TEST(QuorError, RethrowTurnsFileAndMemoryFailuresIntoCodes)
{
    auto rethrown = [](auto thrown) {
        try {
            try {
                throw thrown;
            } catch (...) {
                RethrowAsQuorError("C:\\kb.xrd");
            }
        } catch (const CQuorError& e) {
            return std::make_pair(e.Code(), e.Text());
        }
        return std::make_pair(-1, std::string());
    };
    EXPECT_EQ(rethrown(CFileException(CFileException::diskFull, 112)), std::make_pair(12, std::string("C:\\kb.xrd")));
    EXPECT_EQ(rethrown(std::bad_alloc()), std::make_pair(1, std::string()));
    EXPECT_EQ(rethrown(CQuorError(kCorruptedRecord, "x")), std::make_pair(5, std::string("x")));
    EXPECT_THROW(rethrown(std::runtime_error("other")), std::runtime_error);
}
