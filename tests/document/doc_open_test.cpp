// Opening a knowledge base with the application's settings, folders and print choices around it;
// copies of data files and keyed records; the conversion of older data files.
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "document/data_file_converter.h"
#include "export/print_options.h"
#include "framework/string_table.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/memory_profile_store.h"
#include "storage/file_system.h"
#include "storage/keyed_record_stream.h"
#include "tests/document/doc_fixture.h"

namespace {

// The host that also records the recent-file list and the repaints.
class COpenHost : public CRecordingHost {
public:
    void AddToRecentFiles(const std::string& path) override { m_recent.push_back(path); }
    void RepaintMainWindow() override { ++m_repaints; }

    std::vector<std::string> m_recent;
    int m_repaints = 0;
};

// Records each conversion; fails with `m_failure` when it is set.
class CFakeConverter : public IDataFileConverter {
public:
    std::string Convert(const std::string& path, bool keepBackup) override
    {
        m_calls.push_back({path, keepBackup});
        if (m_failCode >= 0)
            throw CQuorError(m_failCode, path);
        return keepBackup ? path + ".bak" : std::string();
    }
    std::vector<std::pair<std::string, bool>> m_calls;
    int m_failCode = -1;
};

std::string ReadKeyedBlock(CDataFile& file, int key)
{
    CKeyedRecordStream stream;
    stream.Open(&file, key, CRecordStream::kRead);
    std::vector<uint8_t> bytes = stream.ReadByteBlock();
    stream.Close();
    return std::string(bytes.begin(), bytes.end());
}

void WriteKeyedBlock(CDataFile& file, int key, const std::string& bytes)
{
    CKeyedRecordStream stream;
    stream.Open(&file, key, CRecordStream::kRewrite);
    stream.WriteByteBlock(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Close();
}

}  // namespace

class DocOpen : public DocFixture {
protected:
    DocOpen()
    {
        m_directories.Load(m_store, "C:\\Q\\quorvane.exe", false);
        m_directories.SetConfiguredFolder(CDirectories::kAttachments, "C:\\Att");
        m_directories.SetFolder(CDirectories::kAttachments, "C:\\LastDialog");
        m_directories.SetFolder(CDirectories::kData, "C:\\Start");
    }

    void NewDoc()
    {
        m_doc = std::make_unique<CQuorvaneDoc>(m_openHost);
        Attach();
        m_doc->SetSettings(&m_settings);
        m_doc->SetDirectories(&m_directories);
        m_doc->SetPrintOptions(&m_printOptions);
    }
    void CreateFile()
    {
        NewDoc();
        ASSERT_TRUE(m_doc->CreateNewFile(m_path));
    }
    bool OpenFile()
    {
        NewDoc();
        return m_doc->OnOpenDocument(m_path);
    }

    COpenHost m_openHost;
    CMemoryProfileStore m_store;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_store, m_fonts, m_directories};
    CPrintOptions m_printOptions;
};

TEST_F(DocOpen, OpeningTakesThePrintChoicesOfTheFilesPageLayout)
{
    const std::pair<bool, bool> cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (auto [dates, keywords] : cases) {
        SCOPED_TRACE(testing::Message() << "dates " << dates << ", keywords " << keywords);
        CreateFile();
        m_doc->GetPageLayout().SetPrintDates(dates);
        m_doc->GetPageLayout().SetPrintKeywords(keywords);
        Close();
        m_printOptions.SetIncludeDates(!dates);
        m_printOptions.SetIncludeKeywords(!keywords);
        m_printOptions.SetCopies(3);

        ASSERT_TRUE(OpenFile());
        EXPECT_EQ(m_printOptions.GetIncludeDates(), dates);
        EXPECT_EQ(m_printOptions.GetIncludeKeywords(), keywords);
        EXPECT_EQ(m_printOptions.GetCopies(), 3);  // the run's other choices stay
        EXPECT_TRUE(m_printOptions.GetIncludeTitles());
        Close();
        DeleteFileIfExists(m_path);
    }
}

