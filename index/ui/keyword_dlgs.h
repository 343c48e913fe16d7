// The keyword dialogs of the index window. Each only shows and chooses, data in and data out; the
// view renames, deletes, merges and assigns through the document.
//   CEditKeywordDlg          "Edit Keyword": the name and the keyword's group membership
//   CDeleteKeywordsDlg       "Delete Keywords": the keywords with their numbers of articles
//   CMergeKeywordIntoDlg     "Merge Keyword": the keyword to merge the source into
//   CMergeKeywordDlg         "Merge Keyword": the last question before a merge (focus on No)
//   CAssignKeywordsDlg       "Assign Keywords to Articles" after a drop on the titles list
//   CAssignKeywordGroupsDlg  "Assign Keywords to Keyword Groups" after a drop on the group list
//   CDeleteUnusedKeywordsDlg "Delete Unused Keywords": the keywords without articles that compaction
//                            found; IDYES or IDNO
#pragma once
#include <string>

#include "controls/ui/icon_dialog.h"
#include "index/ui/group_dlgs.h"
#include "index/ui/keyword_group_list_box.h"
#include "index/ui/keyword_list_box.h"
#include "storage/id_set.h"

class CQuorvaneDoc;

class CEditKeywordDlg : public CDialog {
public:
    // `listFont`: the font of the two group lists (the dialog font of the application).
    CEditKeywordDlg(CQuorvaneDoc* document, HFONT listFont, HWND parent = nullptr);

    // In: the keyword and its name. Out after IDOK: the trimmed name and the groups it belongs to.
    int32_t m_keyword = kNoneId;
    std::string m_name;
    CGroupIdSet m_groups;

    CKeywordGroupListBox& AvailableList() { return m_available; }
    CKeywordGroupListBox& MembershipList() { return m_membership; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Moves the highlighted groups of `from` to `to`, highlighted there.
    void Move(CKeywordGroupListBox& from, CKeywordGroupListBox& to);
    void UpdateLabels();
    void Refuse(int messageId);

    CQuorvaneDoc* m_document;
    HFONT m_listFont;
    CKeywordGroupListBox m_available;
    CKeywordGroupListBox m_membership;
    std::string m_availableFormat;
    std::string m_membershipFormat;
};

class CDeleteKeywordsDlg : public CDialog {
public:
    CDeleteKeywordsDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    CKeywordIdSet m_keywords;

protected:
    bool OnInitDialog() override;

private:
    void Fill();

    CQuorvaneDoc& m_document;
};

class CMergeKeywordIntoDlg : public CDialog {
public:
    CMergeKeywordIntoDlg(CQuorvaneDoc& document, HFONT listFont, HWND parent = nullptr);
    // In: the keyword to merge. Out after IDOK: the chosen keyword.
    int32_t m_source = kNoneId;
    int32_t m_target = kNoneId;
    CKeywordListBox& TargetList() { return m_targets; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;

private:
    int32_t OnlyHighlighted() const;
    void UpdateOk();

    CQuorvaneDoc& m_document;
    HFONT m_listFont;
    CKeywordListBox m_targets;
};

class CMergeKeywordDlg : public CIconDialog {
public:
    CMergeKeywordDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    int32_t m_source = kNoneId;
    int32_t m_target = kNoneId;

protected:
    bool OnInitDialog() override;

private:
    CQuorvaneDoc& m_document;
};

// The two drop confirmations: the question names the list the keywords came from (a string id).
class CAssignConfirmDlg : public CIconDialog {
public:
    CAssignConfirmDlg(int templateId, int sourceNameId, HWND parent);

protected:
    bool OnInitDialog() override;

private:
    int m_sourceNameId;
};

class CAssignKeywordsDlg : public CAssignConfirmDlg {
public:
    CAssignKeywordsDlg(int sourceNameId, HWND parent = nullptr);
};

class CAssignKeywordGroupsDlg : public CAssignConfirmDlg {
public:
    CAssignKeywordGroupsDlg(int sourceNameId, HWND parent = nullptr);
};

class CDeleteUnusedKeywordsDlg : public CDeleteUnusedItemsDlg {
public:
    explicit CDeleteUnusedKeywordsDlg(HWND parent = nullptr);
};

// Sets a static's text to `name`, cut with "..." to the static's client width in its font.
void SetStaticToFit(HWND control, const std::string& name);
