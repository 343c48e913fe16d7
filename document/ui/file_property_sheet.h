// The File Properties sheet of the open data file: General (facts, export header, comments, the
// file's default font), Articles (article options and where relative link targets lie) and Privacy
// (the password and "Password Protect All Articles"). The pages move values between their controls
// and CFilePropertiesModel, which decides; what needs the application's windows (the folder
// browser, the font dialog, refreshing the document's windows) comes in as callbacks.
//
// OK (also Enter in the comments, which the dialog manager gives to the sheet's default button)
// applies every page that was shown; Cancel and Escape apply nothing. A read-only file shows every
// changing control disabled and takes nothing.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "document/file_properties_model.h"
#include "framework/ui/property_sheet.h"
#include "framework/ui/subclassed_wnd.h"

class CAppSettings;
class CDirectories;
class CDocHost;
class CQuorvaneDoc;
class CFilePropertySheet;

// What the sheet needs from the program beyond the document.
struct FilePropertyServices {
    // The font dialog from `font` and `color` (negative: automatic); true with the choice.
    std::function<bool(HWND owner, LogFont& font, int32_t& color)> chooseFont;
    // The folder browser starting at `folder`; true with the chosen folder in it.
    std::function<bool(HWND owner, std::string& folder)> browseFolder;
    // After a font change: the list font made again and every window of the document refreshed.
    std::function<void()> fontChanged;
    // F1 over a page's control: the page's help topic.
    std::function<void(int templateId)> showHelp;
};

// The comments edit: Enter presses the sheet's OK, so every shown page checks and applies (Ctrl+Enter
// still starts a new line).
class CCommentsEdit : public CSubclassedWnd {
protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class CFileProperties : public CPropertyPage {
public:
    CFileProperties(CFilePropertySheet& sheet);

protected:
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override { return true; }
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnHelp(HELPINFO* info) override;

private:
    void ShowFont();

    CFilePropertySheet& m_owner;
    CCommentsEdit m_comments;
};

class CFilePropertyArticles : public CPropertyPage {
public:
    CFilePropertyArticles(CFilePropertySheet& sheet);

protected:
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;

private:
    void ShowLocation();

    CFilePropertySheet& m_owner;
};

class CFilePropertyPrivacy : public CPropertyPage {
public:
    CFilePropertyPrivacy(CFilePropertySheet& sheet);

    bool IsChanged() const { return m_changed; }

protected:
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override { return true; }
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnHelp(HELPINFO* info) override;

private:
    void ShowPasswordButton();
    void OnPasswordButton();

    CFilePropertySheet& m_owner;
    bool m_changed = false;
};

class CFilePropertySheet : public CPropertySheet {
public:
    CFilePropertySheet(CQuorvaneDoc& document, CDocHost& host, CAppSettings& settings, const CDirectories& directories,
                       FilePropertyServices services, HWND parent = nullptr);

    // Runs the sheet; after OK with a changed protection the document is rewritten for it.
    INT_PTR Run();

    CFilePropertiesModel& Model() { return m_model; }
    CQuorvaneDoc& Document() { return m_document; }
    CDocHost& Host() { return m_host; }
    CAppSettings& Settings() { return m_settings; }
    const FilePropertyServices& Services() const { return m_services; }
    // The page shown last, so that a page refused on becoming active can hand back to it.
    int m_lastPage = 0;

private:
    CQuorvaneDoc& m_document;
    CDocHost& m_host;
    CAppSettings& m_settings;
    FilePropertyServices m_services;
    CFilePropertiesModel m_model;
    CFileProperties m_general;
    CFilePropertyArticles m_articles;
    CFilePropertyPrivacy m_privacy;
};
