#include "shell/option_store.h"

#include <gtest/gtest.h>
#include <map>

#include "shell/memory_profile_store.h"

namespace {

// Hands out a store that the test keeps and inspects.
class CStoreRef : public IProfileStore {
public:
    explicit CStoreRef(IProfileStore& target) : m_target(target) {}
    bool WriteInt(const std::string& s, const std::string& k, int v) override
    {
        return m_target.WriteInt(s, k, v);
    }
    bool WriteString(const std::string& s, const std::string& k, const std::string& v) override
    {
        return m_target.WriteString(s, k, v);
    }
    int GetInt(const std::string& s, const std::string& k, int d) override
    {
        return m_target.GetInt(s, k, d);
    }
    std::string GetString(const std::string& s, const std::string& k, const std::string& d) override
    {
        return m_target.GetString(s, k, d);
    }

private:
    IProfileStore& m_target;
};

class CFakeHost : public IOptionStoreHost {
public:
    bool IsRemovableDrive(const std::string& path) override
    {
        askedDrive = path;
        return removable;
    }
    bool FileExists(const std::string& path) override { return files.count(path) || inis.count(path); }
    bool ReadFile(const std::string& path, std::string& contents) override
    {
        auto it = files.find(path);
        if (it == files.end() || unreadable)
            return false;
        contents = it->second;
        return true;
    }
    std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
    std::unique_ptr<IProfileStore> OpenRegistry(const std::string& company, const std::string& application) override
    {
        registryKey = company + "\\" + application;
        return std::make_unique<CStoreRef>(registry);
    }
    std::unique_ptr<IProfileStore> OpenIniFile(const std::string& path) override
    {
        return std::make_unique<CStoreRef>(inis[path]);
    }

    bool removable = false;
    bool unreadable = false;
    std::string askedDrive;
    std::string registryKey;
    CMemoryProfileStore registry;
    std::map<std::string, CMemoryProfileStore> inis;
    std::map<std::string, std::string> files;
};

const char kProgram[] = "E:\\Tools\\Quorvane\\quorvane.exe";
const char kIni[] = "E:\\Tools\\Quorvane\\quorvane.ini";
const char kOldIni[] = "C:\\WINDOWS\\quorvane.INI";

struct OptionStoreTest : ::testing::Test {
    OptionStoreTest() { dirs.SetPersonalFolderSource([] { return std::string("C:\\Docs"); }); }
    CFakeHost host;
    CDirectories dirs;
    COptionStore store;
};

}  // namespace

TEST(OptionStoreNames, IniAndDefaultProfileNames)
{
    EXPECT_EQ(COptionStore::IniPathFor("E:\\Q\\quorvane.exe"), "E:\\Q\\quorvane.ini");
    EXPECT_EQ(COptionStore::IniPathFor("E:\\Q.d\\quorvane"), "E:\\Q.d\\quorvane.ini");
    EXPECT_EQ(COptionStore::DefaultProfileNameFor("E:\\Q\\quorvane.exe"), "quorvane.INI");
}

TEST_F(OptionStoreTest, RemovableDriveUsesIniEvenWithoutFile)
{
    host.removable = true;
    store.Choose(host, kProgram, dirs);
    EXPECT_TRUE(store.IsPortable());
    EXPECT_EQ(store.GetProfileName(), kIni);
    EXPECT_EQ(host.askedDrive, kProgram);
    EXPECT_TRUE(host.registryKey.empty());

    // Writes stay in memory until the flush; reads see them at once.
    store.WriteInt("Quorvane", "SortOrder", 2);
    store.WriteString("Recent Files", "File1", ".:\\a.xrd");
    EXPECT_EQ(store.GetInt("QUORVANE", "sortorder", 0), 2);
    EXPECT_TRUE(host.inis[kIni].Writes().empty());
    EXPECT_TRUE(store.FlushProfileCache());
    ASSERT_EQ(host.inis[kIni].Writes().size(), 2u);
    EXPECT_EQ(host.inis[kIni].Writes()[0].key, "SortOrder");
    EXPECT_EQ(host.inis[kIni].GetString("Recent Files", "File1", ""), ".:\\a.xrd");
}

TEST_F(OptionStoreTest, IniWrittenThenReadBeforeFlushReturnsWrittenValue)
{
    host.inis[kIni].WriteString("Quorvane", "Portable", "yes");
    host.inis[kIni].WriteString("Quorvane", "LastFileName", "old.xrd");
    store.Choose(host, kProgram, dirs);
    ASSERT_TRUE(store.IsPortable());
    EXPECT_EQ(store.GetString("Quorvane", "LastFileName", ""), "old.xrd");
    store.WriteString("Quorvane", "LastFileName", "new.xrd");
    EXPECT_EQ(store.GetString("Quorvane", "LastFileName", ""), "new.xrd");
    EXPECT_EQ(host.inis[kIni].GetString("Quorvane", "LastFileName", ""), "old.xrd");
}

TEST_F(OptionStoreTest, IniWithoutPortableValueOnFixedDriveMeansRegistry)
{
    host.inis[kIni].WriteString("Quorvane", "Portable", "");
    host.inis[kIni].WriteInt("Quorvane", "Other", 1);
    store.Choose(host, kProgram, dirs);
    EXPECT_FALSE(store.IsPortable());
    EXPECT_EQ(host.registryKey, "Harlowen Software\\Personal Quorvane");
    store.WriteInt("Quorvane", "SortOrder", 4);
    EXPECT_EQ(host.registry.GetInt("Quorvane", "SortOrder", 0), 4);
    EXPECT_TRUE(store.FlushProfileCache());
}