TEST_F(DocOpen, OpeningSetsTheAttachmentsFolderByTheFilesLinkLocation)
{
    struct Case {
        int16_t mode;
        const char* path;
        std::string expected;
    } cases[] = {
        {0, "", "C:\\Att"},                 // the configured attachments folder
        {1, "", m_folder.Path()},           // the data file's own folder
        {2, "D:\\Links", "D:\\Links"},      // the folder the file names
        {2, "", "C:\\Att"},                 // named none: the configured folder again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", path '" << c.path << "'");
        CreateFile();
        m_settings.SetLinkLocationMode(c.mode);
        m_settings.SetLinkLocationPath(c.path);
        Close();
        m_directories.SetFolder(CDirectories::kAttachments, "C:\\LastDialog");

        ASSERT_TRUE(OpenFile());
        EXPECT_EQ(m_directories.GetExpandedFolder(CDirectories::kAttachments), c.expected);
        // The configured folder is the user's choice in Preferences; opening a file never changes it.
        EXPECT_EQ(m_directories.GetFolder(CDirectories::kAttachments, true), "C:\\Att");
        Close();
        DeleteFileIfExists(m_path);
    }
}

TEST_F(DocOpen, OnlyAFileThatOpensGoesOnTheRecentList)
{
    CreateFile();
    m_doc->SetPassword("pw");
    m_doc->SetPasswordAskedAtOpen(true);
    Close();
    EXPECT_TRUE(m_openHost.m_recent.empty());  // creating is the application's to record

    m_openHost.m_password = "wrong";
    EXPECT_FALSE(OpenFile());
    EXPECT_TRUE(m_openHost.m_recent.empty());

    m_openHost.m_password = "pw";
    ASSERT_TRUE(OpenFile());
    EXPECT_EQ(m_openHost.m_recent, std::vector<std::string>{m_path});
}

TEST_F(DocOpen, BackupAndCopyStartInTheDataFolderAndMoveItToTheChosenOne)
{
    CreateFile();
    AddArticle("content", Keywords({m_doc->AddKeyword("k", false)}));
    std::string closedFile = m_folder.Write("closed.xrd", std::string(40000, 'q'));  // more than 2 blocks
    std::filesystem::create_directory(NativePath(m_folder.File("out")));

    using Copy = CDocHost::DataFileCopy;
    struct Case {
        bool backup;
        std::string source;
        const char* title;
        Copy kind;
    } cases[] = {
        {true, m_path, "Save Backup As", Copy::kBackup},
        {false, m_path, "Copy File To", Copy::kCopyTo},
        {true, closedFile, "Save Backup As", Copy::kBackup},
        {false, closedFile, "Copy File To", Copy::kCopyTo},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.title << " of " << c.source);
        m_directories.SetFolder(CDirectories::kData, "C:\\Start");
        m_openHost.m_copyDialogs.clear();
        m_openHost.m_copyTarget = m_folder.File("out\\copy" + std::to_string(n++) + ".xrd");

        bool copied = c.backup ? m_doc->BackUpFile(c.source) : m_doc->CopyFileTo(c.source);
        ASSERT_TRUE(copied);
        ASSERT_EQ(m_openHost.m_copyDialogs.size(), 1u);
        EXPECT_EQ(m_openHost.m_copyDialogs[0].first, c.kind);
        EXPECT_EQ(m_openHost.m_copyDialogs[0].second, "C:\\Start");
        EXPECT_EQ(m_directories.GetExpandedFolder(CDirectories::kData), m_folder.File("out"));
        if (c.source == closedFile) {
            EXPECT_EQ(ReadBytes(m_openHost.m_copyTarget), ReadBytes(closedFile));
        }
    }
    Close();  // the open file is held exclusively; its copies are compared once it is closed
    EXPECT_EQ(ReadBytes(m_folder.File("out\\copy0.xrd")), ReadBytes(m_path));
    EXPECT_EQ(ReadBytes(m_folder.File("out\\copy1.xrd")), ReadBytes(m_path));
    EXPECT_TRUE(m_errors.Messages().empty());
}

