#include "framework/random_source.h"

#include <gtest/gtest.h>

namespace {

class CFixedSource : public IRandomSource {
public:
    int Next() override { return m_next++; }
    int m_next = 7;
};

}  // namespace

TEST(RandomSource, DefaultStaysInRandRangeAndTestsCanReplaceIt)
{
    for (int i = 0; i < 1000; ++i) {
        int value = GetRandomSource().Next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
    CFixedSource fixed;
    EXPECT_EQ(SetRandomSource(&fixed), nullptr);
    EXPECT_EQ(GetRandomSource().Next(), 7);
    EXPECT_EQ(GetRandomSource().Next(), 8);
    EXPECT_EQ(SetRandomSource(nullptr), &fixed);
    EXPECT_NE(&GetRandomSource(), &fixed);
}
