#include "shell/profile_cache.h"

#include <gtest/gtest.h>

#include "shell/memory_profile_store.h"

TEST(ProfileCache, WrittenValueReadsBackBeforeFlushWhileStoreKeepsOldOne)
{
    CMemoryProfileStore store;
    store.WriteInt("Quorvane", "SortOrder", 1);
    store.WriteString("Quorvane", "LastFileName", "old.xrd");
    store.ClearWrites();
    CProfileCache cache;

    cache.SetInt("QUORVANE", "sortorder", 3);
    cache.SetString("quorvane", "LastFileName", "new.xrd");

    EXPECT_EQ(cache.GetInt(store, "Quorvane", "SortOrder", 0), 3);
    EXPECT_EQ(cache.GetString(store, "QuorVane", "LASTFILENAME", ""), "new.xrd");
    EXPECT_EQ(store.GetInt("Quorvane", "SortOrder", 0), 1);
    EXPECT_EQ(store.GetString("Quorvane", "LastFileName", ""), "old.xrd");
    EXPECT_TRUE(store.Writes().empty());
}

TEST(ProfileCache, MissingEntryFallsThroughToStoreWithDefaultAndAddsNothing)
{
    CMemoryProfileStore store;
    store.WriteInt("Date", "ShowTime", 1);
    CProfileCache cache;
    cache.SetInt("Date", "Other", 5);

    EXPECT_EQ(cache.GetInt(store, "Date", "ShowTime", 7), 1);
    EXPECT_EQ(cache.GetInt(store, "Date", "Absent", 7), 7);
    EXPECT_EQ(cache.GetString(store, "Nowhere", "Absent", "dflt"), "dflt");
    ASSERT_EQ(cache.Sections().size(), 1u);
    EXPECT_EQ(cache.Sections()[0]->entries.size(), 1u);
}

TEST(ProfileCache, FlushWritesInCreationOrderAndKeepsEntries)
{
    CMemoryProfileStore store;
    CProfileCache cache;
    cache.SetInt("B", "b1", 1);
    cache.SetString("A", "a1", "x");
    cache.SetInt("b", "B2", 2);
    cache.SetInt("B", "B1", 10);  // rewrites b1 in place: its position stays first
    cache.SetString("A", "a1", "y");

    ASSERT_TRUE(cache.Flush(store));
    const auto& w = store.Writes();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].section + "/" + w[0].key, "B/b1");
    EXPECT_EQ(w[0].number, 10);
    EXPECT_FALSE(w[0].isText);
    EXPECT_EQ(w[1].section + "/" + w[1].key, "B/B2");
    EXPECT_EQ(w[2].section + "/" + w[2].key, "A/a1");
    EXPECT_TRUE(w[2].isText);
    EXPECT_EQ(w[2].text, "y");

    // Still cached after the flush; a second flush writes the same again.
    EXPECT_EQ(cache.GetInt(store, "B", "b1", 0), 10);
    cache.Flush(store);
    EXPECT_EQ(store.Writes().size(), 6u);
}

TEST(ProfileCache, ValueOfTheOtherKindConvertsAsTheIniWould)
{
    CMemoryProfileStore store;
    CProfileCache cache;
    cache.SetString("S", "text", " -42abc");
    cache.SetString("S", "word", "abc");
    cache.SetString("S", "empty", "");
    cache.SetInt("S", "number", -7);

    EXPECT_EQ(cache.GetInt(store, "S", "text", 9), -42);
    EXPECT_EQ(cache.GetInt(store, "S", "word", 9), 0);
    EXPECT_EQ(cache.GetInt(store, "S", "empty", 9), 9);
    EXPECT_EQ(cache.GetString(store, "S", "number", ""), "-7");

    // A key that changes kind is written with its latest kind.
    cache.SetInt("S", "text", 5);
    cache.Flush(store);
    const auto* v = store.Find("S", "text");
    ASSERT_NE(v, nullptr);
    EXPECT_FALSE(v->isText);
    EXPECT_EQ(v->number, 5);
}

TEST(ProfileCache, IniTextToIntTable)
{
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"0720", 720}, {"12", 12}, {"+3", 3}, {"\t 8", 8}, {"-", 0}, {"x1", 0}, {"2147483648", INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IniTextToInt(c.text, -1), c.expected) << c.text;
    EXPECT_EQ(IniTextToInt("", -1), -1);
}
