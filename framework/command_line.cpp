#include "framework/command_line.h"

#include "framework/ansi_case.h"

void CCommandLineInfo::ParseParam(const std::string& param)
{
    if (param.empty())
        return;
    if (param[0] == '/' || param[0] == '-') {
        std::string flag = param.substr(1);
        if (AnsiCompareNoCase(flag.c_str(), "p") == 0)
            m_shellCommand = FilePrint;
        else if (AnsiCompareNoCase(flag.c_str(), "pt") == 0)
            m_shellCommand = FilePrintTo;
        else if (AnsiCompareNoCase(flag.c_str(), "dde") == 0)
            m_shellCommand = FileDDE;
        else
            return;
        m_commandFromFlag = true;
        return;
    }
    if (!m_fileName.empty())
        return;  // the printer and port names of /pt follow the file; they are not the file
    m_fileName = param;
    if (!m_commandFromFlag)
        m_shellCommand = FileOpen;
}

void CCommandLineInfo::ParseParams(const std::vector<std::string>& params)
{
    for (const std::string& param : params)
        ParseParam(param);
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> params;
    std::string current;
    bool inQuotes = false;
    bool started = false;
    for (char c : commandLine) {
        if (c == '"') {
            inQuotes = !inQuotes;
            started = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (started)
                params.push_back(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        params.push_back(current);
    if (!params.empty())
        params.erase(params.begin());
    return params;
}
