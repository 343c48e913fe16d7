// Dialogs from resource templates on real windows: data exchange both ways with its checks, a
// property sheet whose page refuses to be left, and a wizard that chooses its next page. The dialog
// runs modally on a thread of its own; the test thread plays the user.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>
#include <atomic>
#include <string>

#include "framework/ui/common_dialogs.h"
#include "framework/ui/controls.h"
#include "framework/ui/dialog.h"
#include "framework/ui/file_dialog.h"
#include "framework/ui/property_sheet.h"
#include "tests/framework/ui/test_dialogs_res.h"
#include "tests/support/gui_driver.h"

namespace {

// The wizard buttons of the system's property sheet.
const int kApplyButton = 0x3021;
const int kBackButton = 0x3023;
const int kNextButton = 0x3024;
const int kFinishButton = 0x3025;

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(hwnd, msg, wParam, lParam);
}

bool IsChecked(HWND parent, int id)
{
    return Send(GetDlgItem(parent, id), BM_GETCHECK) == BST_CHECKED;
}

HWND FocusOfThreadOf(HWND hwnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
    return info.hwndFocus;
}

class CSettingsDlg : public CDialog {
public:
    CSettingsDlg() : CDialog(IDD_TEST_SETTINGS) {}

    std::string m_name;
    int m_count = 0;
    int m_check = 0;
    int m_radio = -1;
    int m_colour = -1;
    std::atomic<int> m_helpRequests{0};

protected:
    bool OnHelp(HELPINFO* info) override
    {
        if (info->iCtrlId == IDC_TEST_COUNT)
            ++m_helpRequests;
        return true;
    }
    bool OnInitDialog() override
    {
        CComboBoxHandle combo(GetDlgItem(IDC_TEST_COMBO));
        for (const char* colour : {"Red", "Green", "Blue"})
            combo.AddString(colour);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange& dx) override
    {
        dx.Text(IDC_TEST_NAME, m_name);
        dx.Number(IDC_TEST_COUNT, m_count, 1, 99);
        dx.Check(IDC_TEST_CHECK, m_check);
        dx.Radio(IDC_TEST_RADIO_1, m_radio);
        dx.ComboIndex(IDC_TEST_COMBO, m_colour);
    }
};

int CurrentPageIndex(HWND sheet)
{
    HWND page = reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND));
    return static_cast<int>(Send(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page)));
}

HWND CurrentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND));
}

class CNumberPage : public CPropertyPage {
public:
    CNumberPage() : CPropertyPage(IDD_TEST_PAGE_NUMBER) {}
    int m_number = 3;
    int m_okCalls = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override { dx.Number(IDC_TEST_COUNT, m_number, 1, 10); }
    void OnOK() override { ++m_okCalls; }
};

class CCheckPage : public CPropertyPage {
public:
    explicit CCheckPage(int templateId = IDD_TEST_PAGE_CHECK) : CPropertyPage(templateId) {}
    int m_check = 0;
    int m_okCalls = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override { dx.Check(IDC_TEST_CHECK, m_check); }
    void OnOK() override { ++m_okCalls; }
};

// First wizard page: "skip" jumps over the second page.
class CWizardStart : public CCheckPage {
public:
    CWizardStart() : CCheckPage(IDD_TEST_WIZARD_1) {}

protected:
    int OnWizardNext() override
    {
        if (!UpdateData(true))
            return -1;
        return m_check ? IDD_TEST_WIZARD_3 : 0;
    }
};

class CWizardName : public CPropertyPage {
public:
    CWizardName() : CPropertyPage(IDD_TEST_WIZARD_2) {}
    std::string m_name;

protected:
    void DoDataExchange(CDataExchange& dx) override { dx.Text(IDC_TEST_NAME, m_name); }
};

class CWizardEnd : public CPropertyPage {
public:
    explicit CWizardEnd(const CWizardStart& start) : CPropertyPage(IDD_TEST_WIZARD_3), m_start(start) {}

protected:
    int OnWizardBack() override { return m_start.m_check ? IDD_TEST_WIZARD_1 : 0; }

private:
    const CWizardStart& m_start;
};

}  // namespace