TEST_F(DocOpen, ACancelledOrRefusedCopyLeavesTheFilesAlone)
{
    CreateFile();
    std::string closedFile = m_folder.Write("closed.xrd", "older bytes");

    // Cancelled: nothing copied and the data folder stays.
    m_openHost.m_copyTarget.clear();
    EXPECT_FALSE(m_doc->CopyFileTo(closedFile));
    EXPECT_EQ(m_directories.GetExpandedFolder(CDirectories::kData), "C:\\Start");

    // Another file copied onto the open data file: refused, the open file keeps working.
    m_openHost.m_copyTarget = m_path;
    EXPECT_FALSE(m_doc->CopyFileTo(closedFile));
    EXPECT_EQ(m_errors.Messages().size(), 1u);
    EXPECT_NE(AddArticle("still writable", Keywords({})), kNoneId);
    EXPECT_EQ(CheckOpenFile(), "");

    // A missing source is reported and leaves no target behind.
    m_openHost.m_copyTarget = m_folder.File("copy.xrd");
    EXPECT_FALSE(m_doc->BackUpFile(m_folder.File("missing.xrd")));
    EXPECT_EQ(m_errors.Messages().size(), 2u);
    EXPECT_FALSE(FileExists(m_folder.File("copy.xrd")));
}

TEST_F(DocOpen, CopyKeyedRecordCopiesTheBytesExactlyAndSkipsAMissingRecord)
{
    CreateFile();
    std::string bytes;
    for (int i = 0; i < 1500; ++i)  // three blocks, every byte value
        bytes += static_cast<char>(i * 7);
    WriteKeyedBlock(m_doc->GetDataFile(), 13, bytes);

    CDataFile other;
    other.Create(m_folder.File("other.xrd"));
    ASSERT_TRUE(m_doc->CopyKeyedRecord(13, other));
    EXPECT_EQ(ReadKeyedBlock(other, 13), bytes);
    int32_t keys = other.GetKeyCount();

    // Copied again it replaces the record instead of adding a second entry for the key.
    WriteKeyedBlock(m_doc->GetDataFile(), 13, "short");
    ASSERT_TRUE(m_doc->CopyKeyedRecord(13, other));
    EXPECT_EQ(ReadKeyedBlock(other, 13), "short");
    EXPECT_EQ(other.GetKeyCount(), keys);

    EXPECT_FALSE(m_doc->CopyKeyedRecord(14, other));
    EXPECT_EQ(CKeyedRecordStream::FindKey(&other, 14), kNoneId);
    EXPECT_EQ(other.GetKeyCount(), keys);
    EXPECT_TRUE(m_errors.Messages().empty());
    other.Close();
}

// The way an export of private articles into a new file works: the record key and the password
// record travel with the articles, so that the new file opens with the same password.
TEST_F(DocOpen, AFileGivenTheRecordKeyReadsPrivateArticlesCopiedIntoIt)
{
    CreateFile();
    m_doc->SetPassword("pw");
    CArticleRecord original;
    original.SetTitle("Secret");
    original.SetRtfText("{\\rtf1 behind the password}");
    original.SetPrivate(true);
    int32_t id = m_doc->AddArticle(original, false, false);
    CArticleRecord record;
    m_doc->LoadArticle(id, record);

    std::string otherPath = m_folder.File("other.xrd");
    CDataFile other;
    other.Create(otherPath);
    try {
        record.WriteNew(other);
        ADD_FAILURE() << "a masked record was written without the record key";
    } catch (const CQuorError& error) {
        EXPECT_EQ(error.Code(), kWrongPassword);
    }
    m_doc->CopyRecordKey(other);
    int32_t copied = record.WriteNew(other);
    ASSERT_TRUE(m_doc->CopyKeyedRecord(CFilePassword::kPasswordKey, other));
    other.Close();

    CDataFile reopened;
    reopened.Open(otherPath, true);
    CFilePassword password;
    password.Load(reopened);
    CArticleRecord locked;
    EXPECT_THROW(locked.Read(reopened, copied), CQuorError);
    ASSERT_TRUE(password.Verify("pw"));
    CArticleRecord back;
    back.Read(reopened, copied);
    EXPECT_EQ(back.GetTitle(), "Secret");
    EXPECT_EQ(back.GetRtfText(), "{\\rtf1 behind the password}");
    EXPECT_TRUE(back.IsPrivate());
    reopened.Close();
}

