#include "framework/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, SplitsOnBlanksKeepsQuotedPartsAndDropsTheProgram)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine("quorvane.exe"), List{});
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Q\\quorvane.exe\"   notes.xrd"), List{"notes.xrd"});
    EXPECT_EQ(SplitCommandLine("q.exe \"C:\\My Notes\\a b.xrd\" /p"), (List{"C:\\My Notes\\a b.xrd", "/p"}));
    EXPECT_EQ(SplitCommandLine("q.exe \"\"\t x"), (List{"", "x"}));
}

TEST(CommandLine, FileNamesOpenFlagsChooseOtherCommands)
{
    struct Case {
        std::vector<std::string> params;
        CCommandLineInfo::ShellCommand command;
        const char* file;
    };
    const Case cases[] = {
        {{}, CCommandLineInfo::FileNew, ""},
        {{"notes.xrd"}, CCommandLineInfo::FileOpen, "notes.xrd"},
        {{"/unknown", "notes.xrd"}, CCommandLineInfo::FileOpen, "notes.xrd"},
        {{"/P", "notes.xrd"}, CCommandLineInfo::FilePrint, "notes.xrd"},
        {{"-pt", "notes.xrd", "printer", "driver", "port"}, CCommandLineInfo::FilePrintTo, "notes.xrd"},
        {{"/dde"}, CCommandLineInfo::FileDDE, ""},
        {{"a.xrd", "b.xrd"}, CCommandLineInfo::FileOpen, "a.xrd"},
    };
    for (const Case& c : cases) {
        CCommandLineInfo info;
        info.ParseParams(c.params);
        EXPECT_EQ(info.m_shellCommand, c.command) << c.params.size();
        EXPECT_EQ(info.m_fileName, c.file);
    }
}
