// The query dialogs. Build Query writes a query over the keyword list, the operator buttons and an
// optional date range; Manage Queries creates, edits, renames, deletes and runs the saved queries;
// Save Query asks for a name (also the name prompt of New and Rename); Select Query to Run picks one
// saved query. They are data in, data out: Build Query starts from m_text and the range and hands
// back the accepted text and range (which compiled) after IDOK; the caller decides what becomes of
// them, so a cancelled or failed dialog leaves the application's current query as it was.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "controls/ui/marker_edit.h"
#include "controls/ui/date_edit.h"
#include "framework/ui/dialog.h"
#include "framework/ui/dialog_keys.h"
#include "framework/ui/list_box.h"
#include "index/saved_query_actions.h"
#include "index/ui/keyword_list_box.h"

class CQueryList;
class CQuorvaneDoc;

// What the query dialogs use of the program around them; every member may be empty.
struct QueryDialogServices {
    // Select a Keyword Group: the chosen group's id, or 0x80000001 when cancelled.
    std::function<int32_t(HWND parent)> chooseKeywordGroup;
    // The saved queries changed: the Saved Queries menus are built again.
    std::function<void()> savedQueriesChanged;
    // Message boxes (tests answer them): the MessageBox result for `text` with `style`.
    std::function<int(HWND owner, const std::string& text, UINT style)> messageBox;
    // The help topic of a context.
    std::function<void(DWORD context)> showHelp;
};

// The query dialogs' services, set once by the application (tests set their own).
QueryDialogServices& QueryServices();

class CBuildQueryDlg : public CDialog {
public:
    explicit CBuildQueryDlg(HWND parent = nullptr);
    ~CBuildQueryDlg() override;

    void SetSources(CQuorvaneDoc* document, HFONT listFont);
    // A string-table caption instead of "Build Query".
    void SetCaptionId(int id) { m_captionId = id; }
    void SetShowSave(bool show) { m_showSave = show; }
    // Start from m_text even when keywords are selected in the index window.
    void SetStartFromCurrent(bool on) { m_startFromCurrent = on; }

    // Runs the dialog from `text` and the range; true with the accepted ones.
    bool Edit(std::string& text, int32_t& from, int32_t& to);

    // In: the current query's text and range. Out after IDOK: the accepted text (trailing white space
    // removed) and range.
    std::string m_text;
    int32_t m_from = kNoLowerDate;
    int32_t m_to = kNoUpperDate;
    // The saved queries that Save Query... adds to (none: the button stays hidden).
    CQueryList* m_savedQueries = nullptr;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnHelp(HELPINFO* info) override;

private:
    void Open();
    void InsertWord(const std::string& word);
    void InsertHighlightedKeyword();
    void InsertKeywordGroup();
    void OnEnter();
    // Reads the dates and compiles the text; false (with the user told) when a date or the query
    // is wrong.
    bool ReadAndCompile(std::string& text, int32_t& from, int32_t& to);
    void Accept();
    void SaveQuery();
    void Clear();
    void UndoText();
    void Previous();
    void SetQueryText(const std::string& text);
    void UpdateControls();
    void OnDateChanged();
    void MakeOkDefault(bool on);
    void EnableDates(bool on);
    bool ValidateDate(CDateEditOptional& edit, int32_t& date);
    int Ask(const std::string& text, UINT style);

    CQuorvaneDoc* m_document = nullptr;
    HFONT m_listFont = nullptr;
    int m_captionId = static_cast<int>(0x80000000);
    bool m_showSave = true;
    bool m_startFromCurrent = false;
    bool m_canSave = false;
    std::string m_previousText;
    int32_t m_previousFrom = kNoLowerDate;
    int32_t m_previousTo = kNoUpperDate;
    bool m_settingText = false;
    CDialogKeys m_keys;
    CKeywordListBox m_keywords;
    CMarkerEdit m_query;
    CDateEditOptional m_fromEdit{kNoLowerDate};
    CDateEditOptional m_toEdit{kNoUpperDate};
};

// Shared by the three saved-query dialogs: a sorted list of the names (item data: the entry index)
// and the highlighted entry's text and dates shown read-only beside it.
class CSavedQueryListDlg : public CDialog {
protected:
    CSavedQueryListDlg(int templateId, int listId, CQueryList& list, HWND parent);

    bool OnHelp(HELPINFO* info) override;
    // The Help button.
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    // Subclasses the shared controls.
    void AttachShared();
    // Empties the list and adds every entry; with `strict` a name that the list refuses raises
    // CQuorError 1, else it is skipped.
    void FillList(bool strict);
    // The highlighted entry's index, -1 when none.
    int HighlightedEntry() const;
    // Highlights the row of entry `entry` (none when it is not listed).
    void HighlightEntry(int entry);
    // The entry's text and dates; empty when none is highlighted.
    void ShowHighlighted();
    int Ask(const std::string& text, UINT style);

    CQueryList& m_list;
    int m_listId;
    DWORD m_helpContext = 0;
    CListBoxHandle m_names;
    CDateEditOptional m_fromEdit{kNoLowerDate};
    CDateEditOptional m_toEdit{kNoUpperDate};
};

class CSaveQueryDlg : public CSavedQueryListDlg {
public:
    CSaveQueryDlg(CQueryList& list, HWND parent = nullptr);

    // Renaming: the caption "Rename Query To" and the entry's name to start from.
    void SetRename(const std::string& startName);

    // Out after IDOK: the name, trimmed at both ends; `m_removed` the index of an entry of that name
    // which the user agreed to replace and which has been removed (-1: none).
    std::string m_name;
    int m_removed = -1;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    void OnOK() override;

private:
    bool m_renameMode = false;
    std::string m_startName;
};

class CSelectQueryDlg : public CSavedQueryListDlg {
public:
    explicit CSelectQueryDlg(CQueryList& list, HWND parent = nullptr);

    // Out after IDOK: the chosen entry.
    int m_chosen = -1;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    void OnOK() override;
};

class CManageQueriesDlg : public CSavedQueryListDlg, private IQueryPrompts {
public:
    // Ends with IDC_MQ_RUN (1006) when a query ran: `current` then holds it.
    CManageQueriesDlg(CQuorvaneDoc& document, CCurrentQuery& current, HFONT listFont, HWND parent = nullptr);

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;

private:
    // The steps' dialogs.
    bool EditQuery(int captionId, bool startFromCurrent, std::string& text, int32_t& from, int32_t& to) override;
    bool AskQueryName(bool rename, const std::string& startName, std::string& name, int& removed) override;
    bool ConfirmDeleteQuery(const std::string& name) override;

    void Refresh(int entry);
    void UpdateButtons();
    void OnNew();
    void OnEdit();
    void OnRename();
    void OnDelete();
    void OnRun();

    CQuorvaneDoc& m_document;
    CCurrentQuery& m_current;
    HFONT m_listFont;
    CManageQueriesModel m_model;
};
