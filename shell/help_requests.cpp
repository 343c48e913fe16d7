#include "shell/help_requests.h"

#include <iterator>

namespace {

constexpr uint32_t kCommand = 0x10000;
constexpr uint32_t kResource = 0x20000;
constexpr uint32_t kNonClient = 0x40000;
constexpr uint32_t kControl = 0x50000;

// Hit-test codes whose help is the window-handling topic: nowhere, caption, minimize, maximize and
// close buttons.
constexpr uint32_t kWindowTopicAreas[] = {kNonClient + 0, kNonClient + 2, kNonClient + 8, kNonClient + 9,
                                          kNonClient + 20};
// Bold, italic and the other character effects, highlight and strike-out.
constexpr uint32_t kCharacterFormatCommands[] = {0x1803E, 0x18040, 0x18041, 0x18044,
                                                 0x18045, 0x18046, 0x180D3, 0x180E2};
constexpr uint32_t kWindowTopic = 258;
constexpr uint32_t kCharacterFormatTopic = 259;
constexpr uint32_t kBrowseTopic = 260;

struct HelpIdPair {
    uint32_t from;
    uint32_t to;
};

// Commands and dialogs that share a topic.
constexpr HelpIdPair kHelpIdTable[] = {
    // Recent files 2 to 16: the topic of entry 1.
    {kCommand + 57617, kCommand + 57616}, {kCommand + 57618, kCommand + 57616}, {kCommand + 57619, kCommand + 57616},
    {kCommand + 57620, kCommand + 57616}, {kCommand + 57621, kCommand + 57616}, {kCommand + 57622, kCommand + 57616},
    {kCommand + 57623, kCommand + 57616}, {kCommand + 57624, kCommand + 57616}, {kCommand + 57625, kCommand + 57616},
    {kCommand + 57626, kCommand + 57616}, {kCommand + 57627, kCommand + 57616}, {kCommand + 57628, kCommand + 57616},
    {kCommand + 57629, kCommand + 57616}, {kCommand + 57630, kCommand + 57616}, {kCommand + 57631, kCommand + 57616},
    // Reports: the Index Report topic.
    {kCommand + 32927, kCommand + 32774}, {kCommand + 33015, kCommand + 32774}, {kCommand + 33036, kCommand + 32774},
    // Create Keyword from Selection.
    {kCommand + 32889, 515},
    // Sort orders, the selected-keyword modes, the preview pane and the index modes: one topic each.
    {kCommand + 32881, kCommand + 32871}, {kCommand + 32880, kCommand + 32871}, {kCommand + 32882, kCommand + 32871},
    {kCommand + 32891, kCommand + 32890},
    {kCommand + 32977, kCommand + 32976},
    {kCommand + 33013, kCommand + 33012}, {kCommand + 33014, kCommand + 33012},
    // Show All Titles, Show Bookmarked Titles, Show Articles with Attachments: one topic.
    {kCommand + 32794, kCommand + 32793}, {kCommand + 32898, kCommand + 32793},
    // The saved-query entries and More Queries: Manage Saved Queries.
    {kCommand + 32942, kCommand + 32930}, {kCommand + 32943, kCommand + 32930}, {kCommand + 32944, kCommand + 32930},
    {kCommand + 32945, kCommand + 32930}, {kCommand + 32946, kCommand + 32930}, {kCommand + 32947, kCommand + 32930},
    {kCommand + 32948, kCommand + 32930}, {kCommand + 32949, kCommand + 32930}, {kCommand + 32950, kCommand + 32930},
    {kCommand + 32951, kCommand + 32930}, {kCommand + 32952, kCommand + 32930}, {kCommand + 32953, kCommand + 32930},
    {kCommand + 32954, kCommand + 32930}, {kCommand + 32955, kCommand + 32930}, {kCommand + 32956, kCommand + 32930},
    {kCommand + 32957, kCommand + 32930}, {kCommand + 32958, kCommand + 32930}, {kCommand + 32959, kCommand + 32930},
    {kCommand + 32960, kCommand + 32930}, {kCommand + 32961, kCommand + 32930}, {kCommand + 32962, kCommand + 32930},
    // Paste as text, RTF and HTML: Paste.
    {kCommand + 32888, kCommand + 57637}, {kCommand + 32922, kCommand + 57637}, {kCommand + 32920, kCommand + 57637},
    // Insert date, time: Insert Date and Time.
    {kCommand + 33009, kCommand + 33008}, {kCommand + 33010, kCommand + 33008},
    // Paragraph alignment, indents, bullets and numbering: Paragraph.
    {kCommand + 32965, kCommand + 33006}, {kCommand + 32966, kCommand + 33006}, {kCommand + 32967, kCommand + 33006},
    {kCommand + 32931, kCommand + 33006}, {kCommand + 32932, kCommand + 33006}, {kCommand + 32933, kCommand + 33006},
    {kCommand + 32980, kCommand + 33006},
    // Keyword groups: Manage Keyword Groups.
    {kCommand + 33025, kCommand + 33022}, {kCommand + 33026, kCommand + 33022}, {kCommand + 33027, kCommand + 33022},
    {kCommand + 33028, kCommand + 33022}, {kCommand + 33029, kCommand + 33022},
    // Window arrangement: one topic.
    {kCommand + 57651, kCommand + 57650}, {kCommand + 57649, kCommand + 57650}, {kCommand + 32780, kCommand + 57650},
    // Toolbars and status bar: one topic.
    {kCommand + 32867, kCommand + 59392}, {kCommand + 32929, kCommand + 59392}, {kCommand + 33005, kCommand + 59392},
    {kCommand + 59393, kCommand + 59392},
    {0, 0},
};

}  // namespace

uint32_t MapHelpId(uint32_t helpId)
{
    for (const HelpIdPair& pair : kHelpIdTable) {
        if (pair.from == 0 && pair.to == 0)
            break;
        if (pair.from == helpId)
            return pair.to;
    }
    return helpId;
}

std::vector<HelpCall> PlanHelpCalls(uint32_t helpId, bool splashShowing, uint32_t reportHelpId)
{
    std::vector<HelpCall> calls;
    if (helpId == 0xFFFFFFFEu || splashShowing)
        return calls;
    for (uint32_t area : kWindowTopicAreas) {
        if (helpId == area) {
            calls.push_back({HelpCall::kContext, kWindowTopic, false});
            return calls;
        }
    }
    // The system menu, borders and scroll bars, and the two toolbars without topics of their own.
    if ((helpId >= kNonClient + 3 && helpId <= kNonClient + 18) || helpId == kControl + 127 ||
        helpId == kControl + 167)
        return calls;
    for (uint32_t command : kCharacterFormatCommands) {
        if (helpId == command) {
            calls.push_back({HelpCall::kContext, kCharacterFormatTopic, false});
            return calls;
        }
    }
    if (helpId == 0x180AB || helpId == 0x180AD) {
        calls.push_back({HelpCall::kContext, kBrowseTopic, false});
        return calls;
    }
    if (helpId == kResource + 127) {
        calls.push_back({HelpCall::kDefaultTopic, 0, false});
        return calls;
    }
    if (helpId >= 0x1EF00 && helpId <= 0x1EF13) {
        calls.push_back({HelpCall::kQuit, 0, false});
        return calls;
    }
    if (helpId >= 0x1000 && helpId <= 0x1FFF)
        calls.push_back({HelpCall::kContext, helpId, false});
    if (helpId == kResource + 0x8E && reportHelpId != 0)
        helpId = reportHelpId;
    calls.push_back({HelpCall::kContext, MapHelpId(helpId), true});
    return calls;
}
