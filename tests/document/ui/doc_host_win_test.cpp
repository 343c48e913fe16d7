// The document's Windows host on real windows: the plain text its hidden rich-text control reads
// back from rich text, as the duplicate scan compares it; the Save dialogs for copies of the data
// file; the progress dialog; what it passes on to the application's main window, current query and
// option store.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <string>
#include <utility>

#include "document/quorvane_doc.h"
#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "index/current_query.h"
#include "resources/progress_dlg_res.h"
#include "shell/memory_profile_store.h"
#include "shell/option_store.h"
#include "storage/article_record.h"
#include "storage/keyword_record.h"
#include "tests/document/doc_fixture.h"
#include "tests/document/ui/test_windows_doc_host.h"
#include "tests/support/gui_driver.h"
#include "tests/support/running_file_dialog.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_main_frame.h"

namespace {
// Every case has a font table: the texts the program stores always carry one.
std::string Rtf(const std::string& body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
           "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 " +
           body + "}";
}
}  // namespace

TEST(WindowsDocHostPlainText, ReadsRichTextBackAsTheControlShowsIt)
{
    struct Case {
        const char* name;
        std::string rtf;
        std::string text;
    };
    const Case cases[] = {
        {"formatting", Rtf("Plain \\b bold\\b0 , {\\i italic}, \\cf1 red\\cf0 , \\f1\\fs32 big\\f0\\fs20  end"),
         "Plain bold, italic, red, big end"},
        {"paragraphs", Rtf("First\\par Second\\par\\pard\\qc Third\\par"), "First\r\nSecond\r\nThird"},
        {"special characters",
         Rtf("caf\\'e9 \\{braces\\} back\\\\slash\\tab tab \\emdash  \\ldblquote quoted\\rdblquote  \\u8364?"),
         "caf\xe9 {braces} back\\slash\ttab \x97 \x93quoted\x94 \x80"},
        {"empty document", Rtf(""), ""},
        {"nothing at all", "", ""},
    };
    // One host for all: each text replaces the one before.
    CTestWindowsDocHost host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(host.RtfToPlainText(c.rtf), c.text);
    }
    // Beyond the control's default limit of 32767 characters.
    const std::string longLine(40000, 'a');
    std::string text = host.RtfToPlainText(Rtf(longLine + "\\par tail"));
    EXPECT_EQ(text.size(), longLine.size() + 6);
    EXPECT_TRUE(text == longLine + "\r\ntail");
}

TEST(WindowsDocHostPlainText, TextsDifferingOnlyInFormattingReadTheSame)
{
    CTestWindowsDocHost host;
    const std::string plain = host.RtfToPlainText(Rtf("Prune the roses now.\\par Then water."));
    EXPECT_EQ(plain, "Prune the roses now.\r\nThen water.");
    EXPECT_EQ(host.RtfToPlainText(Rtf("\\f1\\fs28 Prune {\\b the} \\cf1 roses\\cf0  {\\ul\\i now}.\\par\\qr Then water.")),
              plain);
    EXPECT_NE(host.RtfToPlainText(Rtf("Prune the roses later.\\par Then water.")), plain);
}

TEST(WindowsDocHostPlainText, TheDuplicateScanComparesRichArticlesByTheirText)
{
    CTempFolder folder;
    CTestWindowsDocHost host;
    CQuorvaneDoc doc(host);
    ASSERT_TRUE(doc.CreateNewFile(folder.File("kb.xrd")));
    auto add = [&](const std::string& rtf) {
        CArticleRecord record;
        record.SetRichTextVersion();
        record.SetTitle("Roses");
        record.SetRtfText(rtf);
        return doc.AddArticle(record, false, false);
    };
    int32_t plain = add(Rtf("Prune the roses.\\par"));
    int32_t formatted = add(Rtf("{\\b Prune} the \\cf1 roses\\cf0 .  \\par\\par"));
    int32_t other = add(Rtf("Prune the lilacs.\\par"));
    EXPECT_TRUE(doc.AreDuplicates(plain, formatted));
    EXPECT_FALSE(doc.AreDuplicates(plain, other));
    std::vector<int32_t> runs;
    EXPECT_TRUE(doc.FindDuplicates(runs));
    EXPECT_EQ(runs, (std::vector<int32_t>{plain, formatted}));
    doc.DeleteContents();
}

