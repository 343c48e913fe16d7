#include "shell/directories.h"

#include <gtest/gtest.h>

#include "shell/memory_profile_store.h"

namespace {

const char kProgram[] = "E:\\Apps\\Quorvane\\quorvane.exe";

CDirectories PortableOn(const char* programPath)
{
    CDirectories d;
    d.SetPersonalFolderSource([] { return std::string(); });
    d.SetDrive(programPath);
    d.SetPortable(true);
    return d;
}

}  // namespace

TEST(Directories, ValueNamesAndBadIndexes)
{
    CDirectories d;
    EXPECT_EQ(d.GetCount(), 4);
    EXPECT_EQ(d.GetValueName(0), "Quorvane Data");
    EXPECT_EQ(d.GetValueName(1), "Import/Export");
    EXPECT_EQ(d.GetValueName(2), "Attachments");
    EXPECT_EQ(d.GetValueName(3), "Custom Import Formats");
    EXPECT_EQ(d.GetValueName(4), "");
    EXPECT_EQ(d.GetValueName(-1), "");
    d.SetFolder(4, "C:\\x");
    d.SetConfiguredFolder(-1, "C:\\x");
    EXPECT_EQ(d.GetFolder(4, true), "");
    EXPECT_EQ(d.GetExpandedFolder(-1), "");
    EXPECT_EQ(d.GetDrive(), "C");
}