TEST(Dialog, ExchangesDataBothWaysAndStaysOpenOnABadNumber)
{
    CSettingsDlg dialog;
    dialog.m_name = "Alpha";
    dialog.m_count = 5;
    dialog.m_check = 1;
    dialog.m_radio = 2;
    dialog.m_colour = 1;
    std::atomic<INT_PTR> result{0};
    gui::CGuiThread ui([&] { result = dialog.DoModal(); });

    HWND box = gui::WaitForTopWindow("Test Settings");
    ASSERT_NE(box, nullptr);
    HWND count = gui::FindControl(box, IDC_TEST_COUNT);
    EXPECT_EQ(gui::GetText(gui::FindControl(box, IDC_TEST_NAME)), "Alpha");
    EXPECT_EQ(gui::GetText(count), "5");
    EXPECT_TRUE(IsChecked(box, IDC_TEST_CHECK));
    EXPECT_FALSE(IsChecked(box, IDC_TEST_RADIO_1));
    EXPECT_FALSE(IsChecked(box, IDC_TEST_RADIO_2));
    EXPECT_TRUE(IsChecked(box, IDC_TEST_RADIO_3));
    EXPECT_EQ(Send(gui::FindControl(box, IDC_TEST_COMBO), CB_GETCURSEL), 1);

    HELPINFO help = {};
    help.cbSize = sizeof help;
    help.iContextType = HELPINFO_WINDOW;
    help.iCtrlId = IDC_TEST_COUNT;
    help.hItemHandle = count;
    Send(box, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    EXPECT_EQ(dialog.m_helpRequests.load(), 1);

    struct Bad {
        const char* typed;
        const char* message;
    } bad[] = {
        {"150", "Please enter an integer between 1 and 99."},
        {"0", "Please enter an integer between 1 and 99."},
        {"12x", "Please enter an integer."},
        {"", "Please enter an integer."},
    };
    for (const Bad& b : bad) {
        ASSERT_TRUE(gui::SetText(count, b.typed));
        ASSERT_TRUE(gui::ClickButton(box, IDOK));
        ASSERT_TRUE(gui::AnswerMessageBox(b.message)) << b.typed;
        EXPECT_TRUE(IsWindowVisible(box)) << b.typed;
        EXPECT_TRUE(gui::WaitFor([&] { return FocusOfThreadOf(box) == count; })) << "focus on the bad value: " << b.typed;
    }

    gui::SetText(gui::FindControl(box, IDC_TEST_NAME), "Beta");
    gui::SetText(count, " 42 ");
    Send(gui::FindControl(box, IDC_TEST_CHECK), BM_SETCHECK, BST_UNCHECKED);
    Send(gui::FindControl(box, IDC_TEST_RADIO_3), BM_SETCHECK, BST_UNCHECKED);
    Send(gui::FindControl(box, IDC_TEST_RADIO_1), BM_SETCHECK, BST_CHECKED);
    Send(gui::FindControl(box, IDC_TEST_COMBO), CB_SETCURSEL, 2);
    ASSERT_TRUE(gui::ClickButton(box, IDOK));
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(result.load(), IDOK);
    EXPECT_EQ(dialog.m_name, "Beta");
    EXPECT_EQ(dialog.m_count, 42);
    EXPECT_EQ(dialog.m_check, 0);
    EXPECT_EQ(dialog.m_radio, 0);
    EXPECT_EQ(dialog.m_colour, 2);
}

TEST(Dialog, CancelLeavesTheFieldsAsTheyWere)
{
    CSettingsDlg dialog;
    dialog.m_name = "Alpha";
    dialog.m_count = 5;
    std::atomic<INT_PTR> result{0};
    gui::CGuiThread ui([&] { result = dialog.DoModal(); });
    HWND box = gui::WaitForTopWindow("Test Settings");
    ASSERT_NE(box, nullptr);
    gui::SetText(gui::FindControl(box, IDC_TEST_NAME), "Changed");
    ASSERT_TRUE(gui::ClickButton(box, IDCANCEL));
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(result.load(), IDCANCEL);
    EXPECT_EQ(dialog.m_name, "Alpha");
}

TEST(PropertySheet, APageWithABadValueKeepsTheUserAndOkReachesOnlyCreatedPages)
{
    CNumberPage number;
    CCheckPage check;
    CCheckPage never(IDD_TEST_PAGE_NEVER);
    CPropertySheet sheet("Test Options");
    sheet.AddPage(&number);
    sheet.AddPage(&check);
    sheet.AddPage(&never);
    std::atomic<INT_PTR> result{0};
    gui::CGuiThread ui([&] { result = sheet.DoModal(); });

    HWND window = gui::WaitForTopWindow("Test Options");
    ASSERT_NE(window, nullptr);
    HWND first = CurrentPage(window);
    HWND edit = gui::FindControl(first, IDC_TEST_COUNT);
    EXPECT_EQ(gui::GetText(edit), "3");
    EXPECT_FALSE(IsWindowVisible(gui::FindControl(window, kApplyButton))) << "no Apply button";

    gui::SetText(edit, "50");
    PostMessageA(window, PSM_SETCURSEL, 1, 0);
    ASSERT_TRUE(gui::AnswerMessageBox("Please enter an integer between 1 and 10."));
    EXPECT_EQ(CurrentPageIndex(window), 0);

    gui::SetText(edit, "7");
    PostMessageA(window, PSM_SETCURSEL, 1, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return CurrentPageIndex(window) == 1; }));
    Send(gui::FindControl(CurrentPage(window), IDC_TEST_CHECK), BM_SETCHECK, BST_CHECKED);

    ASSERT_TRUE(gui::ClickButton(window, IDOK));
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(result.load(), IDOK);
    EXPECT_EQ(number.m_number, 7);
    EXPECT_EQ(check.m_check, 1);
    EXPECT_EQ(number.m_okCalls, 1);
    EXPECT_EQ(check.m_okCalls, 1);
    EXPECT_EQ(never.m_okCalls, 0);
}

