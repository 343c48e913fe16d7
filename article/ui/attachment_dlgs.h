// The attachment dialogs: Article Attachment Properties (one target: its kind, its text, whether it
// opens with the article and shows in the image gallery; Browse chooses a file or a folder) and
// Detach Attachments (the question before attachments leave an article, with the list of them).
#pragma once
#include <functional>
#include <string>

#include "article/ui/attachment_list_box.h"
#include "framework/ui/dialog.h"
#include "storage/link_target.h"

class CDirectories;

class CAttachmentPropertiesDlg : public CDialog {
public:
    explicit CAttachmentPropertiesDlg(HWND parent = nullptr);

    // In and out: the target; out: whether OK changed it (text without regard to case, kind, or the
    // gallery flag).
    CLinkTarget m_target;
    bool m_targetChanged = false;
    // -1: the resource's own caption, group-box caption, file-chooser title.
    int m_captionId = -1;
    int m_groupCaptionId = -1;
    int m_fileTitleId = -1;
    bool m_hideChecks = false;
    bool m_hideInternet = false;
    // Where Browse starts and what it remembers (the Attachments folder); null: nowhere.
    CDirectories* m_directories = nullptr;

    // How Browse asks for a file or a folder (tests answer instead): the chooser's title and the
    // starting point in, the chosen path out; false when the user cancelled. Empty: the system's
    // file-open dialog and the folder browser.
    static void SetChoosers(std::function<bool(HWND, const std::string&, std::string&)> chooseFile,
                            std::function<bool(HWND, const std::string&, std::string&)> chooseFolder);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;

private:
    int ChosenKind() const;
    void UpdateOk();
    void UpdateBrowse();
    void OnBrowse();

    std::string m_initialText;
    int m_initialKind = 0;
    bool m_initialGallery = true;
};

class CDetachAttachmentsDlg : public CDialog {
public:
    explicit CDetachAttachmentsDlg(HWND parent = nullptr);

    // The attachments to show.
    CAttachmentArray m_attachments;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;

private:
    CAttachmentListBox m_list;
};
