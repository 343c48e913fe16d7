// The keyword-group dialogs. They show and choose; the callers store through the document, except
// Keyword Group and Manage Keyword Groups, which add, update, delete and merge groups themselves.
//   CSelectKeywordGroupDlg   "Select a Keyword Group": one group, out in m_groupId.
//   CMergeIntoGroupDlg       the group to merge a source group into, out in m_targetId.
//   CMergeKeywordGroupDlg    the question before the merge; IDOK is Yes.
//   CDeleteKeywordGroupsDlg  the question before groups are deleted, with their keyword counts.
//   CDeleteUnusedGroupsDlg   the groups without keywords, before compaction drops them; IDYES or IDNO
//                            (CDeleteUnusedItemsDlg, which Delete Unused Keywords shares).
//   CKeywordGroupDlg         "Keyword Group": a new or stored group's name and keywords.
//   CManageKeywordGroupsDlg  every group, with New, Edit, Delete and Merge.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/ui/controls.h"
#include "framework/ui/dialog.h"
#include "index/ui/keyword_group_list_box.h"
#include "index/ui/keyword_list_box.h"
#include "storage/id_set.h"

class CQuorvaneDoc;

// The message box of these dialogs: the program's name as caption.
int ShowGroupMessage(HWND owner, const std::string& text, UINT style);
// Inside a catch block of a dialog that is opening: a CQuorError is reported, a memory failure as
// such (anything else passes on), and the dialog ends with `result`.
void ReportOpeningFailure(CDialog& dialog, int result);

class CSelectKeywordGroupDlg : public CDialog {
public:
    explicit CSelectKeywordGroupDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    HFONT m_listFont = nullptr;  // null: the system's
    int32_t m_groupId = kNoneId;  // out after IDOK
    CKeywordGroupListBox& List() { return m_list; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;

private:
    void UpdateOk();
    CQuorvaneDoc& m_document;
    CKeywordGroupListBox m_list;
};

class CMergeIntoGroupDlg : public CDialog {
public:
    explicit CMergeIntoGroupDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    HFONT m_listFont = nullptr;
    int32_t m_sourceId = kNoneId;
    CGroupIdSet m_offered;        // the groups to choose from; the source is left out
    int32_t m_targetId = kNoneId;  // out after IDOK
    CKeywordGroupListBox& List() { return m_list; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;

private:
    void UpdateOk();
    CQuorvaneDoc& m_document;
    CKeywordGroupListBox m_list;
};

class CMergeKeywordGroupDlg : public CDialog {
public:
    explicit CMergeKeywordGroupDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    int32_t m_sourceId = kNoneId;
    int32_t m_targetId = kNoneId;

protected:
    bool OnInitDialog() override;

private:
    CQuorvaneDoc& m_document;
};

// IDOK (Yes) or IDCANCEL (No); IDNO when the list could not be filled.
class CDeleteKeywordGroupsDlg : public CDialog {
public:
    explicit CDeleteKeywordGroupsDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    CGroupIdSet m_ids;

protected:
    bool OnInitDialog() override;

private:
    CQuorvaneDoc& m_document;
};

// The question whether the keywords without articles, or the keyword groups without keywords, go,
// over their names (compaction finds them in the file it compacts) in the template's sorted list.
// IDYES or IDNO; Esc is No.
class CDeleteUnusedItemsDlg : public CDialog {
public:
    std::vector<std::string> m_names;

protected:
    CDeleteUnusedItemsDlg(int templateId, int listId, HWND parent) : CDialog(templateId, parent), m_listId(listId) {}
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;

private:
    int m_listId;
};

class CDeleteUnusedGroupsDlg : public CDeleteUnusedItemsDlg {
public:
    explicit CDeleteUnusedGroupsDlg(HWND parent = nullptr);
};

class CKeywordGroupDlg : public CDialog {
public:
    explicit CKeywordGroupDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    HFONT m_listFont = nullptr;
    // In: the group to edit, kNoneId for a new one. Out after IDOK: the stored group's id, name and
    // keywords.
    int32_t m_groupId = kNoneId;
    std::string m_name;
    CKeywordIdSet m_keywordIds;

    CKeywordListBox& Available() { return m_available; }
    CKeywordListBox& Included() { return m_included; }

    // ">>", "<<", Select All and Clear, as the buttons run them.
    void Include();
    void Exclude();
    void SelectAll();
    void ClearIncluded();

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Move(CKeywordListBox& from, CKeywordListBox& to, bool all);
    void Update();
    bool Store(const std::string& name, const CKeywordIdSet& included);

    CQuorvaneDoc& m_document;
    CKeywordListBox m_available;
    CKeywordListBox m_included;
    std::string m_availableFormat;
    std::string m_includedFormat;
};

// Ends with 0 (Close).
class CManageKeywordGroupsDlg : public CDialog {
public:
    explicit CManageKeywordGroupsDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    HFONT m_listFont = nullptr;
    CKeywordGroupListBox& List() { return m_list; }

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void NewGroup();
    void EditGroup();
    void DeleteGroups();
    void MergeGroup();
    void UpdateButtons();
    int32_t OnlySelected() const;

    CQuorvaneDoc& m_document;
    CKeywordGroupListBox m_list;
};
