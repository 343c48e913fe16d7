// Opening a password-protected knowledge base through the document with the real Windows host, as
// the program does: the document runs on a thread with a main frame while the test thread answers
// the Enter Your Password dialog and the message boxes as the user would.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "document/quorvane_doc.h"
#include "document/ui/password_dlg_res.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "storage/article_record.h"
#include "storage/quor_error.h"
#include "tests/document/doc_test_support.h"
#include "tests/document/ui/test_windows_doc_host.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_main_frame.h"

namespace {
// A knowledge base that asks for its password at opening, with one private and one public article,
// written and closed through the document alone.
struct ProtectedFile {
    explicit ProtectedFile(const std::string& path)
    {
        CRecordingHost silent;
        CQuorvaneDoc doc(silent);
        created = doc.CreateNewFile(path);
        if (!created)
            return;
        doc.SetPassword("rosebud");
        doc.SetPasswordAskedAtOpen(true);
        CArticleRecord secret;
        secret.SetTitle("Safe combination");
        secret.SetRtfText("{\\rtf1 12-34-56}");
        secret.SetPrivate(true);
        privateId = doc.AddArticle(secret, false, false);
        CArticleRecord open;
        open.SetTitle("Shopping");
        doc.AddArticle(open, false, false);
        created = doc.SaveModified();
        doc.DeleteContents();
    }

    bool created = false;
    int32_t privateId = -1;
};

// Opens `path` on a thread of its own whose main window is a frame; what the open gave and what the
// document then read is kept for the test thread.
class COpeningDocument {
public:
    COpeningDocument(const std::string& path, int32_t privateId)
    {
        m_ui = std::make_unique<gui::CGuiThread>([this, path, privateId] {
            CTestMainFrame frame(m_app, "Knowledge base");
            if (!frame.Handle())
                return;
            m_frame = frame.Handle();
            CTestWindowsDocHost host;
            CQuorvaneDoc doc(host);
            opened = doc.OnOpenDocument(path) ? 1 : 0;
            if (opened) {
                m_articleCount = doc.GetArticleCount();
                try {
                    CArticleRecord record;
                    doc.LoadArticle(privateId, record);
                    m_privateText = record.GetRtfText();
                } catch (const CQuorError& error) {
                    m_privateText = error.Message();
                }
            }
            doc.DeleteContents();
        });
        dialog = gui::WaitForTopWindow("Enter Your Password");
    }
    bool Submit(const std::string& password)
    {
        return gui::SetText(gui::FindControl(dialog, IDC_EDIT_PASSWORD), password) &&
               gui::ClickButton(dialog, IDOK);
    }
    // Waits for the box with `text`, checks its owner and presses OK.
    void Answer(const std::string& text, HWND owner)
    {
        HWND box = gui::WaitForMessageBox(text);
        ASSERT_NE(box, nullptr) << text;
        EXPECT_EQ(gui::MessageBoxText(box), text);
        EXPECT_EQ(gui::GetText(box), "Personal Quorvane");
        EXPECT_EQ(::GetWindow(box, GW_OWNER), owner);
        ASSERT_TRUE(gui::ClickButton(box, IDOK));
        ASSERT_TRUE(gui::WaitFor([&] { return !::IsWindow(box); }));
    }
    bool End() { return m_ui->Join(); }

    HWND dialog = nullptr;
    HWND m_frame = nullptr;
    std::atomic<int> opened{-1};
    int m_articleCount = 0;
    std::string m_privateText;

private:
    CWinApp m_app;
    std::unique_ptr<gui::CGuiThread> m_ui;
};
}  // namespace

// A protected file, and its open started on the thread of the program's windows.
class WindowsDocHostOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_file.created);
        m_open = std::make_unique<COpeningDocument>(m_path, m_file.privateId);
        ASSERT_NE(m_open->dialog, nullptr);
    }

    CTempFolder m_folder;
    const std::string m_path = m_folder.File("Private notes.xrd");
    ProtectedFile m_file{m_path};
    std::unique_ptr<COpeningDocument> m_open;
};

TEST_F(WindowsDocHostOpen, TheRightPasswordOpensTheFileWithItsPrivateArticles)
{
    COpeningDocument& open = *m_open;
    EXPECT_EQ(gui::GetText(gui::FindControl(open.dialog, IDC_STATIC_FILE_NAME)), "File name: Private notes.xrd");
    EXPECT_EQ(::GetWindow(open.dialog, GW_OWNER), open.m_frame);
    ASSERT_TRUE(open.Submit("rosebud"));

    ASSERT_TRUE(open.End());
    EXPECT_EQ(open.opened.load(), 1);
    EXPECT_EQ(open.m_articleCount, 2);
    EXPECT_EQ(open.m_privateText, "{\\rtf1 12-34-56}");
}

TEST_F(WindowsDocHostOpen, AWrongPasswordIsToldThenTheOpenFailsWithTheInvalidPasswordMessage)
{
    COpeningDocument& open = *m_open;
    ASSERT_TRUE(open.Submit("Rosebud"));
    open.Answer(QuorLoadString(1304), open.dialog);
    open.Answer("The entered password is invalid for the file:\n" + m_path, open.m_frame);

    ASSERT_TRUE(open.End());
    EXPECT_EQ(open.opened.load(), 0);
}
