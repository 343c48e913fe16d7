#include "shell/recent_files.h"

#include <gtest/gtest.h>
#include <vector>

#include "shell/memory_profile_store.h"

namespace {

std::vector<std::string> Entries(const CRecentFiles& r)
{
    std::vector<std::string> out;
    std::string path;
    for (int i = 0; r.GetAt(i, path); ++i)
        out.push_back(path);
    return out;
}

struct RecentFilesTest : ::testing::Test {
    RecentFilesTest()
    {
        dirs.SetDrive("E:\\quorvane.exe");
        dirs.SetPortable(true);
        recent.SetPortable(true);
    }
    CDirectories dirs;
    CRecentFiles recent{dirs};
};

using List = std::vector<std::string>;

}  // namespace

TEST_F(RecentFilesTest, AtMostFourMostRecentFirst)
{
    for (const char* p : {"a.xrd", "b.xrd", "c.xrd", "d.xrd", "e.xrd"})
        recent.Add(p);
    EXPECT_EQ(recent.GetCount(), 4);
    EXPECT_EQ(Entries(recent), (List{"e.xrd", "d.xrd", "c.xrd", "b.xrd"}));
    std::string path = "untouched";
    EXPECT_FALSE(recent.GetAt(4, path));
    EXPECT_FALSE(recent.GetAt(-1, path));
    EXPECT_EQ(path, "untouched");
}

TEST_F(RecentFilesTest, ReAddedPathInAnyCaseMovesToTopWithoutCopy)
{
    for (const char* p : {"c:\\data\\a.xrd", "c:\\b.xrd", "c:\\c.xrd"})
        recent.Add(p);
    ASSERT_EQ(Entries(recent), (List{"c:\\c.xrd", "c:\\b.xrd", "c:\\data\\a.xrd"}));
    recent.Add("C:\\DATA\\A.XRD");
    EXPECT_EQ(Entries(recent), (List{"C:\\DATA\\A.XRD", "c:\\c.xrd", "c:\\b.xrd"}));
    // The top entry again, and a full list with its last entry re-added.
    recent.Add("C:\\data\\a.xrd");
    recent.Add("d.xrd");
    recent.Add("C:\\B.XRD");
    EXPECT_EQ(Entries(recent), (List{"C:\\B.XRD", "d.xrd", "C:\\data\\a.xrd", "c:\\c.xrd"}));
}

TEST_F(RecentFilesTest, RemoveByIndexAndByPath)
{
    for (const char* p : {"a", "b", "c", "d"})
        recent.Add(p);
    recent.Remove(1);  // c
    recent.Remove(7);
    recent.Remove(-1);
    EXPECT_EQ(Entries(recent), (List{"d", "b", "a"}));
    EXPECT_TRUE(recent.RemovePath("B"));
    EXPECT_FALSE(recent.RemovePath("zz"));
    EXPECT_EQ(Entries(recent), (List{"d", "a"}));
}

TEST_F(RecentFilesTest, SaveAndLoadDriveRelative)
{
    CMemoryProfileStore store;
    recent.Add("F:\\elsewhere.xrd");
    recent.Add("E:\\Notes\\n.xrd");
    recent.Save(store);
    EXPECT_EQ(store.GetString("Recent Files", "File1", ""), ".:\\Notes\\n.xrd");
    EXPECT_EQ(store.GetString("Recent Files", "File2", ""), "F:\\elsewhere.xrd");
    EXPECT_EQ(store.GetString("Recent Files", "File3", "x"), "");
    EXPECT_EQ(store.GetString("Recent Files", "File4", "x"), "");

    // On another drive letter the list follows the program; empty values are passed over.
    store.WriteString("Recent Files", "File2", "");
    store.WriteString("Recent Files", "File4", "F:\\last.xrd");
    CDirectories onG;
    onG.SetDrive("G:\\quorvane.exe");
    onG.SetPortable(true);
    CRecentFiles loaded(onG);
    loaded.SetPortable(true);
    loaded.Load(store);
    EXPECT_EQ(Entries(loaded), (List{"G:\\Notes\\n.xrd", "F:\\last.xrd"}));
}

