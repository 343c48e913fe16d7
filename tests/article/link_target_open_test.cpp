#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "framework/error_sink.h"
#include "storage/link_shell.h"
#include "storage/link_target.h"

namespace {

std::vector<std::string> g_messages;

void RecordMessage(const std::string& message)
{
    g_messages.push_back(message);
}

struct Call {
    std::string verb, file, parameters;
};

class CFakeShell : public ILinkShell {
public:
    std::map<std::string, bool> existing;  // path -> is a folder
    intptr_t result = 42;
    std::string folderProgram;
    bool canSearch = true;
    std::vector<int> searchAnswers;  // one per search, with the path below for answer 1
    std::string chosenPath;
    std::vector<Call> calls;
    int searches = 0;

    bool PathExists(const std::string& path, bool& isFolder) override
    {
        auto it = existing.find(path);
        if (it == existing.end()) return false;
        isFolder = it->second;
        return true;
    }
    intptr_t Execute(const char* verb, const std::string& file, const std::string& parameters) override
    {
        calls.push_back({verb ? verb : "", file, parameters});
        return result;
    }
    std::string FolderProgram() override { return folderProgram; }
    bool CanSearchMissing() override { return canSearch; }
    std::string BaseFolder() override { return "C:\\Notes"; }
    int FindMissing(std::string& path, int32_t) override
    {
        int answer = searches < static_cast<int>(searchAnswers.size()) ? searchAnswers[static_cast<size_t>(searches)] : 2;
        ++searches;
        if (answer == 1) path = chosenPath;
        if (answer == 4) existing[path] = false;  // the user put the file back
        return answer;
    }
};

class LinkTargetOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_messages.clear();
        m_previousSink = SetErrorSink(RecordMessage);
        m_previousShell = SetLinkShell(&shell);
    }
    void TearDown() override
    {
        SetErrorSink(m_previousSink);
        SetLinkShell(m_previousShell);
    }

    CFakeShell shell;

private:
    ErrorSink m_previousSink = nullptr;
    ILinkShell* m_previousShell = nullptr;
};

CLinkTarget Target(int kind, const std::string& text, int32_t article = -1)
{
    CLinkTarget t;
    t.Set(kind, text, 0, article);
    return t;
}

}  // namespace

TEST_F(LinkTargetOpen, AnExistingFileOpensThroughTheShell)
{
    shell.existing["C:\\Notes\\a.txt"] = false;
    CLinkTarget t = Target(CLinkTarget::kFile, "a.txt");
    EXPECT_EQ(t.Open(false, 0), -1);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, "open");
    EXPECT_EQ(shell.calls[0].file, "C:\\Notes\\a.txt");
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(LinkTargetOpen, AFolderOpensWithTheFolderProgramWhenOneIsSet)
{
    shell.existing["D:\\Box"] = true;
    shell.folderProgram = "C:\\Tools\\browse.exe";
    CLinkTarget t = Target(CLinkTarget::kFile, "D:\\Box");
    t.Open(false, 0);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, "");
    EXPECT_EQ(shell.calls[0].file, "C:\\Tools\\browse.exe");
    EXPECT_EQ(shell.calls[0].parameters, "\"D:\\Box\"");
}

TEST_F(LinkTargetOpen, ShellErrorsAreShownByNumber)
{
    shell.existing["D:\\x.doc"] = false;
    struct {
        intptr_t result;
        const char* message;
    } cases[] = {
        {0, "Unable to open D:\\x.doc\nError 0 - Operating system out of memory or resources."},
        {2, "Unable to open D:\\x.doc\nError 2 - File not found."},
        {11, "Error 11 - Not a valid EXE file."},
        {31, "Unable to open D:\\x.doc\nError 31 - No program has been associated with this type of file."},
        {15, "D:\\x.doc could not be opened.\nNo program has been associated with this type of file."},
    };
    for (const auto& c : cases) {
        g_messages.clear();
        shell.result = c.result;
        Target(CLinkTarget::kFile, "D:\\x.doc").Open(false, 0);
        ASSERT_EQ(g_messages.size(), 1u);
        EXPECT_EQ(g_messages[0], c.message);
    }
}

