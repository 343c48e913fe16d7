// The marker edit in a dialog: leaving it shows a selected space at the caret, a word inserted from
// a list lands there with a new marker after it, coming back takes the marker out with the caret
// after the word, and one step of undo covers an insertion. The dialog drops the undo on every
// EN_CHANGE, as its owners do.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "controls/ui/marker_edit.h"
#include "framework/ui/dialog.h"
#include "framework/ui/list_box.h"
#include "tests/controls/ui/test_controls_res.h"
#include "tests/support/gui_driver.h"

namespace {

class CMarkerDlg : public CDialog {
public:
    CMarkerDlg() : CDialog(IDD_TEST_EDITS) {}

    CMarkerEdit m_edit;
    bool m_undoable = true;
    int m_clicks = 0;
    int m_changes = 0;  // EN_CHANGE of the edit

protected:
    bool OnInitDialog() override
    {
        m_edit.SubclassDlgItem(IDC_TEST_EDIT, m_hWnd);
        CListBoxHandle words(::GetDlgItem(m_hWnd, IDC_TEST_WORDS));
        words.AddString("gamma");
        words.AddString("delta");
        words.SetCurSel(0);
        return CDialog::OnInitDialog();
    }
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override
    {
        if (id == IDC_TEST_EDIT && code == EN_CHANGE) {
            ++m_changes;
            m_edit.ClearUndo();
        }
        if (id == IDC_TEST_INSERT && code == BN_CLICKED) {
            CListBoxHandle words(::GetDlgItem(m_hWnd, IDC_TEST_WORDS));
            if (m_undoable)
                m_edit.SaveUndoState();
            m_edit.InsertText(" " + words.GetText(words.GetCurSel()));
            // An owner that drops the undo right after the insertion keeps it all the same.
            m_edit.ClearUndo();
            ++m_clicks;
            return true;
        }
        return CDialog::OnCommand(id, code, control, result);
    }
};

class MarkerEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.Create(nullptr));
        m_edit = m_dialog.m_edit.m_hWnd;
        m_button = GetDlgItem(m_dialog.m_hWnd, IDC_TEST_INSERT);
        // "alpha beta" with the caret between the two words.
        m_dialog.m_edit.SetTextCaretAtEnd("alpha beta");
        SetFocus(m_edit);
        m_dialog.m_edit.SetSel(5, 5);
    }

    // Clicks Insert (a posted click) and waits until the dialog handled it.
    bool ClickInsert()
    {
        int before = m_dialog.m_clicks;
        return gui::ClickButton(m_button) && gui::WaitFor([&] { return m_dialog.m_clicks == before + 1; });
    }
    std::string Text() const { return gui::GetText(m_edit); }
    std::pair<int, int> Selection() const
    {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(m_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }

    CMarkerDlg m_dialog;
    HWND m_edit = nullptr;
    HWND m_button = nullptr;
};

}  // namespace

TEST_F(MarkerEditTest, AWordFromTheListLandsAtTheCaretAndTheCaretFollowsIt)
{
    SetFocus(m_button);  // the user moves to the button
    EXPECT_EQ(Text(), "alpha beta") << "the marker waits for the focus change to settle";
    ASSERT_TRUE(gui::WaitFor([&] { return m_dialog.m_edit.IsMarkerShown(); }));
    EXPECT_EQ(Text(), "alpha  beta");
    EXPECT_EQ(Selection(), std::make_pair(5, 6)) << "the marker is selected";
    EXPECT_TRUE(m_dialog.m_edit.IsMarkerShown());

    m_dialog.m_undoable = false;
    ASSERT_TRUE(ClickInsert());
    EXPECT_EQ(Text(), "alpha gamma  beta") << "the word took the marker's place, a new marker follows";
    EXPECT_EQ(Selection(), std::make_pair(11, 12));

    SetFocus(m_edit);
    EXPECT_EQ(Text(), "alpha gamma beta");
    EXPECT_EQ(Selection(), std::make_pair(11, 11)) << "the caret follows the word";
    EXPECT_FALSE(m_dialog.m_edit.IsMarkerShown());
}

