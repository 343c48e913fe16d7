// The predefined charsets of the HTML export, as the Export preferences page lists them.
#include "export/html_export_file.h"

#include <gtest/gtest.h>

TEST(HtmlExportFile, CharsetEntriesEndAtTheLoneSeparator)
{
    struct Case {
        int index;
        const char* label;
        const char* charset;
    } cases[] = {
        {0, "Western (Windows-1252)", "windows-1252"},
        {1, "Central Europe (Windows-1250)", "windows-1250"},
        {2, "Western (ISO-8859-1)", "ISO-8859-1"},
        {3, "Baltic (ISO-8859-4)", "ISO-8859-4"},
    };
    for (const Case& c : cases) {
        std::string label, charset;
        ASSERT_TRUE(CHtmlExportFile::GetCharsetEntry(c.index, label, charset)) << c.index;
        EXPECT_EQ(label, c.label);
        EXPECT_EQ(charset, c.charset);
    }
    std::string label = "kept", charset = "kept";
    for (int outside : {4, 5, -1, 1000000})
        EXPECT_FALSE(CHtmlExportFile::GetCharsetEntry(outside, label, charset)) << outside;
    EXPECT_EQ(label, "kept");
}
