#include "storage/file_system.h"

#include <gtest/gtest.h>
#include <ctime>
#include <filesystem>

#include "tests/support/temp_folder.h"

TEST(FileSystem, ExistenceAndDeletion)
{
    CTempFolder folder;
    std::string file = folder.Write("a.txt", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(IsDirectory(file));
    EXPECT_FALSE(FileExists(folder.Path()));  // a folder is not a file
    EXPECT_TRUE(IsDirectory(folder.Path()));
    EXPECT_FALSE(IsDirectory(folder.File("missing")));
    EXPECT_FALSE(FileExists(folder.File("missing")));

    EXPECT_TRUE(DeleteFileIfExists(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DeleteFileIfExists(file));
    EXPECT_FALSE(DeleteFileIfExists(folder.Path()));
    EXPECT_TRUE(IsDirectory(folder.Path()));
}

TEST(FileSystem, FileDateAndTimeInLocalTime)
{
    CTempFolder folder;
    std::string file = folder.Write("a.txt", "x");
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    int32_t today = (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
    int32_t seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    // The file was written a moment ago; a missing file reads as now.
    for (const std::string& path : {file, folder.File("missing")}) {
        int32_t date = GetFileDate(path);
        int32_t time = GetFileTime(path);
        if (date == today) {  // not across midnight
            EXPECT_NEAR(time, seconds, 5) << path;
        }
        EXPECT_GE(date, today - 1) << path;
        EXPECT_GE(time, 0);
        EXPECT_LT(time, 86400);
    }
}

TEST(FileSystem, TitlesAndJoinedPaths)
{
    EXPECT_EQ(GetFileTitleNoExt("C:\\a\\report.final.txt"), "report.final");
    EXPECT_EQ(GetFileTitleNoExt("C:\\a\\archive.data"), "archive.data");
    EXPECT_EQ(GetFileTitleNoExt("notes.xrd"), "notes");
    EXPECT_EQ(GetFileTitleNoExt("C:\\a\\noext"), "noext");
    EXPECT_EQ(JoinPath("C:\\a\\", "b.txt"), "C:\\a\\b.txt");
    EXPECT_EQ(JoinPath("C:\\a", "b.txt"), "C:\\a\\b.txt");
    EXPECT_EQ(JoinPath("", "b.txt"), "\\b.txt");
}

TEST(FileSystem, UniqueFileNames)
{
    CTempFolder folder;
    const std::string& dir = folder.Path();
    EXPECT_EQ(MakeUniqueFileName(dir + "\\", "  My notes: 2020/05 ", ".txt", false), dir + "\\My_notes_2020_05_.txt");
    EXPECT_EQ(MakeUniqueFileName(dir, "a--b__c", ".rtf", false), dir + "\\a--b__c.rtf");
    folder.Write("report.txt", "");
    folder.Write("report1.txt", "");
    EXPECT_EQ(MakeUniqueFileName(dir, "report", ".txt", false), dir + "\\report2.txt");
    EXPECT_EQ(MakeUniqueFileName(dir, "report", ".txt", true), dir + "\\report.txt");
    // The title may use 240 - (folder length) characters, at most 256.
    std::string longTitle(300, 'x');
    EXPECT_EQ(MakeUniqueFileName("C:\\f", longTitle, ".txt", true), "C:\\f\\" + std::string(236, 'x') + ".txt");
    EXPECT_EQ(MakeUniqueFileName("", longTitle, "", true), "\\" + std::string(240, 'x'));
}

TEST(FileSystem, DriveQueriesNeedADriveLetter)
{
    EXPECT_FALSE(IsRemovableDrive("notes.xrd"));
    EXPECT_EQ(GetVolumeSerial("notes.xrd"), 0u);
#ifdef _WIN32
    EXPECT_FALSE(IsRemovableDrive("C:\\notes.xrd"));
#endif
}
