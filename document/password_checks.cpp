#include "document/password_checks.h"

#include "document/doc_host.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "storage/file_password.h"

namespace {
constexpr int kWrongPasswordId = 1304;
constexpr int kVerifyMismatchId = 1305;
constexpr int kEmptyPasswordId = 1311;
constexpr int kRemovePasswordId = 1312;
}  // namespace

std::string TrimPasswordEntry(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

PasswordDlgOutcome CreatePasswordOk(CQuorvaneDoc& document, IDocPrompts& host, const std::string& entered,
                                    const std::string& verify)
{
    std::string password = TrimPasswordEntry(entered);
    if (password.empty()) {
        host.Inform(QuorLoadString(kEmptyPasswordId), IDocPrompts::kInformation);
        return PasswordDlgOutcome::kStayOpen;
    }
    if (password != TrimPasswordEntry(verify)) {
        host.Inform(QuorLoadString(kVerifyMismatchId), IDocPrompts::kInformation);
        return PasswordDlgOutcome::kStayOpen;
    }
    document.SetPassword(password);
    return PasswordDlgOutcome::kCloseOk;
}

PasswordDlgOutcome ChangePasswordOk(CQuorvaneDoc& document, IDocPrompts& host, const std::string& oldPassword,
                                    const std::string& entered, const std::string& verify)
{
    if (!document.VerifyPassword(TrimPasswordEntry(oldPassword))) {
        host.Inform(QuorLoadString(kWrongPasswordId), IDocPrompts::kExclamation);
        return PasswordDlgOutcome::kCloseCancel;
    }
    std::string password = TrimPasswordEntry(entered);
    std::string verified = TrimPasswordEntry(verify);
    if (password.empty() && (document.GetPrivateArticleCount() > 0 || document.IsProtectAll())) {
        host.Inform(QuorLoadString(kEmptyPasswordId), IDocPrompts::kInformation);
        return PasswordDlgOutcome::kStayOpen;
    }
    if (password != verified) {
        host.Inform(QuorLoadString(kVerifyMismatchId), IDocPrompts::kInformation);
        return PasswordDlgOutcome::kStayOpen;
    }
    if (!password.empty()) {
        document.SetPassword(password);
        return PasswordDlgOutcome::kCloseOk;
    }
    if (!host.Confirm(QuorLoadString(kRemovePasswordId)))
        return PasswordDlgOutcome::kStayOpen;
    document.RemovePassword();
    return PasswordDlgOutcome::kCloseOk;
}

PasswordDlgOutcome EnterPasswordOk(CFilePassword& password, IDocPrompts& host, const std::string& entered,
                                   bool showMessage)
{
    if (password.Verify(TrimPasswordEntry(entered)))
        return PasswordDlgOutcome::kCloseOk;
    if (showMessage)
        host.Inform(QuorLoadString(kWrongPasswordId), IDocPrompts::kExclamation);
    return PasswordDlgOutcome::kCloseCancel;
}
