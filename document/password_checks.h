// What the OK button of each password dialog decides. The dialogs (document/ui) read their edits
// and call these; the rules live here so that they run without windows.
#pragma once
#include <string>

class IDocPrompts;
class CFilePassword;
class CQuorvaneDoc;

enum class PasswordDlgOutcome { kStayOpen, kCloseOk, kCloseCancel };

// Spaces at both ends of an entry do not count.
std::string TrimPasswordEntry(const std::string& text);

// "Create Password": a non-empty new password that both entries agree on is set.
PasswordDlgOutcome CreatePasswordOk(CQuorvaneDoc& document, IDocPrompts& host, const std::string& entered,
                                    const std::string& verify);

// "Change Password": the old password must verify; an empty new password removes the password
// after the user confirms (not allowed while the file has private articles or protects all).
PasswordDlgOutcome ChangePasswordOk(CQuorvaneDoc& document, IDocPrompts& host, const std::string& oldPassword,
                                    const std::string& entered, const std::string& verify);

// "Enter Your Password": one attempt per showing; a wrong entry closes with Cancel (with message
// 1304 when `showMessage`).
PasswordDlgOutcome EnterPasswordOk(CFilePassword& password, IDocPrompts& host, const std::string& entered,
                                   bool showMessage);