TEST_F(DocOpen, ConvertingAnOlderFileFollowsTheUsersChoice)
{
    const std::string backupMessage =
        "The following temporary backup data file was created during the conversion process:\n\n%1\n\n"
        "You may delete this temporary backup file if you no longer need it.\n\n"
        "Personal Quorvane will now open the converted data file.";
    struct Case {
        const char* name;
        int choice;
        bool converterInstalled;
        int failCode;  // -1: the conversion works
        bool backupChosen;
        bool mayOpen;
        bool readOnly;
        std::vector<bool> conversions;  // keepBackup of each conversion made
        bool informsBackup;
        bool informsFailure;
        bool reportsError;
    } cases[] = {
        {"cancel", -1, true, -1, true, false, false, {}, false, false, false},
        {"convert", 0, true, -1, true, true, false, {true}, true, false, false},
        {"back up, then convert", 1, true, -1, true, true, false, {false}, false, false, false},
        {"backup cancelled", 1, true, -1, false, false, false, {}, false, false, false},
        {"read-only", 2, true, -1, true, true, true, {}, false, false, false},
        {"failing conversion", 0, true, 5, true, false, false, {true}, false, false, true},
        {"conversion cancelled", 0, true, 0, true, false, false, {true}, false, false, false},
        {"no converter", 0, false, -1, true, false, false, {}, false, true, false},
        {"no converter, backup", 1, false, -1, true, false, false, {}, false, true, false},
        {"no converter, read-only", 2, false, -1, true, true, true, {}, false, false, false},
    };
    std::string oldPath = m_folder.File("old.xrd");
    {
        CDataFile old;
        old.Create(oldPath, 300);
        old.Close();
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewDoc();  // no file is open while an older one is offered for conversion
        CFakeConverter converter;
        converter.m_failCode = c.failCode;
        if (c.converterInstalled)
            m_doc->SetConverter(&converter);
        m_openHost = COpenHost();
        m_openHost.m_conversionChoice = c.choice;
        std::string backupPath = m_folder.File("backup.xrd");
        m_openHost.m_copyTarget = c.backupChosen ? backupPath : std::string();
        m_errors.Messages().clear();

        bool readOnly = false;
        EXPECT_EQ(m_doc->ConvertOldFile(oldPath, readOnly), c.mayOpen);
        EXPECT_EQ(readOnly, c.readOnly);
        EXPECT_EQ(m_openHost.m_conversionAsked, std::vector<std::string>{oldPath});
        std::vector<bool> conversions;
        for (const auto& call : converter.m_calls) {
            EXPECT_EQ(call.first, oldPath);
            conversions.push_back(call.second);
        }
        EXPECT_EQ(conversions, c.conversions);

        std::vector<std::string> informed;
        if (c.informsBackup)
            informed.push_back(QuorFormat1(backupMessage, oldPath + ".bak"));
        if (c.informsFailure)
            informed.push_back("Conversion of " + oldPath + " was unsuccessful.");
        EXPECT_EQ(m_openHost.m_informed, informed);
        EXPECT_EQ(m_errors.Messages().size(), c.reportsError ? 1u : 0u);

        // The user's backup is made only on its way to a conversion, and is an exact copy.
        bool backupMade = c.choice == 1 && c.backupChosen && c.converterInstalled;
        EXPECT_EQ(FileExists(backupPath), backupMade);
        if (backupMade) {
            EXPECT_EQ(ReadBytes(backupPath), ReadBytes(oldPath));
        }
        DeleteFileIfExists(backupPath);

        EXPECT_EQ(m_openHost.m_repaints, 1);
        Close();
    }
}
