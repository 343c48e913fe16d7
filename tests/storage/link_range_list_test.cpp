#include "storage/link_range_list.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

LinkRange Range(int32_t start, int32_t end, const char* target = "")
{
    LinkRange r;
    r.start = start;
    r.end = end;
    r.type = 3;
    r.target = target;
    return r;
}

CLinkRangeList List(std::vector<LinkRange> ranges)
{
    CLinkRangeList list;
    for (const LinkRange& r : ranges) list.Add(r);
    return list;
}

std::vector<int32_t> Starts(const CLinkRangeList& list)
{
    std::vector<int32_t> starts;
    LinkRange r;
    for (int i = 0; list.GetAt(i, r); ++i) starts.push_back(r.start);
    return starts;
}

}  // namespace

TEST(LinkRangeList, ShiftMovesOnlyRangesStartingAtOrAfterThePosition)
{
    CLinkRangeList list = List({Range(10, 14), Range(3, 9), Range(3, 12)});
    list.Shift(10, 5);
    LinkRange r;
    ASSERT_TRUE(list.GetAt(0, r));
    EXPECT_EQ(r.start, 15);
    EXPECT_EQ(r.end, 19);
    ASSERT_TRUE(list.GetAt(1, r));
    EXPECT_EQ(r.end, 9);
    ASSERT_TRUE(list.GetAt(2, r));
    EXPECT_EQ(r.start, 3);
    EXPECT_EQ(r.end, 12);  // only the start decides
    list.Shift(0, -3);
    EXPECT_EQ(Starts(list), (std::vector<int32_t>{12, 0, 0}));
    list.Shift(0, INT32_MAX);  // a damaged position does not overflow
}

TEST(LinkRangeList, RemoveRangeTakesStartsInsideTheHalfOpenInterval)
{
    CLinkRangeList list = List({Range(0, 4), Range(5, 20), Range(9, 10), Range(10, 12)});
    list.RemoveRange(5, 10);
    EXPECT_EQ(Starts(list), (std::vector<int32_t>{0, 10}));
}

TEST(LinkRangeList, FindAtReportsTheRangeEvenWhenTouchingIsNotAllowed)
{
    CLinkRangeList list = List({Range(0, 5), Range(10, 14)});
    int32_t start = -1, end = -1;
    int index = -9;
    EXPECT_FALSE(list.FindAt(10, start, end, index, false, true));
    EXPECT_EQ(start, 10);
    EXPECT_EQ(end, 14);
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(list.FindAt(10, start, end, index, true, true));
    EXPECT_TRUE(list.FindAt(12, start, end, index, false, false));
    EXPECT_FALSE(list.FindAt(14, start, end, index, true, false));
    EXPECT_TRUE(list.FindAt(14, start, end, index, true, true));
    EXPECT_FALSE(list.FindAt(7, start, end, index, true, true));
    EXPECT_EQ(index, -1);
}

TEST(LinkRangeList, FindOverlap)
{
    CLinkRangeList list = List({Range(10, 14), Range(20, 30)});
    int32_t start = 0, end = 0;
    int index = 0;
    EXPECT_TRUE(list.FindOverlap(12, 25, start, end, index, true, true));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(list.FindOverlap(5, 10, start, end, index, false, true));  // touches the start
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(list.FindOverlap(5, 10, start, end, index, true, true));
    EXPECT_FALSE(list.FindOverlap(14, 18, start, end, index, true, false));  // touches the end
    EXPECT_FALSE(list.FindOverlap(15, 19, start, end, index, true, true));
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(list.FindOverlap(15, 22, start, end, index, true, true));
    EXPECT_EQ(start, 20);
}

TEST(LinkRangeList, FindNextInBothDirections)
{
    CLinkRangeList list = List({Range(25, 30), Range(0, 5), Range(8, 12)});
    int32_t start = 0, end = 0;
    int index = 0;
    ASSERT_TRUE(list.FindNext(20, start, end, index, -1));
    EXPECT_EQ(start, 8);
    EXPECT_EQ(end, 12);
    EXPECT_EQ(index, 2);
    ASSERT_TRUE(list.FindNext(0, start, end, index, 1));
    EXPECT_EQ(start, 8);
    ASSERT_TRUE(list.FindNext(8, start, end, index, 0));
    EXPECT_EQ(start, 25);
    EXPECT_FALSE(list.FindNext(25, start, end, index, 1));
    EXPECT_FALSE(list.FindNext(5, start, end, index, -1));
}

TEST(LinkRangeList, SortIsStableByStart)
{
    CLinkRangeList list = List({Range(5, 6, "first"), Range(2, 3), Range(5, 9, "second"), Range(1, 1)});
    list.Sort();
    EXPECT_EQ(Starts(list), (std::vector<int32_t>{1, 2, 5, 5}));
    LinkRange r;
    list.GetAt(2, r);
    EXPECT_EQ(r.target, "first");
    list.GetAt(3, r);
    EXPECT_EQ(r.target, "second");
}

TEST(LinkRangeList, AccessOutsideTheListChangesNothing)
{
    CLinkRangeList list = List({Range(1, 2, "a")});
    LinkRange r = Range(7, 8, "keep");
    EXPECT_FALSE(list.GetAt(1, r));
    EXPECT_FALSE(list.GetAt(-1, r));
    EXPECT_EQ(r.target, "keep");
    list.SetAt(1, r);
    list.RemoveAt(5);
    EXPECT_EQ(list.GetCount(), 1);
    CLinkRangeList copy;
    copy.Copy(list);
    copy.Copy(copy);
    list.RemoveAll();
    EXPECT_EQ(copy.GetCount(), 1);
    EXPECT_EQ(list.GetCount(), 0);
}
