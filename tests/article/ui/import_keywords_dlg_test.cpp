// Keywords for Imported Articles on real windows: its caption, Enter in a list that holds keywords
// moving them, Enter in an empty list closing with the chosen set.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "article/ui/article_keywords_dlg_res.h"
#include "article/ui/import_keywords_dlg.h"
#include "document/quorvane_doc.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

TEST(ImportKeywordsDlg, EnterMovesFromAListWithKeywordsAndClosesFromAnEmptyOne)
{
    CTempFolder folder;
    CRecordingHost host;
    CQuorvaneDoc document(host);
    ASSERT_TRUE(document.CreateNewFile(folder.File("import.xrd")));
    int32_t apple = document.AddKeyword("apple", false);
    int32_t pear = document.AddKeyword("pear", false);

    std::atomic<INT_PTR> result{-2};
    std::vector<int32_t> chosen;
    {
        gui::CGuiThread ui([&] {
            CImportKeywordsDlg dialog(document);
            dialog.m_assigned.Add(pear);
            result = dialog.DoModal();
            chosen = dialog.m_assigned.Values();
        });
        HWND dialog = gui::WaitForTopWindow("Keywords for Imported Articles");
        ASSERT_NE(dialog, nullptr);
        auto focus = [&](int id) {
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
        };
        HWND available = GetDlgItem(dialog, IDC_KEYWORDS_AVAILABLE);
        HWND assigned = GetDlgItem(dialog, IDC_KEYWORDS_ASSIGNED);
        // Enter in Assigned (it holds pear): pear goes back, the dialog stays.
        SendMessageA(assigned, LB_SETSEL, TRUE, 0);
        focus(IDC_KEYWORDS_ASSIGNED);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(SendMessageA(assigned, LB_GETCOUNT, 0, 0), 0);
        // Enter in Available with apple highlighted: apple is assigned.
        SendMessageA(available, LB_SETSEL, FALSE, -1);
        SendMessageA(available, LB_SETSEL, TRUE, 0);
        focus(IDC_KEYWORDS_AVAILABLE);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(SendMessageA(assigned, LB_GETCOUNT, 0, 0), 1);
        // Pear back in, then Available is empty: Enter there closes with the set.
        SendMessageA(available, LB_SETSEL, TRUE, 0);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(SendMessageA(available, LB_GETCOUNT, 0, 0), 0);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(ui.Join());
    }
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(chosen, (std::vector<int32_t>{apple, pear}));
    document.DeleteContents();
}
