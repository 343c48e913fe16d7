// The decisions of the program's start-up that need no window: which data file opens first, the
// version text and number, where the main window goes, and the start-up progress flags. The
// application (shell/ui) asks these and carries them out.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

class CDirectories;
class IProfileStore;

// Start-up progress flags; the main frame's start-up watch ends when all four are set.
enum StartupFlag : uint32_t {
    kStartupSplashDone = 1,
    kStartupStepsBegun = 2,
    kStartupWelcomeDone = 4,
    kStartupTipDone = 8,
    kStartupAllDone = 15,
};

// The data file opened at start-up when the command line names none.
struct StartFileChoice {
    enum Kind {
        kNone,        // start without a file
        kMostRecent,  // the top entry of the File menu's recent list
        kPath,        // `path`
    };
    Kind kind = kNone;
    std::string path;
    // The named last file does not exist: the welcome step reports `missingPath`, and LoadLastFile
    // becomes 0.
    bool missing = false;
    std::string missingPath;
};

// `loadLastFile` 1 opens the most recent file (none when the list is empty), 2 the file
// `lastFileName` (a bare name lies in the data folder, a drive-relative path on the program's
// drive), anything else none.
StartFileChoice ChooseStartFile(int loadLastFile, const std::string& lastFileName, int recentCount,
                                const CDirectories& directories,
                                const std::function<bool(const std::string&)>& exists);

// The program's version from the product version a.b.c.d of its version resource (`productMS` =
// a << 16 | b, `productLS` = c << 16 | d): "a.b1.b2.d" while c is below 2, else "a.b1.b2", with
// b1.b2 the two digits of b; " (Alpha)" for c = 0, " (Beta)" for c = 1. The number is
// a * 1000 + b1 * 100 + b2 * 10 + c.
struct ProgramVersion {
    std::string text;
    uint32_t number = 0;
};
ProgramVersion MakeProgramVersion(uint32_t productMS, uint32_t productLS);

// Where the main window opens, from section "Quorvane Display". `desktopWidth` and `desktopHeight`
// are the desktop window's client size. Never stored (Top missing), or a stored size of 0 or less:
// 720 x 560 at most, centred. A corner beyond the desktop, or a window wholly left of or above it:
// the top-left corner moves to the desktop's centre, the size kept. `showCommand` is
// SW_SHOWMAXIMIZED (3) when Maximized is 3, else SW_SHOWNORMAL (1).
struct MainWindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int showCommand = 1;
};
MainWindowPlacement ChooseMainWindowPlacement(IProfileStore& profile, int desktopWidth, int desktopHeight);

// Section and values of the main window's placement.
constexpr const char* kMainDisplaySection = "Quorvane Display";
constexpr int kPlacementNotStored = static_cast<int>(0x80000000);
