// "Add Keywords To Index": the user types new keyword names (completed against the file's keywords),
// collects them in New Keywords and, on OK, the document makes them all in one batch, highlighted in
// the index list, and puts them in the groups highlighted in the groups pane when it is shown. The
// dialog grows only in height; its rectangle is remembered in the document's settings ("DialogBoxes";
// none: not remembered).
#pragma once
#include <string>
#include <vector>

#include "framework/ui/controls.h"
#include "framework/ui/dialog.h"
#include "framework/ui/dialog_keys.h"
#include "index/ui/keyword_group_list_box.h"
#include "index/ui/keyword_list_box.h"
#include "storage/id_set.h"

class CQuorvaneDoc;

class CAddKeywordsDlg : public CDialog {
public:
    explicit CAddKeywordsDlg(HWND parent = nullptr);

    // Before DoModal: the document and the list font; empties the ids made and the completion.
    void Setup(CQuorvaneDoc* document, HFONT listFont);

    // Out after IDOK: the keywords the dialog made (also those of an OK that failed half-way).
    const CKeywordIdSet& AddedIds() const { return m_addedIds; }

    // For the dialog's tests.
    CKeywordListBox& Existing() { return m_existing; }
    CKeywordGroupListBox& Groups() { return m_groups; }
    bool IsGroupsPaneShown() const { return m_groupsShown; }
    int PaneWidth() const { return m_paneWidth; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnSize(UINT type, int width, int height, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;

private:
    void OnNewKeywordChanged();
    void OnExistingSelectionChanged();
    void AddTypedName();
    void DeleteSelectedNames();
    void ClearNames();
    void ToggleGroups();
    void UpdateButtons();
    void UpdateGroupsCaption();
    void Accept(bool storeRect);
    void SetEditText(const std::string& text);
    std::vector<std::string> NewNames() const;
    void PlaceFromSettings();
    void StoreRect();
    void StretchLists(int clientHeight);

    CQuorvaneDoc* m_document = nullptr;
    HFONT m_listFont = nullptr;
    CKeywordIdSet m_addedIds;
    int m_typedLength = 0;
    std::string m_groupsCaption;
    int m_paneWidth = 0;
    bool m_groupsShown = false;
    bool m_initialising = false;
    bool m_inCompletion = false;
    int m_openingHeight = 0;
    int m_width = 0;
    int m_listBottomMargin = 0;
    CKeywordListBox m_existing;
    CKeywordGroupListBox m_groups;
    CEditHandle m_edit;
    CListBoxHandle m_newNames;
    CDialogKeys m_keys;  // table 390: Alt+O
};
