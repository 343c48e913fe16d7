#include "framework/recent_file_list.h"

#include <gtest/gtest.h>

#include <map>

TEST(RecentFileList, NewestFirstNoRepeatsAtMostItsSizeAndKeptAcrossRuns)
{
    CRecentFileList list(4);
    for (const char* p : {"C:\\a.xrd", "C:\\b.xrd", "C:\\c.xrd", "C:\\d.xrd", "C:\\e.xrd", "c:\\C.XRD"})
        list.Add(p);
    ASSERT_EQ(list.GetSize(), 4);
    EXPECT_EQ(list.GetEntry(0), "c:\\C.XRD");
    EXPECT_EQ(list.GetEntry(1), "C:\\e.xrd");
    EXPECT_EQ(list.GetEntry(3), "C:\\b.xrd");
    EXPECT_EQ(list.GetEntry(4), "");
    list.Remove(1);
    list.Remove(9);
    EXPECT_EQ(list.GetSize(), 3);

    std::map<std::string, std::string> stored;
    list.Save([&](const std::string& s, const std::string& k, const std::string& v) { stored[s + "/" + k] = v; });
    EXPECT_EQ(stored["Recent File List/File1"], "c:\\C.XRD");
    EXPECT_EQ(stored["Recent File List/File4"], "");
    CRecentFileList again(4);
    again.Load([&](const std::string& s, const std::string& k) { return stored[s + "/" + k]; });
    ASSERT_EQ(again.GetSize(), 3);
    EXPECT_EQ(again.GetEntry(2), "C:\\b.xrd");
}

TEST(RecentFileList, MenuTextNumbersEscapesAndShortensLongPaths)
{
    CRecentFileList list(4);
    list.Add("C:\\Notes\\R&D.xrd");
    EXPECT_EQ(list.MenuText(0), "&1 C:\\Notes\\R&&D.xrd");
    list.Add("C:\\Users\\someone\\Documents\\Knowledge\\Projects\\2026\\Quarterly\\notes.xrd");
    EXPECT_EQ(list.MenuText(0, 40), "&1 C:\\...\\Projects\\2026\\Quarterly\\notes.xrd");
    list.Add("\\\\server\\share\\very long folder name indeed\\and another\\file.xrd");
    EXPECT_EQ(list.MenuText(0, 40), "&1 \\\\server\\share\\...\\and another\\file.xrd");
    EXPECT_EQ(list.MenuText(2), "&3 C:\\Notes\\R&&D.xrd");
}
