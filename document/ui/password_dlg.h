// The Create Password, Change Password and Enter Your Password dialogs. Each reads its edits on OK
// and leaves the decision to the rules of password_checks.h; messages go through the host.
#pragma once
#include <string>

#include "framework/ui/dialog.h"

class IDocPrompts;
class CFilePassword;
class CQuorvaneDoc;

// Enables OK only while every listed edit holds text.
class CPasswordDlgBase : public CDialog {
protected:
    // `required` lists the edits that must hold text for OK to be enabled (static storage).
    CPasswordDlgBase(int templateId, IDocPrompts& host, HWND parent, const int* required, int count);
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    void UpdateOkButton();

    IDocPrompts& m_host;

private:
    const int* m_required;
    int m_requiredCount;
};

class CCreatePasswordDlg : public CPasswordDlgBase {
public:
    CCreatePasswordDlg(CQuorvaneDoc& document, IDocPrompts& host, HWND parent = nullptr);

protected:
    void OnOK() override;

private:
    CQuorvaneDoc& m_document;
};

class CChangePasswordDlg : public CPasswordDlgBase {
public:
    CChangePasswordDlg(CQuorvaneDoc& document, IDocPrompts& host, HWND parent = nullptr);

protected:
    void OnOK() override;

private:
    CQuorvaneDoc& m_document;
};

class CEnterPasswordDlg : public CPasswordDlgBase {
public:
    CEnterPasswordDlg(CFilePassword& password, IDocPrompts& host, HWND parent = nullptr);

    std::string m_fileName;
    int m_showMessage = 1;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CFilePassword& m_password;
};