TEST_F(RecentFilesTest, RegistryUseKeepsAndWritesNothing)
{
    CMemoryProfileStore store;
    store.WriteString("Recent Files", "File1", "C:\\a.xrd");
    store.ClearWrites();
    CRecentFiles registry(dirs);
    registry.Add("C:\\b.xrd");
    registry.Load(store);
    registry.Save(store);
    EXPECT_EQ(registry.GetCount(), 0);
    EXPECT_TRUE(store.Writes().empty());
}

namespace {

// The framework's list: most recent first, at most four, re-adding moves up (any case).
class CFakeMenu : public IRecentFileMenu {
public:
    int GetSize() const override { return static_cast<int>(entries.size()); }
    std::string GetEntry(int index) const override
    {
        return index >= 0 && index < GetSize() ? entries[static_cast<size_t>(index)] : std::string();
    }
    void Add(const std::string& path) override
    {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (EqualNoCase(entries[i], path)) {
                entries.erase(entries.begin() + static_cast<long>(i));
                break;
            }
        }
        entries.insert(entries.begin(), path);
        if (entries.size() > 4)
            entries.pop_back();
    }
    void Remove(int index) override { entries.erase(entries.begin() + index); }
    List entries;
};

}  // namespace

TEST_F(RecentFilesTest, MenuFilledFromProfileOnlyWhenEmpty)
{
    CMemoryProfileStore store;
    store.WriteString("Recent Files", "File1", "C:\\one.xrd");
    store.WriteString("Recent Files", "File2", "C:\\two.xrd");
    store.WriteString("Recent Files", "File4", "C:\\four.xrd");
    CFakeMenu menu;
    FillRecentFilesFromProfile(menu, store);
    EXPECT_EQ(menu.entries, (List{"C:\\one.xrd", "C:\\two.xrd", "C:\\four.xrd"}));

    CFakeMenu used;
    used.entries = {"C:\\mine.xrd"};
    FillRecentFilesFromProfile(used, store);
    EXPECT_EQ(used.entries, (List{"C:\\mine.xrd"}));
}

TEST_F(RecentFilesTest, PortableMenuIsRebuiltFromOwnList)
{
    CMemoryProfileStore store;
    store.WriteString("Recent Files", "File1", ".:\\Notes\\a.xrd");
    store.WriteString("Recent Files", "File2", "F:\\b.xrd");
    CFakeMenu menu;
    menu.entries = {"C:\\stale1.xrd", "C:\\stale2.xrd"};
    RebuildRecentFilesFromOwnList(menu, recent, store);
    EXPECT_EQ(menu.entries, (List{"E:\\Notes\\a.xrd", "F:\\b.xrd"}));
}

TEST_F(RecentFilesTest, OpeningARecentFile)
{
    dirs.SetConfiguredFolder(CDirectories::kData, "E:\\Data");
    CFakeMenu menu;
    menu.entries = {"E:\\x.xrd", "plain.xrd", "E:\\gone.xrd"};
    std::vector<std::string> opened;
    auto open = [&](const std::string& p) {
        opened.push_back(p);
        return p != "E:\\gone.xrd" && p != "E:\\locked.xrd";
    };
    auto exists = [](const std::string& p) { return p != "E:\\gone.xrd"; };

    // A bare name is taken in the data folder; an opened file goes on top of the program's list.
    OpenRecentFile(1, menu, recent, dirs, open, exists);
    EXPECT_EQ(opened, (List{"E:\\Data\\plain.xrd"}));
    EXPECT_EQ(Entries(recent), (List{"E:\\Data\\plain.xrd"}));

    // A missing file leaves both lists; the program's list loses it by path although its index differs.
    recent.Add("E:\\GONE.XRD");
    recent.Add("E:\\other.xrd");
    OpenRecentFile(2, menu, recent, dirs, open, exists);
    EXPECT_EQ(menu.entries, (List{"E:\\x.xrd", "plain.xrd"}));
    EXPECT_EQ(Entries(recent), (List{"E:\\other.xrd", "E:\\Data\\plain.xrd"}));

    // A file that exists but did not open stays in both lists; an index past the list does nothing.
    menu.entries.push_back("E:\\locked.xrd");
    OpenRecentFile(2, menu, recent, dirs, open, exists);
    OpenRecentFile(9, menu, recent, dirs, open, exists);
    EXPECT_EQ(menu.entries.size(), 3u);
    EXPECT_EQ(recent.GetCount(), 2);
}
