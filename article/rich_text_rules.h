// Window-free rules of the program's rich-text control: the title taken from an article's text, the
// selection a selection-change notice is clamped to, which control library counts as newer, and the
// program's default character format.
#pragma once
#include <cstdint>
#include <string>

#include "shell/font_settings.h"

// At most this many words make a title.
constexpr int kMaxTitleWords = 20;

// The words of the first line that holds any, at most 20, joined by single blanks. `text` is plain
// text as the control streams it out (lines end in CR LF or CR); blank lines before the first word
// are skipped, the line end after it ends the title.
std::string MakeTitleFromText(const std::string& text);

// A selection end of -1 means "to the end": it becomes the whole text; an end past the text
// length is cut to it.
void ClampSelectionRange(int32_t& start, int32_t& end, int32_t length);

// `version` as GetDllVersion gives it (major in the high 16 bits, minor in the low 16): true for
// anything after 5.0 (5.1, 6.0 ...).
bool IsNewerRichEditVersion(uint32_t version);

// The colour a caller's colour flag marks text set with.
constexpr uint32_t kMarkedTextColor = 0x010201;
constexpr uint32_t kCfmColor = 0x40000000;
constexpr uint32_t kCfmOffset = 0x10000000;
constexpr uint32_t kCfeAutoColor = 0x40000000;

// The default character format: the article font at `pixelsPerInch` (bold only at weight 700, the
// height in twips, always positive), the text colour or the automatic-colour effect, offset 0. With
// `markColor` the colour becomes kMarkedTextColor. cbSize is the system's CHARFORMAT size (60).
CharFormat MakeDefaultCharFormat(const LogFont& font, int pixelsPerInch, uint32_t color, bool automatic,
                                 bool markColor);

// `rtf` with every protection switched off: each \protect control word (with or without a
// parameter) becomes \protect0, nothing else changes (escaped backslashes, \'hh and the bytes of
// \bin are passed over). The article pane loads stored text this way, so that the only protected
// characters afterwards are the stored links it marks, and no pass over the whole text has to take
// the protection off first. `changed` tells whether any protection was there.
std::string WithoutProtection(const std::string& rtf, bool* changed = nullptr);

// Whether `rtf` may mark text hidden: true when it holds a \v control word that does not switch
// hidden text off (\v0). Escaped backslashes are passed over. A false answer is certain, so a loader
// may then skip clearing the hidden attribute over the whole text.
bool RtfMayHideText(const std::string& rtf);