TEST_F(MarkerEditTest, AnInsertionThatTakesTheFocusBackReplacesTheMarkerInOneChange)
{
    // A button pressed from the keyboard: the word goes in before any marker is made.
    SetFocus(m_button);
    int changes = m_dialog.m_changes;
    m_dialog.m_edit.SaveUndoState();
    m_dialog.m_edit.InsertTextAndFocus(" gamma");
    EXPECT_EQ(m_dialog.m_changes, changes + 1);
    EXPECT_EQ(Text(), "alpha gamma beta");
    gui::WaitFor([] { return false; }, 100);  // the marker's timer would have run
    EXPECT_EQ(Text(), "alpha gamma beta");
    EXPECT_FALSE(m_dialog.m_edit.IsMarkerShown());
    m_dialog.m_edit.Undo();
    m_dialog.m_edit.SetSel(5, 5);

    // With the marker shown, the word takes its place.
    SetFocus(m_button);
    ASSERT_TRUE(gui::WaitFor([&] { return m_dialog.m_edit.IsMarkerShown(); }));
    changes = m_dialog.m_changes;
    m_dialog.m_edit.SaveUndoState();
    EXPECT_EQ(m_dialog.m_edit.GetTextWithoutMarker(), "alpha beta");
    m_dialog.m_edit.InsertTextAndFocus(" gamma");
    EXPECT_EQ(m_dialog.m_changes, changes + 1) << "the marker stayed until the word replaced it";
    EXPECT_EQ(Text(), "alpha gamma beta");
    EXPECT_EQ(GetFocus(), m_edit);
    EXPECT_EQ(Selection(), std::make_pair(11, 11));
    EXPECT_FALSE(m_dialog.m_edit.IsMarkerShown());
    // The undo state is the text before, without the marker, the caret where the marker stood.
    m_dialog.m_edit.Undo();
    EXPECT_EQ(Text(), "alpha beta");
    EXPECT_EQ(Selection(), std::make_pair(5, 5));

    // With the focus in the edit and a selection, the selection is replaced.
    m_dialog.m_edit.SetSel(0, 5);
    m_dialog.m_edit.SaveUndoState();
    m_dialog.m_edit.InsertTextAndFocus("omega");
    EXPECT_EQ(Text(), "omega beta");
    EXPECT_EQ(Selection(), std::make_pair(5, 5));
}

TEST_F(MarkerEditTest, UndoGivesTheTextAndSelectionBack)
{
    SetFocus(m_button);
    ASSERT_TRUE(ClickInsert());
    EXPECT_TRUE(m_dialog.m_edit.CanUndo()) << "the edit's own changes kept the undo";
    ASSERT_TRUE(ClickInsert());  // a second word: the undo now covers that one
    EXPECT_EQ(Text(), "alpha gamma gamma  beta");

    SetFocus(m_edit);
    m_dialog.m_edit.Undo();
    EXPECT_EQ(Text(), "alpha gamma beta");
    EXPECT_EQ(Selection(), std::make_pair(11, 11));
    EXPECT_FALSE(m_dialog.m_edit.CanUndo()) << "one step only";
    m_dialog.m_edit.Undo();
    EXPECT_EQ(Text(), "alpha gamma beta");
}

TEST_F(MarkerEditTest, WhatTheUserTypesDropsTheUndo)
{
    SetFocus(m_button);
    ASSERT_TRUE(ClickInsert());
    SetFocus(m_edit);
    EXPECT_TRUE(m_dialog.m_edit.CanUndo());
    SendMessageA(m_edit, WM_CHAR, 'x', 1);
    EXPECT_EQ(Text(), "alpha gammax beta");
    EXPECT_FALSE(m_dialog.m_edit.CanUndo());
}

TEST_F(MarkerEditTest, ASelectionIsKeptInsteadOfAMarker)
{
    m_dialog.m_edit.SetSel(0, 5);
    SetFocus(m_button);
    EXPECT_EQ(Text(), "alpha beta");
    EXPECT_FALSE(m_dialog.m_edit.IsMarkerShown());
    SetFocus(m_edit);
    EXPECT_EQ(Selection(), std::make_pair(0, 5));
}