TEST_F(LinkTargetOpen, AMissingFileIsSearchedForAndTheChoiceKept)
{
    shell.searchAnswers = {1};
    shell.chosenPath = "E:\\moved\\a.txt";
    shell.existing["E:\\moved\\a.txt"] = false;
    CLinkTarget t = Target(CLinkTarget::kFile, "D:\\a.txt");
    t.Open(false, 7);
    EXPECT_EQ(shell.searches, 1);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, "E:\\moved\\a.txt");
    EXPECT_TRUE(t.IsPathCorrected());
    EXPECT_EQ(t.GetStoredTarget(), "E:\\moved\\a.txt");

    // Retry after the file came back; giving up opens nothing.
    CLinkTarget retried = Target(CLinkTarget::kFile, "D:\\b.txt");
    shell.searches = 0;
    shell.searchAnswers = {4};
    retried.Open(false, 0);
    EXPECT_EQ(shell.calls.back().file, "D:\\b.txt");
    EXPECT_FALSE(retried.IsPathCorrected());
    shell.searches = 0;
    shell.searchAnswers = {2};
    size_t callsBefore = shell.calls.size();
    Target(CLinkTarget::kFile, "D:\\c.txt").Open(false, 0);
    EXPECT_EQ(shell.calls.size(), callsBefore);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(LinkTargetOpen, WithoutAFileToChangeAMissingTargetIsReported)
{
    shell.canSearch = false;
    Target(CLinkTarget::kFile, "D:\\a.txt").Open(false, 0);
    EXPECT_EQ(shell.searches, 0);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "Unable to open D:\\a.txt\nError 2 - File not found.");
}

TEST_F(LinkTargetOpen, InternetAddresses)
{
    Target(CLinkTarget::kInternet, "http://example.org/a?b=1").Open(false, 0);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, "http://example.org/a?b=1");
    EXPECT_TRUE(g_messages.empty());

    shell.result = 2;
    Target(CLinkTarget::kInternet, "http://example.org/a?b=1").Open(true, 0);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "Unable to open http://example.org/a.\nPersonal Quorvane was unable to open your browser.\n"
                             "Please check the URL.");
}

TEST_F(LinkTargetOpen, AddressesThatCouldStartAProgramAreNotHandedToTheShell)
{
    for (const char* address : {"C:\\Windows\\system32\\cmd.exe", "calc", "javascript:alert(1)", "ms-settings:x",
                                "\\\\server\\share\\run.exe", "telnet://host", "\"C:\\x.exe\" http://a"}) {
        g_messages.clear();
        Target(CLinkTarget::kInternet, address).Open(false, 0);
        EXPECT_EQ(g_messages.size(), 1u) << address;
    }
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(SafeInternetAddress("www.example.org"), "http://www.example.org");
    EXPECT_EQ(SafeInternetAddress("FTP.example.org"), "ftp://FTP.example.org");
    EXPECT_EQ(SafeInternetAddress("MailTo:a@b.c"), "MailTo:a@b.c");
    EXPECT_EQ(SafeInternetAddress("https://x"), "https://x");
    // Nothing in an address handed on can split it into a program and its arguments.
    EXPECT_EQ(SafeInternetAddress("http://a b\"c\nd\x7f"), "http://a%20b%22c%0Ad%7F");
    EXPECT_EQ(SafeInternetAddress("www.x.org/a b"), "http://www.x.org/a%20b");
}

TEST_F(LinkTargetOpen, AnArticleTargetIsTheCallersToOpen)
{
    EXPECT_EQ(Target(CLinkTarget::kArticle, "Other", 12).Open(false, 0), 12);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(CLinkTarget().Open(false, 0), -1);
}
