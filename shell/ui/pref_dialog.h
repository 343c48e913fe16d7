// The Preferences sheet and its seven pages. Each page holds its window-free model (filled by the
// sheet's Fill before it runs), moves the model's members to and from its controls and leaves every
// decision to the model; on OK each page that was shown applies its model. The sheet shows OK, Cancel
// and Help (no Apply): Help, and F1 on the sheet's own buttons, open the main window's help; F1 on a
// page's control opens that page's topic.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "controls/ui/color_button.h"
#include "controls/ui/date_time_picker.h"
#include "controls/ui/tip_list_box.h"
#include "framework/ui/property_sheet.h"
#include "shell/preference_models.h"

// What the pages work on, owned by the application.
struct CPrefContext {
    CAppSettings& settings;
    IProfileStore& profile;
    CFontSettings& fonts;
    CDirectories& directories;
    IPreferenceHost& host;
    bool portableUse = false;
    bool themeActive = false;
    bool flatAllowed = true;
    bool spellEngineAvailable = false;
    // The font "Use Default" gives.
    LogFont defaultFont;
    int pixelsPerInch = 96;
    // The spelling engine's options dialog.
    std::function<void()> spellingOptions;
    // Replace the folder browser and the file dialogs (tests): true with `chosen` set.
    std::function<bool(const std::string& title, const std::string& initial, std::string& chosen)> chooseFolder;
    std::function<bool(const std::string& initial, std::string& chosen)> chooseFile;
};

// The pages' shared help: F1 on a control opens the page's own topic.
class CPrefPage : public CPropertyPage {
public:
    CPrefPage(int templateId, CPrefContext& context) : CPropertyPage(templateId), m_context(context) {}

protected:
    bool OnHelp(HELPINFO* info) override;
    // A message box over the page with the program's name as caption.
    void ShowMessage(int stringId, UINT icon) const;

    CPrefContext& m_context;
};

class CPrefIndexWindow : public CPrefPage {
public:
    explicit CPrefIndexWindow(CPrefContext& context);
    CPrefIndexWindowModel m_model;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    void OnOK() override;

private:
    void ShowColor(CColorButton& button, int32_t color);
    void ChooseColor(CColorButton& button, int32_t& color, int automaticMode);
    void UpdateShowTime();

    CColorButton m_titleColor;
    CColorButton m_dateColor;
    CColorButton m_previewColor;
    COLORREF m_customColor = RGB(255, 255, 255);
};

class CPrefArticle : public CPrefPage {
public:
    explicit CPrefArticle(CPrefContext& context);
    CPrefArticleModel m_model;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnKillActive() override;
    void OnOK() override;

private:
    void BrowseProgram();
    void UpdateBrowse();
};

class CPrefDisplay : public CPrefPage {
public:
    explicit CPrefDisplay(CPrefContext& context);
    CPrefDisplayModel m_model;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    void OnOK() override;

private:
    void ChooseFont();
    void ShowFontText();
};

class CPrefFile : public CPrefPage {
public:
    explicit CPrefFile(CPrefContext& context);
    CPrefFileModel m_model;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnKillActive() override;
    void OnOK() override;

private:
    void BrowseFolder();
    void BrowseStartFile();
    void ShowStartFile();
    void UpdateStartBrowse();

    CTipListBox m_list;
};

class CPrefImport : public CPrefPage {
public:
    explicit CPrefImport(CPrefContext& context);
    CPrefImportModel m_model;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
};

class CPrefExport : public CPrefPage {
public:
    explicit CPrefExport(CPrefContext& context);
    CPrefExportModel m_model;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnKillActive() override;

private:
    void UpdateEncoding();
};

class CPrefTools : public CPrefPage {
public:
    explicit CPrefTools(CPrefContext& context);
    CPrefToolsModel m_model;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    void OnOK() override;

private:
    CDateTimePicker m_time;
};

class CPrefDialog : public CPropertySheet {
public:
    enum Page { kIndexWindowPage, kArticlesPage, kDisplayPage, kFilesPage, kImportPage, kExportPage, kToolsPage };

    CPrefDialog(HWND parent, CPrefContext& context);
    // Every page's model from the settings, folders and fonts.
    void Fill();

    // Constructed in this order, added in tab order.
    CPrefExport m_export;
    CPrefImport m_import;
    CPrefDisplay m_display;
    CPrefIndexWindow m_indexWindow;
    CPrefArticle m_article;
    CPrefFile m_file;
    CPrefTools m_tools;

protected:
    void OnHelpCommand() override;

private:
    CPrefContext& m_context;
};