namespace {
struct CHostHolder {
    CTestWindowsDocHost m_host;
};

// The host's Save dialog for a copy of `kind`, which shows `title`. The host is made before the
// dialog's thread starts and outlives it.
class CRunningCopyDialog : private CHostHolder, public CRunningFileDialog {
public:
    CRunningCopyDialog(CDocHost::DataFileCopy kind, const std::string& title, const std::string& folder)
        : CRunningFileDialog(title, [this, kind, folder](HWND) { return m_host.ChooseDataFileCopy(kind, folder); })
    {
    }
};
}  // namespace

TEST(WindowsDocHostCopyDialog, StartsInTheFolderAndAddsTheDataFileExtension)
{
    const std::pair<CDocHost::DataFileCopy, const char*> kinds[] = {
        {CDocHost::DataFileCopy::kBackup, "Save Backup As"}, {CDocHost::DataFileCopy::kCopyTo, "Copy File To"}};
    for (const auto& [kind, title] : kinds) {
        SCOPED_TRACE(title);
        CTempFolder folder;
        CRunningCopyDialog run(kind, title, folder.Path());
        ASSERT_NE(run.window, nullptr);
        EXPECT_EQ(::GetWindow(run.window, GW_OWNER), run.m_frame);
        EXPECT_EQ(gui::GetText(::GetDlgItem(run.window, cmb1)), "Personal Quorvane (*.xrd)");
        EXPECT_EQ(run.Folder(), folder.Path());
        ASSERT_TRUE(run.Choose("copy"));
        EXPECT_EQ(run.End(), folder.File("copy.xrd"));
    }
}

TEST(WindowsDocHostCopyDialog, CancelChoosesNothing)
{
    CTempFolder folder;
    CRunningCopyDialog run(CDocHost::DataFileCopy::kCopyTo, "Copy File To", folder.Path());
    ASSERT_NE(run.window, nullptr);
    ASSERT_TRUE(gui::ClickButton(run.window, IDCANCEL));
    EXPECT_EQ(run.End(), "");
}

TEST(WindowsDocHostCopyDialog, AsksBeforeReplacingAFile)
{
    CTempFolder folder;
    std::ofstream(folder.File("kb.xrd").c_str()) << "data";
    CRunningCopyDialog run(CDocHost::DataFileCopy::kBackup, "Save Backup As", folder.Path());
    ASSERT_NE(run.window, nullptr);
    // No: the dialog stays for another name.
    ASSERT_TRUE(run.ChooseAndKeepExisting("kb"));
    ASSERT_TRUE(run.Choose("kb"));
    ASSERT_TRUE(gui::AnswerMessageBox("", IDYES));
    EXPECT_EQ(run.End(), folder.File("kb.xrd"));
}

TEST(WindowsDocHostApplication, RepaintingTheMainWindowPaintsItAndItsChildrenAtOnce)
{
    CWinApp app;
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create("Repaint host", 0));
    frame.ShowWindow(SW_SHOW);
    HWND child = ::CreateWindowExA(0, "STATIC", "child", WS_CHILD | WS_VISIBLE, 10, 10, 100, 40, frame.m_hWnd,
                                   nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(child, nullptr);
    CTestWindowsDocHost host;
    // Without a main window there is nothing to paint.
    host.RepaintMainWindow();

    app.SetMainWnd(&frame);
    ::InvalidateRect(frame.m_hWnd, nullptr, TRUE);
    ::InvalidateRect(child, nullptr, TRUE);
    ASSERT_TRUE(::GetUpdateRect(child, nullptr, FALSE));
    host.RepaintMainWindow();
    EXPECT_FALSE(::GetUpdateRect(frame.m_hWnd, nullptr, FALSE));
    EXPECT_FALSE(::GetUpdateRect(child, nullptr, FALSE));
    app.SetMainWnd(nullptr);
}

