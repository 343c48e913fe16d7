#include "shell/app_startup.h"

#include <algorithm>
#include <cstdio>

#include "shell/directories.h"
#include "shell/profile_store.h"

StartFileChoice ChooseStartFile(int loadLastFile, const std::string& lastFileName, int recentCount,
                                const CDirectories& directories,
                                const std::function<bool(const std::string&)>& exists)
{
    StartFileChoice choice;
    if (loadLastFile == 1) {
        if (recentCount > 0)
            choice.kind = StartFileChoice::kMostRecent;
        return choice;
    }
    if (loadLastFile != 2 || lastFileName.empty())
        return choice;
    std::string path;
    if (lastFileName.find('\\') == std::string::npos) {
        path = directories.GetFolder(CDirectories::kData, true);
        if (!path.empty() && path.back() != '\\')
            path += '\\';
        path += lastFileName;
    } else {
        path = directories.ExpandDriveRelative(lastFileName);
    }
    if (exists(path)) {
        choice.kind = StartFileChoice::kPath;
        choice.path = path;
    } else {
        choice.missing = true;
        choice.missingPath = path;
    }
    return choice;
}

ProgramVersion MakeProgramVersion(uint32_t productMS, uint32_t productLS)
{
    const unsigned a = productMS >> 16, b = productMS & 0xFFFF;
    const unsigned c = productLS >> 16, d = productLS & 0xFFFF;
    char text[64];
    if (c < 2)
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", a, b / 10, b % 10, d);
    else
        std::snprintf(text, sizeof text, "%u.%u.%u", a, b / 10, b % 10);
    ProgramVersion version;
    version.text = text;
    if (c == 0)
        version.text += " (Alpha)";
    else if (c == 1)
        version.text += " (Beta)";
    version.number = c + (b % 10) * 10 + (b / 10) * 100 + a * 1000;
    return version;
}

MainWindowPlacement ChooseMainWindowPlacement(IProfileStore& profile, int desktopWidth, int desktopHeight)
{
    MainWindowPlacement place;
    const int top = profile.GetInt(kMainDisplaySection, "Top", kPlacementNotStored);
    const int left = profile.GetInt(kMainDisplaySection, "Left", kPlacementNotStored);
    const int width = profile.GetInt(kMainDisplaySection, "Width", 720);
    const int height = profile.GetInt(kMainDisplaySection, "Height", 560);
    place.showCommand = profile.GetInt(kMainDisplaySection, "Maximized", 1) == 3 ? 3 : 1;
    // A size of 0 or less (a hand-edited or damaged value) would make a window nobody can reach.
    if (top == kPlacementNotStored || left == kPlacementNotStored || width <= 0 || height <= 0) {
        place.width = std::min(desktopWidth, 720);
        place.height = std::min(desktopHeight, 560);
        place.left = (desktopWidth - place.width) / 2;
        place.top = (desktopHeight - place.height) / 2;
        return place;
    }
    place.left = left;
    place.top = top;
    place.width = width;
    place.height = height;
    // Sums in 64 bits: stored values are anyone's.
    if (top > desktopHeight || left > desktopWidth || int64_t(left) + width < 0 || int64_t(top) + height < 0) {
        place.left = desktopWidth / 2;
        place.top = desktopHeight / 2;
    }
    return place;
}
