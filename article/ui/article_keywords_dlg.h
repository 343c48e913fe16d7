// "Keywords for Article": the user moves keywords between the available list (every keyword of the
// file not assigned) and the assigned list, types a keyword (one the file does not hold yet becomes a
// pending keyword, written when the article is stored), and may narrow the available list to the
// keywords of chosen keyword groups in a pane that opens to the left. The moves are
// CKeywordAssignment's; the dialog keeps the two lists in step with it.
//
// The dialog is resized in height only; its rectangle is remembered in the settings as if the groups
// pane were hidden, and a remembered rectangle off the desktop gives a centred dialog.
#pragma once
#include <string>

#include "article/keyword_assignment.h"
#include "article/ui/article_keyword_list.h"
#include "framework/ui/controls.h"
#include "framework/ui/dialog.h"
#include "framework/ui/dialog_keys.h"
#include "index/ui/keyword_group_list_box.h"
#include "index/ui/keyword_list_box.h"

class CAppSettings;
class CQuorvaneDoc;

class CArticleKeywordsDlg : public CDialog {
public:
    CArticleKeywordsDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    ~CArticleKeywordsDlg() override;

    // In: the article's title for the caption (empty: the template's caption), the start of the new
    // keyword, the assigned ids. Out after IDOK: the assigned ids, when IsChanged.
    std::string m_title;
    std::string m_initialText;
    CKeywordIdSet m_assigned;
    bool IsChanged() const { return m_model.IsChanged(); }

    // The settings the remembered rectangle lives in (none: not remembered).
    static void SetSettings(CAppSettings* settings);

    // For the dialog's own tests.
    CKeywordListBox& AvailableList() { return m_available; }
    CArticleKeywordList& AssignedList() { return m_assignedList; }
    CKeywordGroupListBox& GroupList() { return m_groups; }
    bool IsGroupsPaneShown() const { return m_paneShown; }
    int PaneWidth() const { return m_paneWidth; }
    const CKeywordAssignment& Model() const { return m_model; }
    RECT GetGripRect() const { return GripRect(); }
    // The assigned list's context menu as it would show now: Remove Keyword, greyed with no keyword.
    HMENU MakeAssignedMenu() const;


protected:
    bool OnInitDialog() override;
    bool OnDestroy(LRESULT& result) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnSize(UINT type, int width, int height, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Closing with OK: the typed name is assigned when such a keyword exists, the assigned ids
    // become the result, the rectangle is stored and the dialog ends. Derived dialogs that ask before
    // closing replace it; a CQuorError raised here is reported and the dialog stays.
    virtual void Finish();
    void AddTypedKeyword();
    void SaveRect();

private:
    void CreateLists();
    void Assign();
    void Unassign();
    void Clear();
    void ToggleGroupsPane();
    void ApplyGroupFilter();
    void OnNewKeywordChanged();
    void OnAvailableSelectionChanged();
    void UpdateClearButton();
    void SetEditText(const std::string& text);
    void PlaceFromSettings();
    int Ask(const std::string& text, UINT style);
    // The size grip in the lower right corner (client coordinates).
    RECT GripRect() const;
    void DrawGrip(HDC dc) const;

    CQuorvaneDoc& m_document;
    CKeywordAssignment m_model;
    CKeywordGroupListBox m_groups;
    CKeywordListBox m_available;
    CArticleKeywordList m_assignedList;
    CEditHandle m_edit;
    bool m_paneShown = false;
    int m_paneWidth = 0;
    CDialogKeys m_keys;  // the dialogs' table: Alt+O
    int m_typedLength = 0;
    bool m_completing = false;
    bool m_initialising = false;
    int m_minHeight = 0;
    int m_width = 0;
};