TEST(WindowsDocHostApplication, TheCurrentQueryFollowsRenamedAndDeletedKeywordsAndGroups)
{
    CTempFolder folder;
    CTestWindowsDocHost host;
    CQuorvaneDoc doc(host);
    ASSERT_TRUE(doc.CreateNewFile(folder.File("kb.xrd")));
    CCurrentQuery query(&doc);
    host.SetCurrentQuery(&query);
    int32_t roses = doc.AddKeyword("roses", false);
    int32_t lilacs = doc.AddKeyword("lilacs", false);
    CKeywordGroupRecord flowers;
    flowers.SetName("flowers");
    flowers.SetKeywordIds(Keywords({roses}));
    int32_t group = doc.AddKeywordGroup(flowers);
    const std::string text = "roses AND GROUP: flowers";
    query.SetText(text);
    ASSERT_TRUE(query.Compile(text));

    doc.UpdateKeyword(roses, "tea roses", Groups({group}));
    EXPECT_EQ(query.GetText(), "\"tea roses\" AND GROUP: flowers");
    doc.LoadKeywordGroup(group, flowers);
    flowers.SetName("garden");
    doc.UpdateKeywordGroup(group, flowers);
    EXPECT_EQ(query.GetText(), "\"tea roses\" AND GROUP: garden");
    // A keyword the query does not use leaves it valid; its group goes, and the query with it.
    doc.DeleteKeywords(Keywords({lilacs}));
    EXPECT_TRUE(query.IsValid());
    doc.DeleteKeywordGroup(group);
    EXPECT_FALSE(query.IsValid());

    const std::string byKeyword = "\"tea roses\"";
    query.SetText(byKeyword);
    ASSERT_TRUE(query.Compile(byKeyword));
    doc.DeleteKeywords(Keywords({roses}));
    EXPECT_FALSE(query.IsValid());
    doc.DeleteContents();
}

TEST(WindowsDocHostApplication, SaveFileWritesTheProfileCacheOut)
{
    COptionStore options;
    auto store = std::make_unique<CMemoryProfileStore>();
    CMemoryProfileStore* written = store.get();
    options.UseStore(std::move(store), true, "quorvane.ini");
    options.WriteInt("Quorvane", "Cached", 5);
    ASSERT_EQ(written->Find("Quorvane", "Cached"), nullptr);

    CTempFolder folder;
    CTestWindowsDocHost host;
    host.SetOptionStore(&options);
    CQuorvaneDoc doc(host);
    ASSERT_TRUE(doc.CreateNewFile(folder.File("kb.xrd")));
    doc.OnFileSave();
    const CMemoryProfileStore::Value* value = written->Find("Quorvane", "Cached");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->number, 5);
    doc.DeleteContents();
}

TEST(WindowsDocHostApplication, ProgressHoldsTheMainWindowUntilItEndsAndHearsCancel)
{
    CWinApp app;
    std::atomic<HWND> frameWindow{nullptr};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> enabledAfter{false};
    CTestWindowsDocHost host;
    gui::CGuiThread ui([&] {
        CTestMainFrame frame(app, "Progress host");
        if (!frame.Handle())
            return;
        frameWindow = frame.Handle();
        host.BeginProgress("Check For Duplicate Articles", "Scanning 1 of 3", 3);
        host.StepProgress();
        // The operation goes on, pumping between its steps, until the user cancels.
        DWORD start = ::GetTickCount();
        while (!host.IsProgressCancelled() && ::GetTickCount() - start < gui::kTimeoutMs)
            host.PumpPendingMessage();
        cancelled = host.IsProgressCancelled();
        host.EndProgress();
        enabledAfter = ::IsWindowEnabled(frame.Handle()) != FALSE;
    });
    HWND progress = gui::WaitForTopWindow("Check For Duplicate Articles");
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(::GetWindow(progress, GW_OWNER), frameWindow.load());
    EXPECT_EQ(gui::GetText(gui::FindControl(progress, IDC_PROGRESS_TEXT)), "Scanning 1 of 3");
    EXPECT_FALSE(::IsWindowEnabled(frameWindow.load()));
    ASSERT_TRUE(gui::ClickButton(progress, IDCANCEL));
    ASSERT_TRUE(ui.Join());
    EXPECT_TRUE(cancelled.load());
    EXPECT_TRUE(enabledAfter.load());
    EXPECT_FALSE(::IsWindow(progress));
}
