// The clipboard codec: the bytes each value appends, reading them back in order, growth that stays
// linear, and reads of foreign blocks that never pass the data.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "storage/memory_clipboard_codec.h"
#include "storage/quor_error.h"

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

}  // namespace

TEST(ClipboardCodec, ValuesAppendTheirBytesAndReadBackInOrder)
{
    CMemoryClipboardCodec codec;
    codec.AppendString("abc");
    codec.AppendInt(7);
    EXPECT_EQ(codec.Written(), std::string("abc\0\x07\0\0\0", 8));

    codec.AppendText("xy");
    codec.AppendNewLine();
    codec.AppendNul();
    codec.AppendInt(-2);
    const unsigned char raw[] = {0, 0xFF, 0x80};
    codec.AppendBytes(raw, sizeof raw);
    EXPECT_EQ(codec.Written(), std::string("abc\0\x07\0\0\0xy\r\n\0\xFE\xFF\xFF\xFF\0\xFF\x80", 20));

    CMemoryClipboardCodec reader(codec.Written());
    EXPECT_EQ(reader.ReadString(), "abc");
    EXPECT_EQ(reader.ReadInt(), 7);
    char text[4] = {};
    reader.ReadBytes(text, 4);
    EXPECT_EQ(std::string(text, 4), "xy\r\n");
    reader.Skip(1);
    EXPECT_EQ(reader.ReadInt(), -2);
    EXPECT_TRUE(reader.HasMoreData());
    unsigned char back[3] = {};
    reader.ReadBytes(back, 3);
    EXPECT_EQ(back[1], 0xFF);
    EXPECT_FALSE(reader.HasMoreData());
}

TEST(ClipboardCodec, EmptyTextAllocatesButAddsNothingAndNulAlwaysAddsAByte)
{
    CMemoryClipboardCodec codec;
    codec.AppendText("");
    EXPECT_EQ(codec.GetSize(), 0u);
    EXPECT_EQ(codec.Block().size(), 2u) << "the first write allocates the two-byte block";
    codec.AppendNul();
    EXPECT_EQ(codec.GetSize(), 1u);
    EXPECT_EQ(codec.Written(), std::string(1, '\0'));
    EXPECT_EQ(codec.Block().size(), 1u) << "trimmed to the data";

    CMemoryClipboardCodec none;
    EXPECT_EQ(none.ReadInt(), 0) << "no block: nothing was read in";
    EXPECT_EQ(none.ReadString(), "");
    EXPECT_FALSE(none.HasMoreData());
}

TEST(ClipboardCodec, GrowthIsGeometricAndTheHandedBlockIsExact)
{
    CMemoryClipboardCodec codec;
    const std::string chunk(100, 'q');
    for (int i = 0; i < 100000; ++i)
        codec.AppendText(chunk);
    EXPECT_EQ(codec.GetSize(), 10000000u);
    EXPECT_LT(codec.Resizes(), 40) << "each append must not resize the block";
    EXPECT_EQ(codec.Written().size(), 10000000u);
    EXPECT_EQ(codec.Block().size(), 10000000u);

    EXPECT_EQ(CClipboardCodec::GrownCapacity(2, 3), 4u);
    EXPECT_EQ(CClipboardCodec::GrownCapacity(8, 8), 8u);
    EXPECT_EQ(CClipboardCodec::GrownCapacity(8, 100), 100u);
}

TEST(ClipboardCodec, ReadsPastTheDataFailWithoutMoving)
{
    struct Case {
        const char* name;
        std::string data;
        std::function<void(CMemoryClipboardCodec&)> read;
    } cases[] = {
        {"int from 3 bytes", std::string("\1\2\3", 3), [](CMemoryClipboardCodec& c) { c.ReadInt(); }},
        {"string without NUL", "abc", [](CMemoryClipboardCodec& c) { c.ReadString(); }},
        {"bytes past the end", "abcd", [](CMemoryClipboardCodec& c) { char b[5]; c.ReadBytes(b, 5); }},
        {"skip past the end", "abcd", [](CMemoryClipboardCodec& c) { c.Skip(5); }},
        {"huge skip", "abcd", [](CMemoryClipboardCodec& c) { c.Skip(static_cast<std::size_t>(-1)); }},
        {"huge read", "abcd", [](CMemoryClipboardCodec& c) { char b[1]; c.ReadBytes(b, static_cast<std::size_t>(-3)); }},
    };
    for (auto& c : cases) {
        CMemoryClipboardCodec codec(c.data);
        EXPECT_EQ(ErrorCodeOf([&] { c.read(codec); }), kBadClipboardData) << c.name;
        EXPECT_EQ(codec.GetReadPosition(), 0u) << c.name;
    }

    // Reading the exact rest works; one more read fails.
    CMemoryClipboardCodec codec(std::string("ab\0\1\0\0\0", 7));
    EXPECT_EQ(codec.ReadString(), "ab");
    EXPECT_EQ(codec.ReadInt(), 1);
    EXPECT_EQ(ErrorCodeOf([&] { codec.ReadString(); }), kBadClipboardData);
    EXPECT_EQ(ErrorCodeOf([&] { codec.Skip(1); }), kBadClipboardData);
    codec.Skip(0);
}

TEST(ClipboardCodec, MemoryFailuresRaiseCodeOne)
{
    CMemoryClipboardCodec codec;
    codec.LimitMemory(10);
    codec.AppendText("12345678");
    EXPECT_EQ(ErrorCodeOf([&] { codec.AppendText("too much"); }), kOutOfMemory);
    EXPECT_EQ(codec.GetSize(), 8u) << "a failed write leaves what was written";

    CMemoryClipboardCodec locked(std::string("abcd\0", 5));
    locked.FailLocks(true);
    EXPECT_EQ(ErrorCodeOf([&] { locked.ReadString(); }), kOutOfMemory);
    EXPECT_EQ(ErrorCodeOf([&] { locked.AppendInt(1); }), kOutOfMemory);
}
