// How a help request becomes calls of the help viewer. Help ids are the framework's: 0x10000 +
// command id for a menu command, 0x20000 + resource id for a window, 0x40000 + hit-test code for a
// non-client area, 0x50000 + control id for a control; others are the help file's own contexts.
#pragma once
#include <cstdint>
#include <vector>

// One call of the help viewer.
struct HelpCall {
    enum Kind {
        kContext,       // show help context `id`
        kDefaultTopic,  // show the help file's default page
        kQuit,          // the framework's help call with HELP_QUIT
    };
    Kind kind = kContext;
    uint32_t id = 0;
    // Menus, captures and modes of every window are cancelled first.
    bool cancelModes = false;

    bool operator==(const HelpCall& other) const
    {
        return kind == other.kind && id == other.id && cancelModes == other.cancelModes;
    }
};

// The calls for help id `helpId`; none for id -2 (0xFFFFFFFE) or while the splash window shows.
// `reportHelpId` is the help context of the report shown in the active report window, or 0 when
// no report window is active (or no data file is open).
std::vector<HelpCall> PlanHelpCalls(uint32_t helpId, bool splashShowing, uint32_t reportHelpId);

// The help-id table: related commands and dialogs share one topic. The id itself when it has no
// entry.
uint32_t MapHelpId(uint32_t helpId);