namespace {

class CHelpSheet : public CPropertySheet {
public:
    CHelpSheet() : CPropertySheet("Help Options") {}
    std::atomic<int> m_helpCommands{0};

protected:
    void OnHelpCommand() override { ++m_helpCommands; }
};

class CHelpPage : public CCheckPage {
public:
    std::atomic<int> m_pageHelp{0};

protected:
    bool OnHelp(HELPINFO* info) override
    {
        ++m_pageHelp;
        return true;
    }
};

HELPINFO HelpFor(HWND control)
{
    HELPINFO info = {};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = GetDlgCtrlID(control);
    info.hItemHandle = control;
    return info;
}

}  // namespace

TEST(PropertySheet, HelpButtonAndF1OnTheSheetsButtonsReachTheSheetAndF1OnAControlItsPage)
{
    for (int start : {7, -1}) {
        CNumberPage number;
        CHelpPage check;
        CHelpSheet sheet;
        sheet.AddPage(&number);
        sheet.AddPage(&check);
        sheet.SetActivePage(start);
        sheet.EnableHelpButton();
        std::atomic<INT_PTR> result{0};
        gui::CGuiThread ui([&] { result = sheet.DoModal(); });
        HWND window = gui::WaitForTopWindow("Help Options");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(CurrentPageIndex(window), 0) << "start page " << start << " names no page";

        HWND help = gui::FindControl(window, IDHELP);
        ASSERT_TRUE(help && IsWindowVisible(help)) << "the sheet shows a Help button";
        ASSERT_TRUE(gui::ClickButton(help));
        EXPECT_TRUE(gui::WaitFor([&] { return sheet.m_helpCommands == 1; }));

        HELPINFO onCancel = HelpFor(gui::FindControl(window, IDCANCEL));
        EXPECT_EQ(Send(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&onCancel)), TRUE);
        EXPECT_EQ(sheet.m_helpCommands, 2) << "F1 on the sheet's own button";

        PostMessageA(window, PSM_SETCURSEL, 1, 0);
        ASSERT_TRUE(gui::WaitFor([&] { return CurrentPageIndex(window) == 1; }));
        HWND box = gui::FindControl(CurrentPage(window), IDC_TEST_CHECK);
        HELPINFO onBox = HelpFor(box);
        Send(CurrentPage(window), WM_HELP, 0, reinterpret_cast<LPARAM>(&onBox));
        EXPECT_EQ(check.m_pageHelp, 1);
        EXPECT_EQ(sheet.m_helpCommands, 2) << "a page's control asks its page only";

        ASSERT_TRUE(gui::ClickButton(window, IDCANCEL));
        ASSERT_TRUE(ui.Join());
        EXPECT_EQ(result.load(), IDCANCEL);
    }
}

