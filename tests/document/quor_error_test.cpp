#include "document/quor_error.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "framework/error_sink.h"

namespace {

std::vector<std::string> g_shown;
void RecordingSink(const std::string& message) { g_shown.push_back(message); }

}  // namespace

TEST(QuorError, MessageNumberAndPlaceholder)
{
    EXPECT_EQ(CQuorError(5, "C:\\a.xrd").Message(), "This data file has been corrupted:\nC:\\a.xrd");
    EXPECT_EQ(CQuorError(5).MessageId(), 1105);
    EXPECT_EQ(CQuorError(14002).MessageId(), 14002);
    EXPECT_EQ(CQuorError(1, "ignored").Message().rfind("Not enough memory", 0), 0u);
    EXPECT_EQ(CQuorError(101).Message(), "Can not find this file:\n");
}

TEST(QuorError, ReportShowsNothingForCodeZero)
{
    ErrorSink previous = SetErrorSink(RecordingSink);
    g_shown.clear();
    CQuorError().Report();
    CQuorError(0, "cancelled").Report();
    EXPECT_TRUE(g_shown.empty());
    ReportOutOfMemory();
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0].rfind("Not enough memory to complete the requested task.", 0), 0u);
    SetErrorSink(previous);
}
