#include "storage/md5.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string Hex(const uint8_t* digest)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 16; ++i) {
        text += kDigits[digest[i] >> 4];
        text += kDigits[digest[i] & 15];
    }
    return text;
}

std::string Md5(const std::string& message)
{
    CMD5 md5;
    md5.Init();
    md5.Update(message.data(), message.size());
    md5.Final();
    return Hex(md5.GetDigest());
}

}  // namespace

TEST(MD5, Rfc1321TestSuite)
{
    EXPECT_EQ(Md5(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(MD5, PiecewiseUpdatesAndEmptyUpdates)
{
    std::string message(1000, 'q');
    for (size_t i = 0; i < message.size(); ++i)
        message[i] = char('a' + i % 26);
    CMD5 md5;
    md5.Init();
    size_t pieces[] = {0, 1, 63, 64, 65, 0, 300, 507};
    size_t at = 0;
    for (size_t piece : pieces) {
        md5.Update(message.data() + at, piece);
        at += piece;
    }
    ASSERT_EQ(at, message.size());
    md5.Final();
    EXPECT_EQ(Hex(md5.GetDigest()), Md5(message));
}
