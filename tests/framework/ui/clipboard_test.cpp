// A registered clipboard format carries bytes (including zeros) between two openings; the text
// format still reads as text.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "framework/ui/clipboard.h"
#include "framework/ui/frame_wnd.h"

TEST(Clipboard, RegisteredFormatsCarryBytesBetweenOpenings)
{
    CFrameWnd owner;
    ASSERT_TRUE(owner.Create("Clipboard owner", 0));
    UINT format = CClipboard::RegisterFormat("Quorvane Test Articles");
    ASSERT_NE(format, 0u);
    EXPECT_EQ(CClipboard::RegisterFormat("Quorvane Test Articles"), format);

    const std::string record("QV\0\x01\x02 record", 12);
    {
        CClipboard clipboard(owner.m_hWnd);
        ASSERT_TRUE(clipboard.IsOpen());
        ASSERT_TRUE(clipboard.Empty());
        ASSERT_TRUE(clipboard.SetData(format, record));
        ASSERT_TRUE(clipboard.SetData(CF_TEXT, std::string("plain text", 11)));
    }
    EXPECT_TRUE(CClipboard::IsFormatAvailable(format));
    CClipboard clipboard(owner.m_hWnd);
    ASSERT_TRUE(clipboard.IsOpen());
    // The system may round the block up: the record is at its start.
    EXPECT_EQ(clipboard.GetData(format).substr(0, record.size()), record);
    EXPECT_STREQ(clipboard.GetData(CF_TEXT).c_str(), "plain text");
    EXPECT_EQ(clipboard.GetData(RegisterClipboardFormatA("Quorvane Never Set")), "");
}