TEST(Directories, DriveRelativeConversions)
{
    CDirectories d = PortableOn(kProgram);
    struct Case {
        const char* path;
        const char* stored;
    } cases[] = {
        {"E:\\Notes\\Data", ".:\\Notes\\Data"},
        {"e:\\x", ".:\\x"},  // drive letters compare without regard to case
        {"F:\\Other", "F:\\Other"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"E", "E"},
        {"", ""},
        {"E:", ".:"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(d.MakeDriveRelative(c.path, false), c.stored) << c.path;

    EXPECT_EQ(d.ExpandDriveRelative(".:\\Notes"), "E:\\Notes");
    EXPECT_EQ(d.ExpandDriveRelative("."), ".");
    EXPECT_EQ(d.ExpandDriveRelative(".\\x"), ".\\x");

    // Not portable: only a forced conversion makes the path drive-relative.
    CDirectories fixed;
    fixed.SetDrive(kProgram);
    EXPECT_EQ(fixed.MakeDriveRelative("E:\\Notes", false), "E:\\Notes");
    EXPECT_EQ(fixed.MakeDriveRelative("E:\\Notes", true), ".:\\Notes");
}

TEST(Directories, PortablePathsFollowTheProgramToAnotherDrive)
{
    CMemoryProfileStore store;
    CDirectories onE = PortableOn(kProgram);
    onE.Load(store, kProgram, true);
    onE.SetConfiguredFolder(CDirectories::kData, "E:\\Notes\\Data");
    onE.SetConfiguredFolder(CDirectories::kImportExport, "F:\\Other");
    onE.Save(store);
    EXPECT_EQ(store.GetString("Directories", "Quorvane Data", ""), ".:\\Notes\\Data");
    EXPECT_EQ(store.GetString("directories", "import/export", ""), "F:\\Other");

    CDirectories onG = PortableOn("G:\\quorvane.exe");
    onG.Load(store, "G:\\quorvane.exe", true);
    EXPECT_EQ(onG.GetFolder(CDirectories::kData, true), "G:\\Notes\\Data");
    EXPECT_EQ(onG.GetFolder(CDirectories::kData, false), ".:\\Notes\\Data");
    EXPECT_EQ(onG.GetExpandedFolder(CDirectories::kData), "G:\\Notes\\Data");
    EXPECT_EQ(onG.GetExpandedFolder(CDirectories::kImportExport), "F:\\Other");
}

TEST(Directories, LoadTakesDefaultForEmptyAndOverlongValues)
{
    CMemoryProfileStore store;
    store.WriteString("Directories", "Quorvane Data", "D:\\Data");
    store.WriteString("Directories", "Attachments", std::string(260, 'a'));
    store.WriteString("Directories", "Custom Import Formats", std::string(259, 'b'));

    CDirectories d;
    d.SetPersonalFolderSource([] { return std::string("C:\\Users\\me\\Documents"); });
    d.Load(store, kProgram, true);
    EXPECT_TRUE(d.IsLoaded());
    EXPECT_EQ(d.GetFolder(0, true), "D:\\Data");
    EXPECT_EQ(d.GetFolder(1, true), "C:\\Users\\me\\Documents");
    EXPECT_EQ(d.GetFolder(2, true), "C:\\Users\\me\\Documents");
    EXPECT_EQ(d.GetFolder(3, true), std::string(259, 'b'));

    // Without use-default an empty value stays empty; without a documents folder the program's folder
    // is the default.
    CDirectories noDefault;
    noDefault.SetPersonalFolderSource([] { return std::string(); });
    noDefault.Load(store, kProgram, false);
    EXPECT_EQ(noDefault.GetFolder(1, true), "");
    EXPECT_EQ(noDefault.GetFolder(2, true), "E:\\Apps\\Quorvane");
    EXPECT_EQ(noDefault.DefaultFolder("C:\\q.exe"), "C:");
    EXPECT_EQ(noDefault.DefaultFolder("q.exe"), "");
}

TEST(Directories, CurrentPathFollowsFileDialogs)
{
    CDirectories d = PortableOn(kProgram);
    CMemoryProfileStore store;
    d.Load(store, kProgram, false);

    d.SetFolderFromPath(0, "C:\\file.xrd", 3);
    EXPECT_EQ(d.GetExpandedFolder(0), "C:\\");
    d.SetFolderFromPath(0, "C:\\Data\\file.xrd", 8);
    EXPECT_EQ(d.GetExpandedFolder(0), "C:\\Data");
    d.SetFolderFromPath(0, "E:\\Data\\file.xrd", 8);
    EXPECT_EQ(d.GetExpandedFolder(0), "E:\\Data");
    // A length past the end of the text takes the whole text and reads no further.
    d.SetFolderFromPath(1, "E:\\In\\", 400);
    EXPECT_EQ(d.GetExpandedFolder(1), "E:\\In");
    // The configured path is untouched by the dialogs and is what Save writes.
    EXPECT_EQ(d.GetFolder(0, false), "");
    d.Save(store);
    EXPECT_EQ(store.GetString("Directories", "Quorvane Data", "unset"), "");
}

TEST(Directories, SaveNeedsLoadAndSetByValueNameIgnoresCase)
{
    CMemoryProfileStore store;
    CDirectories d;
    d.SetPersonalFolderSource([] { return std::string(); });
    EXPECT_TRUE(d.SetFolderByValueName("ATTACHMENTS", "C:\\Att"));
    EXPECT_FALSE(d.SetFolderByValueName("Pictures", "C:\\Pic"));
    EXPECT_EQ(d.GetFolder(CDirectories::kAttachments, false), "C:\\Att");
    d.Save(store);
    EXPECT_TRUE(store.Writes().empty());
}

TEST(Directories, MoveToProgramDriveInRootMode)
{
    CMemoryProfileStore store;
    store.WriteString("Directories", "Custom Import Formats", "D:\\Formats");
    store.ClearWrites();
    CDirectories d;
    d.SetPersonalFolderSource([] { return std::string(); });
    d.SetFolderByValueName("Quorvane Data", "C:\\Old\\Data");
    d.SetFolderByValueName("Import/Export", "relative\\folder");

    d.MoveToProgramDrive(store, kProgram);
    EXPECT_TRUE(d.IsRootMode());
    EXPECT_TRUE(d.IsLoaded());
    EXPECT_EQ(d.GetFolder(0, true), "E:\\Old\\Data");
    EXPECT_EQ(d.GetFolder(1, true), "E:\\");
    // Empty entries are read from the store (and given the default when the store has none).
    EXPECT_EQ(d.GetFolder(2, true), "E:\\Apps\\Quorvane");
    EXPECT_EQ(d.GetFolder(3, true), "D:\\Formats");
    EXPECT_EQ(d.GetExpandedFolder(0), "E:\\Old\\Data");
    // Root mode writes nothing back.
    EXPECT_TRUE(store.Writes().empty());
}

TEST(Directories, ServesLinkTargetsAsTheirPathConverter)
{
    CDirectories d = PortableOn(kProgram);
    const ILinkPathConverter& converter = d;
    EXPECT_EQ(converter.MakeDriveRelative("E:\\Att\\a.txt"), ".:\\Att\\a.txt");
    EXPECT_EQ(converter.ExpandDriveRelative(".:\\Att\\a.txt"), "E:\\Att\\a.txt");
    d.SetPortable(false);
    EXPECT_EQ(converter.MakeDriveRelative("E:\\Att\\a.txt"), "E:\\Att\\a.txt");
}
