#include "document/compaction_rules.h"

#include "framework/ansi_case.h"

namespace {

constexpr char kObjSub[] = "\\objsub";
constexpr size_t kObjSubLength = sizeof kObjSub - 1;

bool IsControlWordLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool SameWord(const std::string& a, const std::string& b)
{
    return AnsiCompareNoCase(a.c_str(), b.c_str()) == 0;
}

}  // namespace

bool RemoveObjSubControlWords(std::string& rtf)
{
    bool changed = false;
    size_t from = 0;
    std::string out;
    size_t copied = 0;
    for (size_t at = rtf.find(kObjSub); at != std::string::npos; at = rtf.find(kObjSub, from)) {
        from = at + 1;
        size_t backslashes = 0;
        while (backslashes < at && rtf[at - 1 - backslashes] == '\\')
            ++backslashes;
        size_t end = at + kObjSubLength;
        if (backslashes % 2 != 0 || (end < rtf.size() && IsControlWordLetter(rtf[end])))
            continue;
        out.append(rtf, copied, at - copied);
        copied = end;
        from = end;
        changed = true;
    }
    if (changed) {
        out.append(rtf, copied, std::string::npos);
        rtf.swap(out);
    }
    return changed;
}

bool RewriteQueryWord(std::string& text, const std::string& oldWord, const std::string& newWord)
{
    std::string out;
    bool changed = false;
    size_t i = 0;
    while (i < text.size()) {
        size_t end;
        char c = text[i];
        if (c == '"' || c == '\'') {
            size_t close = text.find(c, i + 1);
            end = close == std::string::npos ? text.size() : close + 1;
        } else if (c == ' ' || c == '(' || c == ')') {
            end = i + 1;
        } else {
            end = text.find_first_of(" ()", i);
            if (end == std::string::npos)
                end = text.size();
        }
        std::string token = text.substr(i, end - i);
        if (c != '"' && c != '\'' && SameWord(token, oldWord)) {
            out += newWord;
            changed = true;
        } else if (c != '"' && c != '\'' && SameWord(token, newWord)) {
            out += '"' + token + '"';
            changed = true;
        } else {
            out += token;
        }
        i = end;
    }
    if (changed)
        text.swap(out);
    return changed;
}

std::string FormatReportPattern(const std::string& pattern, std::initializer_list<ReportArg> args)
{
    std::string out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            char kind = pattern[i + 1];
            if (kind == '%') {
                out += '%';
                ++i;
                continue;
            }
            if ((kind == 'd' || kind == 's') && next != args.end()) {
                out += next->text;
                ++next;
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}
