#include "framework/file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

TEST(File, WritesReadsAndSeeks)
{
    CTempFolder folder;
    CFile file;
    ASSERT_TRUE(file.Open(folder.File("a.bin"), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive));
    file.Write("hello world", 11);
    EXPECT_EQ(file.GetLength(), 11u);
    EXPECT_EQ(file.Seek(6, CFile::begin), 6u);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);  // a short read at the end is not an error
    EXPECT_EQ(std::string(buffer), "world");
    EXPECT_EQ(file.Seek(-2, CFile::end), 9u);
    file.Write("LD!", 3);
    file.Close();
    EXPECT_EQ(folder.Read("a.bin"), "hello worLD!");
    EXPECT_FALSE(file.IsOpen());
}

TEST(File, FailuresCarryCauseAndOsError)
{
    CTempFolder folder;
    CFile file;
    CFileException error(CFileException::none, 0);
    EXPECT_FALSE(file.Open(folder.File("missing.bin"), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_osError, 2);
    EXPECT_EQ(error.m_fileName, folder.File("missing.bin"));

    EXPECT_FALSE(file.Open(folder.Path(), CFile::modeRead, &error));  // a folder is not a file
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);

    file.Open(folder.File("a.bin"), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
    EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);
}

TEST(File, ShareModesExcludeOtherOpeners)
{
    CTempFolder folder;
    std::string path = folder.Write("a.bin", "x");
    CFile first, second;
    CFileException error(CFileException::none, 0);
    ASSERT_TRUE(first.Open(path, CFile::modeReadWrite | CFile::shareExclusive));
    EXPECT_FALSE(second.Open(path, CFile::modeRead | CFile::shareDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    first.Close();

    ASSERT_TRUE(first.Open(path, CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_TRUE(second.Open(path, CFile::modeRead | CFile::shareDenyWrite));  // two readers
    second.Close();
    EXPECT_FALSE(second.Open(path, CFile::modeReadWrite | CFile::shareExclusive, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

TEST(File, OsErrorsMapToCauses)
{
    struct Case {
        long osError;
        CFileException::Cause cause;
    } cases[] = {{2, CFileException::fileNotFound},   {3, CFileException::badPath},
                 {5, CFileException::accessDenied},   {25, CFileException::badSeek},
                 {30, CFileException::hardIO},        {32, CFileException::sharingViolation},
                 {38, CFileException::endOfFile},     {112, CFileException::diskFull},
                 {9999, CFileException::genericException}};
    for (const Case& c : cases)
        EXPECT_EQ(CFileException::OsErrorToCause(c.osError), c.cause) << c.osError;
}
