// CByteBuffer, CTextBuffer, CPointerStack and CStringPool.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>

#include "storage/byte_buffer.h"
#include "storage/id_set.h"
#include "storage/pointer_stack.h"
#include "storage/string_pool.h"
#include "storage/text_buffer.h"

TEST(ByteBuffer, AppendsLittleEndianFieldsAndGrowsByNeedPlus512)
{
    CByteBuffer buffer;
    buffer.AppendInt(0x01020304);
    buffer.AppendShort(-2);
    buffer.AppendString("ab");
    ASSERT_EQ(buffer.GetLength(), 9);
    const uint8_t expected[] = {4, 3, 2, 1, 0xFE, 0xFF, 'a', 'b', 0};
    EXPECT_EQ(std::memcmp(buffer.GetData(), expected, sizeof expected), 0);
}

TEST(ByteBuffer, ReadsNeverRunPastTheContent)
{
    const uint8_t bytes[] = {7, 0, 0, 0, 'h', 'i', 0, 'x', 'y', 'z'};
    CByteBuffer buffer;
    ASSERT_TRUE(buffer.SetData(bytes, sizeof bytes));
    int32_t i = -1;
    std::string s;
    EXPECT_TRUE(buffer.ReadInt(i));
    EXPECT_EQ(i, 7);
    EXPECT_TRUE(buffer.ReadString(s));
    EXPECT_EQ(s, "hi");
    i = -1;
    EXPECT_FALSE(buffer.ReadInt(i));  // three bytes left: nothing happens
    EXPECT_EQ(i, -1);
    EXPECT_EQ(buffer.GetRemaining(), 3);
    int16_t sh = 0;
    EXPECT_TRUE(buffer.ReadShort(sh));
    EXPECT_EQ(sh, 'x' | 'y' << 8);
    EXPECT_TRUE(buffer.ReadString(s));  // no NUL: ends at the end of the content
    EXPECT_EQ(s, "z");
    EXPECT_FALSE(buffer.ReadString(s));
    EXPECT_FALSE(buffer.ReadShort(sh));
}

TEST(TextBuffer, GrowsByTheStepAndKeepsItsText)
{
    CTextBuffer text(10);
    text.Append("");
    EXPECT_EQ(text.GetCapacity(), 0);
    text.Append("abc");
    EXPECT_EQ(text.GetCapacity(), 10);
    text.Append(std::string(20, 'x'));  // larger than the step: grows by the length
    EXPECT_EQ(text.GetCapacity(), 30);
    text.AppendChar('!');
    EXPECT_EQ(text.GetLength(), 24);
    EXPECT_EQ(std::string(text.GetString()), "abc" + std::string(20, 'x') + "!");
    EXPECT_EQ(text.GetAt(0), 'a');
    EXPECT_EQ(text.GetAt(24), 0);
    EXPECT_EQ(text.GetAt(-1), 0);
}

TEST(TextBuffer, TrimLowerCompareAndDeleteLeft)
{
    CTextBuffer text;
    text.SetString("  \tMixed CASE \xC9t\xC9  ");
    text.TrimSpaces();
    EXPECT_STREQ(text.GetString(), "\tMixed CASE \xC9t\xC9");
    text.MakeLower();
    EXPECT_STREQ(text.GetString(), "\tmixed case \xE9t\xE9");
    EXPECT_EQ(text.CompareNoCase("\tMIXED case \xC9T\xC9"), 0);
    EXPECT_LT(text.CompareNoCase("\tz"), 0);

    text.SetString("    ");
    text.TrimSpaces();
    EXPECT_EQ(text.GetLength(), 0);

    text.SetString("abcd");
    text.DeleteLeft(1);
    EXPECT_STREQ(text.GetString(), "bcd");
    text.DeleteLeft(3);  // n equal to the length: empty, buffer kept
    EXPECT_EQ(text.GetLength(), 0);
    EXPECT_GT(text.GetCapacity(), 0);
    text.SetString("ab");
    text.DeleteLeft(3);  // beyond the length: freed
    EXPECT_EQ(text.GetCapacity(), 0);
}

TEST(PointerStack, PopsInReverseAndFreesTheRest)
{
    CPointerStack stack;
    EXPECT_EQ(stack.Pop(), nullptr);
    void* a = std::malloc(8);
    void* b = std::malloc(8);
    stack.Push(a);
    stack.Push(b);
    stack.Push(std::malloc(16));  // freed by the destructor (LeakSanitizer would see it otherwise)
    void* top = stack.Pop();
    std::free(top);
    EXPECT_EQ(stack.Pop(), b);
    std::free(b);
    EXPECT_EQ(stack.GetCount(), 1);
}

TEST(StringPool, SlotsAndNegativeIds)
{
    CStringPool pool;
    EXPECT_EQ(pool.GetFirstPosition(), -1);
    EXPECT_EQ(pool.Add("alpha"), -1);
    EXPECT_EQ(pool.Add("beta"), -2);
    EXPECT_EQ(pool.Add("gamma"), -3);
    EXPECT_EQ(pool.Add("BETA"), -2);  // found case-insensitively
    EXPECT_EQ(pool.Find("Gamma"), -3);
    EXPECT_EQ(pool.Find("delta"), kNoneId);
    pool.Remove(-1);
    EXPECT_EQ(pool.Get(-1), "");
    EXPECT_EQ(pool.Add("delta"), -1);  // reuses slot 0
    EXPECT_EQ(pool.Get(-1), "delta");
    EXPECT_EQ(pool.Get(-4), "");
    EXPECT_EQ(pool.Get(5), "");

    pool.Remove(-2);
    std::vector<int32_t> walked;
    for (int32_t pos = pool.GetFirstPosition(); pos >= 0;)
        walked.push_back(pool.GetNext(pos));
    EXPECT_EQ(walked, (std::vector<int32_t>{-1, -3}));
    int32_t past = 7;
    EXPECT_EQ(pool.GetNext(past), 0);
    EXPECT_EQ(past, -1);

    pool.Remove(-1);
    pool.Remove(-3);
    EXPECT_EQ(pool.GetCount(), 0);
    EXPECT_EQ(pool.Add("again"), -1);  // the array was emptied
}
