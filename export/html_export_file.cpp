#include "export/html_export_file.h"

#include "framework/string_table.h"
#include "resources/resource.h"

namespace {

// More entries than the table could ever hold: a missing end marker cannot run away.
constexpr int kMaxCharsets = 100;

}  // namespace

bool CHtmlExportFile::GetCharsetEntry(int index, std::string& label, std::string& charset)
{
    if (index < 0 || index >= kMaxCharsets)
        return false;
    const std::string entry = QuorLoadString(IDS_HTML_CHARSET_FIRST + index);
    const size_t split = entry.find(';');
    if (split == std::string::npos || entry == ";")
        return false;
    label = entry.substr(0, split);
    charset = entry.substr(split + 1);
    return true;
}