TEST(PropertySheet, AThreePageWizardFollowsThePagesItsPagesName)
{
    CWizardStart start;
    CWizardName name;
    CWizardEnd end(start);
    CPropertySheet sheet("Test Wizard");
    sheet.SetWizardMode();
    sheet.AddPage(&start);
    sheet.AddPage(&name);
    sheet.AddPage(&end);
    std::atomic<INT_PTR> result{0};
    gui::CGuiThread ui([&] { result = sheet.DoModal(); });

    // A wizard shows its pages' caption.
    HWND window = gui::WaitForTopWindow("Wizard");
    ASSERT_NE(window, nullptr);
    auto goes = [&](int button, int page) {
        return gui::ClickButton(window, button) && gui::WaitFor([&] { return CurrentPageIndex(window) == page; });
    };
    ASSERT_EQ(CurrentPageIndex(window), 0);
    EXPECT_FALSE(gui::ClickButton(window, kBackButton)) << "Back is disabled on the first page";

    ASSERT_TRUE(goes(kNextButton, 1));
    gui::SetText(gui::FindControl(CurrentPage(window), IDC_TEST_NAME), "Zed");
    ASSERT_TRUE(goes(kBackButton, 0));

    Send(gui::FindControl(CurrentPage(window), IDC_TEST_CHECK), BM_SETCHECK, BST_CHECKED);
    ASSERT_TRUE(goes(kNextButton, 2)) << "skips the second page";
    EXPECT_TRUE(IsWindowVisible(gui::FindControl(window, kFinishButton)));
    ASSERT_TRUE(goes(kBackButton, 0)) << "and skips it back";
    ASSERT_TRUE(goes(kNextButton, 2));

    ASSERT_TRUE(gui::ClickButton(window, kFinishButton));
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(result.load(), IDOK);
    EXPECT_EQ(start.m_check, 1);
    EXPECT_EQ(name.m_name, "Zed");
}

TEST(FileDialog, GivesTheTypedNameWithTheDefaultExtension)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    CFileDialog save(false);
    save.m_title = "Test Save";
    save.m_filter = "Text files|*.txt|All files|*.*";
    save.m_defaultExt = "txt";
    save.m_initialDir = temp;
    std::atomic<INT_PTR> result{0};
    gui::CGuiThread ui([&] { result = save.DoModal(); });

    HWND window = gui::WaitForTopWindow("Test Save");
    ASSERT_NE(window, nullptr);
    // The name box: a combo box (cmb13) in newer dialogs, an edit (edt1) in older ones.
    HWND name = gui::FindControl(window, 0x47c);
    if (!name)
        name = gui::FindControl(window, 0x480);
    ASSERT_NE(name, nullptr);
    ASSERT_TRUE(gui::SetText(name, "chosen"));
    ASSERT_TRUE(gui::ClickButton(window, IDOK));
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(result.load(), IDOK);
    const std::string suffix = "\\chosen.txt";
    ASSERT_GE(save.m_fileName.size(), suffix.size());
    EXPECT_EQ(save.m_fileName.substr(save.m_fileName.size() - suffix.size()), suffix) << save.m_fileName;
    EXPECT_EQ(save.m_filterIndex, 1);
}

TEST(CommonDialogs, ColourAndFontComeBackAsChosen)
{
    CColorDialog colour(RGB(10, 20, 30));
    colour.m_flags = CC_FULLOPEN;
    std::atomic<INT_PTR> colourResult{0};
    gui::CGuiThread colourUi([&] { colourResult = colour.DoModal(); });
    HWND colourWindow = gui::WaitForTopWindow(nullptr, "#32770");
    ASSERT_NE(colourWindow, nullptr);
    ASSERT_TRUE(gui::ClickButton(colourWindow, IDOK));
    ASSERT_TRUE(colourUi.Join());
    EXPECT_EQ(colourResult.load(), IDOK);
    EXPECT_EQ(colour.m_color, RGB(10, 20, 30)) << "OK keeps the initial colour";

    LOGFONTA initial = {};
    initial.lfHeight = -16;
    initial.lfWeight = FW_BOLD;
    lstrcpyA(initial.lfFaceName, "Arial");
    CFontDialog font(initial);
    std::atomic<INT_PTR> fontResult{0};
    gui::CGuiThread fontUi([&] { fontResult = font.DoModal(); });
    HWND fontWindow = gui::WaitForTopWindow(nullptr, "#32770");
    ASSERT_NE(fontWindow, nullptr);
    ASSERT_TRUE(gui::ClickButton(fontWindow, IDCANCEL));
    ASSERT_TRUE(fontUi.Join());
    EXPECT_EQ(fontResult.load(), IDCANCEL);
    EXPECT_EQ(font.m_font.lfWeight, FW_BOLD) << "Cancel leaves the font as it was";
}
