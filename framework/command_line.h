// The program's command line as the start-up sequence reads it: the shell command it asks for and
// the file it names. A parameter that starts with '/' or '-' is a flag ("p" print, "pt" print to,
// "dde" shell DDE; others are ignored); the first other parameter is the file, which makes the
// command FileOpen unless a flag chose another. Without a file the command is FileNew.
#pragma once
#include <string>
#include <vector>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE };

    // Reads the parameters after the program's name, one at a time.
    void ParseParam(const std::string& param);
    void ParseParams(const std::vector<std::string>& params);

    ShellCommand m_shellCommand = FileNew;
    std::string m_fileName;

private:
    bool m_commandFromFlag = false;
};

// Splits a Windows command line into its parameters: blanks separate, double quotes group (a quote
// itself is dropped), and the first parameter, the program's own name, is left out.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
