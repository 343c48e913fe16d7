// The clipboard buffer on the real clipboard: a registered format written, handed over at exactly
// its size and read back; a missing format and a clipboard held by another window raise their codes,
// leave the buffer empty and never leave the clipboard open.
#include <windows.h>

#include <gtest/gtest.h>
#include <atomic>
#include <functional>

#include "controls/ui/clipboard_buffer.h"
#include "framework/ui/frame_wnd.h"
#include "storage/quor_error.h"
#include "tests/support/gui_driver.h"

namespace {

int ErrorCodeOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const CQuorError& error) {
        return error.Code();
    }
    return -1;
}

class ClipboardBufferTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_owner.Create("Clipboard owner", 0)); }

    // Puts `buffer`'s block on the clipboard as `format`; the clipboard owns it afterwards.
    void Put(UINT format, CClipboardBuffer& buffer)
    {
        ASSERT_TRUE(OpenClipboard(m_owner.m_hWnd));
        EmptyClipboard();
        HGLOBAL block = buffer.ReleaseBlock();
        ASSERT_NE(block, nullptr);
        m_handedSize = GlobalSize(block);
        EXPECT_NE(SetClipboardData(format, block), nullptr);
        CloseClipboard();
    }

    CFrameWnd m_owner;
    SIZE_T m_handedSize = 0;
};

}  // namespace

TEST_F(ClipboardBufferTest, ARegisteredFormatGoesThroughTheClipboardAndReadsBack)
{
    UINT format = RegisterClipboardFormatA("Quorvane Test Buffer");
    CClipboardBuffer out;
    out.AppendString("abc");
    out.AppendInt(7);
    out.AppendText("line");
    out.AppendNewLine();
    out.AppendNul();
    Put(format, out);
    EXPECT_EQ(m_handedSize, 15u) << "the handed block is exactly the bytes written";
    EXPECT_EQ(out.GetBlock(), nullptr) << "the buffer gave the block up";

    CClipboardBuffer in;
    in.ReadFromClipboard(format);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    ASSERT_GE(in.GetSize(), 15u);
    EXPECT_EQ(in.ReadString(), "abc");
    EXPECT_EQ(in.ReadInt(), 7);
    char text[7] = {};
    in.ReadBytes(text, 7);
    EXPECT_EQ(std::string(text, 7), std::string("line\r\n\0", 7));
    in.Free();
    EXPECT_EQ(in.GetBlock(), nullptr);
    EXPECT_FALSE(in.HasMoreData());
}

TEST_F(ClipboardBufferTest, AMissingFormatRaises23AndLeavesTheBufferEmpty)
{
    CClipboardBuffer seed;
    seed.AppendString("other");
    Put(RegisterClipboardFormatA("Quorvane Test Other"), seed);

    CClipboardBuffer buffer;
    buffer.AppendString("stale");  // a block of its own, freed by the read
    EXPECT_EQ(ErrorCodeOf([&] { buffer.ReadFromClipboard(RegisterClipboardFormatA("Quorvane Never Put")); }),
              kClipboardFormatMissing);
    EXPECT_EQ(buffer.GetBlock(), nullptr);
    EXPECT_EQ(buffer.GetSize(), 0u);
    EXPECT_FALSE(buffer.HasMoreData());
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr) << "closed after the failure";
}

TEST_F(ClipboardBufferTest, AClipboardHeldByAnotherWindowRaises21)
{
    std::atomic<bool> holding{false};
    std::atomic<bool> release{false};
    gui::CGuiThread other([&] {
        HWND window = CreateWindowExA(0, "STATIC", "Holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (OpenClipboard(window)) {
            holding = true;
            gui::WaitFor([&] { return release.load(); });
            CloseClipboard();
        }
        DestroyWindow(window);
    });
    ASSERT_TRUE(gui::WaitFor([&] { return holding.load(); }));
    CClipboardBuffer buffer;
    EXPECT_EQ(ErrorCodeOf([&] { buffer.ReadFromClipboard(CF_TEXT); }), kClipboardBusy);
    EXPECT_EQ(buffer.GetBlock(), nullptr);
    release = true;
    EXPECT_TRUE(other.Join());

    // Once free, this program opens it again: no path of the buffer left it open.
    ASSERT_TRUE(OpenClipboard(m_owner.m_hWnd));
    CloseClipboard();
}