TEST_F(OptionStoreTest, PathWithoutDriveIsNotRemovable)
{
    host.removable = true;
    store.Choose(host, "\\\\server\\share\\quorvane.exe", dirs);
    EXPECT_FALSE(store.IsPortable());
    EXPECT_TRUE(host.askedDrive.empty());
}

TEST_F(OptionStoreTest, OldIniImportedOnceWithNumbersAndTexts)
{
    host.files[kOldIni] =
        "Orphan=1\r\n"
        "[Quorvane]\r\n"
        "  SortOrder=3  \r\n"
        "Zip=0720\r\n"
        "Negative=-12\r\n"
        "Spaced = 5\r\n"
        "Huge=4294967297\r\n"
        "\r\n"
        "no equals sign\r\n"
        "[Index Display\r\n"
        "ShowDate=0\r\n"
        "[Index Display]\n"
        "Title=a=b\n"
        "Empty=\n";
    store.Choose(host, kProgram, dirs);
    ASSERT_FALSE(store.IsPortable());

    const CMemoryProfileStore& reg = host.registry;
    struct Case {
        const char* section;
        const char* key;
        bool isText;
        const char* text;
        int number;
    } cases[] = {
        {"Quorvane", "SortOrder", false, "", 3},
        {"Quorvane", "Zip", true, "0720", 0},
        {"Quorvane", "Negative", false, "", -12},
        {"Quorvane", "Spaced ", true, " 5", 0},
        {"Quorvane", "Huge", true, "4294967297", 0},
        // The broken section line is skipped: ShowDate stays in the product section.
        {"Quorvane", "ShowDate", false, "", 0},
        {"Index Display", "Title", true, "a=b", 0},
        {"Index Display", "Empty", true, "", 0},
        {"Quorvane", "UseIni", false, "", 0},
    };
    for (const Case& c : cases) {
        const auto* v = reg.Find(c.section, c.key);
        ASSERT_NE(v, nullptr) << c.section << "/" << c.key;
        EXPECT_EQ(v->isText, c.isText) << c.key;
        if (c.isText)
            EXPECT_EQ(v->text, c.text) << c.key;
        else
            EXPECT_EQ(v->number, c.number) << c.key;
    }
    EXPECT_EQ(reg.Find("Index Display", "ShowDate"), nullptr);
    EXPECT_EQ(reg.Find("", "Orphan"), nullptr);

    // UseIni is now 0: a second start imports nothing.
    host.registry.ClearWrites();
    COptionStore again;
    again.Choose(host, kProgram, dirs);
    EXPECT_TRUE(host.registry.Writes().empty());
}

TEST_F(OptionStoreTest, UnreadableOldIniLeavesUseIniUnchanged)
{
    host.files[kOldIni] = "[Quorvane]\nSortOrder=3\n";
    host.unreadable = true;
    store.Choose(host, kProgram, dirs);
    EXPECT_TRUE(host.registry.Writes().empty());
    host.unreadable = false;
    COptionStore later;
    later.Choose(host, kProgram, dirs);
    EXPECT_EQ(host.registry.GetInt("Quorvane", "SortOrder", 0), 3);
}

TEST_F(OptionStoreTest, NoOldIniOrImportSwitchedOff)
{
    store.Choose(host, kProgram, dirs);
    EXPECT_TRUE(host.registry.Writes().empty());

    host.files[kOldIni] = "[Quorvane]\nSortOrder=3\n";
    host.registry.WriteInt("Quorvane", "UseIni", 7);
    host.registry.ClearWrites();
    COptionStore again;
    again.Choose(host, kProgram, dirs);
    EXPECT_TRUE(host.registry.Writes().empty());
}

TEST_F(OptionStoreTest, UseRootMovesFoldersToTheProgramDrive)
{
    host.files[kOldIni] =
        "[Directories]\n"
        "Quorvane Data=D:\\Before\\Data\n"  // before UseRoot: an ordinary text value
        "[QuorVane]\n"
        "UseRoot=1\n"
        "[Directories]\n"
        "Attachments=D:\\Att\n"
        "Import/Export=Relative\n"
        "Unknown=D:\\x\n";
    store.Choose(host, kProgram, dirs);
    EXPECT_TRUE(dirs.IsRootMode());
    EXPECT_EQ(host.registry.GetString("Directories", "Quorvane Data", ""), "D:\\Before\\Data");
    EXPECT_EQ(host.registry.Find("Directories", "Attachments"), nullptr);
    EXPECT_EQ(host.registry.Find("Directories", "Unknown"), nullptr);
    EXPECT_EQ(host.registry.GetInt("QuorVane", "UseRoot", 0), 1);

    EXPECT_EQ(dirs.GetFolder(CDirectories::kAttachments, true), "E:\\Att");
    EXPECT_EQ(dirs.GetFolder(CDirectories::kImportExport, true), "E:\\");
    EXPECT_EQ(dirs.GetFolder(CDirectories::kData, true), "D:\\Before\\Data");
    EXPECT_EQ(dirs.GetFolder(CDirectories::kCustomFormats, true), "C:\\Docs");
}
