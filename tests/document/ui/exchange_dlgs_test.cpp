// The compaction and older/newer-file dialogs on real windows: each runs modally on a thread of its
// own while the test thread presses its buttons and answers its boxes.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "document/ui/compaction_dlgs.h"
#include "document/ui/exchange_dlgs_res.h"
#include "document/ui/file_format_dlgs.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "tests/support/gui_driver.h"

namespace {

template <class D>
struct CRunning {
    D dialog;
    std::atomic<INT_PTR> result{0};
    std::unique_ptr<gui::CGuiThread> ui;
    HWND window = nullptr;

    template <class... Args>
    explicit CRunning(Args&&... args) : dialog(std::forward<Args>(args)...)
    {
    }
    bool Show(const char* caption)
    {
        ui = std::make_unique<gui::CGuiThread>([this] { result = dialog.DoModal(); });
        window = gui::WaitForTopWindow(caption);
        return window != nullptr;
    }
    INT_PTR End() { return ui->Join() ? result.load() : 0; }
    HWND Focus() const
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
    }
};

}  // namespace

TEST(ExchangeDialogs, DamagedArticlesWithoutAFileAsksAndKeepsTheDialogOnNo)
{
    CRunning<CDamagedArticlesDlg> run(nullptr);
    run.dialog.m_mode = 2;
    run.dialog.m_destination = "C:\\kb\\notes.xrd";
    ASSERT_TRUE(run.Show("Damaged Articles Found"));
    EXPECT_EQ(gui::GetText(gui::FindControl(run.window, IDC_STATIC_MESSAGE)),
              QuorFormatArgs(QuorLoadString(IDS_DAMAGED_ARTICLES_FOUND), {"converting", "C:\\kb\\notes.xrd"}));
    EXPECT_EQ(run.Focus(), gui::FindControl(run.window, IDC_BUTTON_FILENAME));

    ASSERT_TRUE(gui::ClickButton(run.window, IDOK));
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(IDS_DISCARD_DAMAGED_ARTICLES), IDNO));
    ASSERT_TRUE(gui::WaitFor([&] { return run.Focus() == gui::FindControl(run.window, IDC_BUTTON_FILENAME); }));
    EXPECT_TRUE(::IsWindowVisible(run.window));

    ASSERT_TRUE(gui::ClickButton(run.window, IDOK));
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(IDS_DISCARD_DAMAGED_ARTICLES), IDYES));
    EXPECT_EQ(run.End(), IDOK);
    EXPECT_EQ(run.dialog.m_damagedPath, "");
}

TEST(ExchangeDialogs, TheReportAfterAConversionSaysConversion)
{
    CRunning<CDamagedFileReportDlg> run;
    run.dialog.m_mode = 2;
    run.dialog.m_report = "Articles Recovered: 4";
    ASSERT_TRUE(run.Show("Damaged File Report"));
    std::string heading = gui::GetText(gui::FindControl(run.window, IDC_STATIC_MESSAGE));
    EXPECT_EQ(heading.rfind("Conversion completed.", 0), 0u) << heading;
    EXPECT_EQ(gui::GetText(gui::FindControl(run.window, IDC_EDIT_REPORT)), "Articles Recovered: 4");
    ASSERT_TRUE(gui::ClickButton(run.window, IDOK));
    EXPECT_EQ(run.End(), IDOK);
}

TEST(ExchangeDialogs, CompactConvertStartsOnNoAndEndsWithTheButtonPressed)
{
    CRunning<CCompactConvertDlg> run;
    run.dialog.m_path = "C:\\old.xrd";
    ASSERT_TRUE(run.Show("Personal Quorvane"));
    EXPECT_EQ(gui::GetText(gui::FindControl(run.window, IDC_STATIC_SOURCE_PATH)), "C:\\old.xrd");
    EXPECT_EQ(run.Focus(), gui::FindControl(run.window, IDNO));
    ASSERT_TRUE(gui::ClickButton(run.window, IDYES));
    EXPECT_EQ(run.End(), IDYES);
}

TEST(ExchangeDialogs, ConvertFileOffersItsThreeChoicesStartingOnTheBackup)
{
    struct Case {
        int radio;
        int option;
    } cases[] = {{0, 1}, {IDC_RADIO_CONVERT, 0}, {IDC_RADIO_READ_ONLY, 2}};
    for (const Case& c : cases) {
        CRunning<CConvertFileDlg> run;
        ASSERT_TRUE(run.Show("Convert File"));
        EXPECT_EQ(::SendMessageA(gui::FindControl(run.window, IDC_RADIO_BACKUP_CONVERT), BM_GETCHECK, 0, 0),
                  BST_CHECKED);
        if (c.radio)
            ASSERT_TRUE(gui::ClickButton(run.window, c.radio));
        ASSERT_TRUE(gui::ClickButton(run.window, IDOK));
        EXPECT_EQ(run.End(), IDOK);
        EXPECT_EQ(run.dialog.m_option, c.option);
    }
}

TEST(ExchangeDialogs, NewerFormatDialogsNameTheVersionAndEndWithTheirButtons)
{
    for (int button : {IDC_BUTTON_OPEN_ANYWAY, IDC_BUTTON_COPY_AND_OPEN, IDC_BUTTON_OPEN_READ_ONLY, IDCANCEL}) {
        CRunning<CNewerFormatOpenDlg> run;
        run.dialog.m_versionText = "4.2";
        ASSERT_TRUE(run.Show("More Recent File Format Encountered"));
        EXPECT_EQ(gui::GetText(gui::FindControl(run.window, IDC_STATIC_NEWER_OPEN_MESSAGE)),
                  QuorFormat1(QuorLoadString(IDS_NEWER_FORMAT_READABLE), "4.2"));
        ASSERT_TRUE(gui::ClickButton(run.window, button));
        EXPECT_EQ(run.End(), button);
    }
    CRunning<CNewerFormatDlg> refused;
    refused.dialog.m_versionText = "4.2";
    ASSERT_TRUE(refused.Show("More Recent File Format Encountered"));
    EXPECT_EQ(gui::GetText(gui::FindControl(refused.window, IDC_STATIC_NEWER_MESSAGE)),
              QuorFormat1(QuorLoadString(IDS_NEWER_FORMAT_UNREADABLE), "4.2"));
    ASSERT_TRUE(gui::ClickButton(refused.window, IDCANCEL));
    EXPECT_EQ(refused.End(), IDCANCEL);
}
