// Lets link targets store and resolve file paths in the drive-relative form of the program's folders.
// The application installs one over its CDirectories with SetLinkPathConverter.
#pragma once
#include "document/link_target.h"
#include "shell/directories.h"

class CDirectoriesLinkPaths : public ILinkPathConverter {
public:
    explicit CDirectoriesLinkPaths(const CDirectories& directories) : m_directories(directories) {}
    std::string MakeDriveRelative(const std::string& path) const override
    {
        return m_directories.MakeDriveRelative(path, false);
    }
    std::string ExpandDriveRelative(const std::string& path) const override
    {
        return m_directories.ExpandDriveRelative(path);
    }

private:
    const CDirectories& m_directories;
};
