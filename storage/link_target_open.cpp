#include <cctype>
#include <initializer_list>

#include "framework/error_sink.h"
#include "framework/string_table.h"
#include "storage/link_shell.h"
#include "storage/link_target.h"

namespace {

ILinkShell* g_linkShell = nullptr;

void ShowShellFailure(int messageId, const std::string& path, intptr_t result)
{
    ShowErrorMessage(QuorFormatArgs(QuorLoadString(messageId), {path, std::to_string(result)}));
}

std::string LowerScheme(const std::string& address, size_t colon)
{
    std::string scheme = address.substr(0, colon);
    for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return scheme;
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i) {
        if (i >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(prefix[i]))
            return false;
    }
    return true;
}

}  // namespace

ILinkShell* SetLinkShell(ILinkShell* shell)
{
    ILinkShell* previous = g_linkShell;
    g_linkShell = shell;
    return previous;
}

ILinkShell* GetLinkShell()
{
    return g_linkShell;
}

int ShellErrorMessageId(intptr_t result)
{
    switch (result) {
    case 0: return 1014;
    case 2: return 1015;
    case 3: return 1016;
    case 5: return 1018;
    case 8: return 1026;
    case 11: return 1017;
    case 26: return 1028;
    case 27: return 1019;
    case 28: return 1022;
    case 29: return 1021;
    case 30: return 1020;
    case 31: return 1025;
    case 32: return 1023;
    default: return 1002;
    }
}

// Spaces, quotes and control characters would let the shell split the address into a command and
// its arguments, or break it at a line end: they go as their percent codes.
std::string PercentEncodeUnsafe(const std::string& address)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(address.size());
    for (char ch : address) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7F || c == '"') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string SafeInternetAddress(const std::string& rawAddress)
{
    const std::string address = PercentEncodeUnsafe(rawAddress);
    size_t colon = address.find(':');
    // A scheme is letters, digits, "+", "-", "." after a letter; "C:\..." has a one-letter "scheme",
    // which is a drive.
    bool hasScheme = colon != std::string::npos && colon > 1 && std::isalpha(static_cast<unsigned char>(address[0]));
    for (size_t i = 0; hasScheme && i < colon; ++i) {
        unsigned char c = static_cast<unsigned char>(address[i]);
        hasScheme = std::isalnum(c) || c == '+' || c == '-' || c == '.';
    }
    if (hasScheme) {
        const std::string scheme = LowerScheme(address, colon);
        for (const char* allowed : {"http", "https", "ftp", "mailto", "news", "nntp", "file"})
            if (scheme == allowed) return address;
        return "";
    }
    if (StartsWithNoCase(address, "www.")) return "http://" + address;
    if (StartsWithNoCase(address, "ftp.")) return "ftp://" + address;
    return "";
}

int32_t CLinkTarget::Open(bool cutQuery, int32_t callerValue)
{
    ILinkShell* shell = g_linkShell;
    if (!shell) return -1;
    switch (m_kind) {
    case kFile: {
        std::string path = GetFullPath(shell->BaseFolder());
        bool corrected = false;
        for (;;) {
            bool isFolder = false;
            if (shell->PathExists(path, isFolder)) {
                intptr_t result;
                std::string program = isFolder ? shell->FolderProgram() : std::string();
                if (!program.empty())
                    result = shell->Execute(nullptr, program, "\"" + path + "\"");
                else
                    result = shell->Execute("open", path, "");
                if (result > 32) {
                    if (corrected) {
                        Set(kFile, path, m_flags, m_articleId);
                        m_pathCorrected = true;
                    }
                } else {
                    ShowShellFailure(ShellErrorMessageId(result), path, result);
                }
                return -1;
            }
            if (!shell->CanSearchMissing()) {
                ShowShellFailure(1015, path, 2);
                return -1;
            }
            int answer = shell->FindMissing(path, callerValue);
            if (answer == 1)
                corrected = true;
            else if (answer != 4)
                return -1;
        }
    }
    case kInternet: {
        std::string address = SafeInternetAddress(m_target);
        if (address.empty() || shell->Execute("open", address, "") <= 32) {
            std::string shown = m_target;
            if (cutQuery) shown = shown.substr(0, shown.find('?'));
            ShowErrorMessage(QuorFormat1(QuorLoadString(1003), shown));
        }
        return -1;
    }
    case kArticle:
        return m_articleId;
    default:
        return -1;
    }
}
