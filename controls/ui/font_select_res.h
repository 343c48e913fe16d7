// Ids of the default-font dialog (the system's font dialog on a template of ours). The face, style,
// size, effect, colour and sample controls keep the ids the system's font dialog looks for.
#pragma once

#define IDD_FONT_SELECT 1543
#define IDC_FONT_SELECT_COLOR 1001
#define IDC_FONT_USE_DEFAULT 1027
#define IDC_FONT_HELP 1038
#define IDC_FONT_STRIKEOUT 1040
#define IDC_FONT_UNDERLINE 1041
#define IDC_FONT_EFFECTS_GROUP 1072
#define IDC_FONT_SAMPLE_GROUP 1073
#define IDC_FONT_FACE_LABEL 1088
#define IDC_FONT_STYLE_LABEL 1089
#define IDC_FONT_SIZE_LABEL 1090
#define IDC_FONT_COLOR_LABEL 1091
#define IDC_FONT_SAMPLE 1092
#define IDC_FONT_FACE 1136
#define IDC_FONT_STYLE 1137
#define IDC_FONT_SIZE 1138
#define IDC_FONT_COLOR 1139
// The colour button that takes the place of "Select Color...".
#define IDC_FONT_COLOR_BUTTON 110
