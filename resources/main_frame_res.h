// Resource ids of the main frame, its bars and the shared colour controls.
#pragma once

#define IDR_INDEX_FRAME 129
#define IDR_ARTICLE_FRAME 141
#define IDR_REPORT_FRAME 142
#define IDR_STANDARD_BAR 127
#define IDR_FORMAT_BAR 167
#define IDR_BROWSE_BAR 253
#define IDR_TOOLS_BAR 377
#define IDR_COLOR_MENU 183

#define IDI_LINK 219

// Toolbar images: normal, hot, disabled at 16 and 24 pixels.
#define IDB_STANDARD_24 272
#define IDB_STANDARD_24_HOT 273
#define IDB_STANDARD_24_DISABLED 274
#define IDB_STANDARD_16 277
#define IDB_STANDARD_16_HOT 278
#define IDB_STANDARD_16_DISABLED 279
#define IDB_BROWSE_16 315
#define IDB_BROWSE_16_HOT 316
#define IDB_BROWSE_16_DISABLED 317
#define IDB_BROWSE_24 318
#define IDB_BROWSE_24_HOT 319
#define IDB_BROWSE_24_DISABLED 320
#define IDB_FORMAT_16 321
#define IDB_FORMAT_16_HOT 322
#define IDB_FORMAT_16_DISABLED 323
#define IDB_FORMAT_24 324
#define IDB_FORMAT_24_HOT 325
#define IDB_FORMAT_24_DISABLED 326
#define IDB_TOOLS_16 379
#define IDB_TOOLS_16_DISABLED 380
#define IDB_TOOLS_16_HOT 381
#define IDB_TOOLS_24 382
#define IDB_TOOLS_24_HOT 383
#define IDB_TOOLS_24_DISABLED 384
// The swatch pictures of the two colour buttons of the Format bar: normal and disabled.
#define IDB_HIGHLIGHT_16 329
#define IDB_HIGHLIGHT_16_DISABLED 330
#define IDB_HIGHLIGHT_24 331
#define IDB_HIGHLIGHT_24_DISABLED 332
#define IDB_TEXT_COLOR_16 333
#define IDB_TEXT_COLOR_16_DISABLED 334
#define IDB_TEXT_COLOR_24 335
#define IDB_TEXT_COLOR_24_DISABLED 336
// The drop arrow of the colour button.
#define IDB_DROP_ARROW 264

// The colour popup.
#define IDD_COLOR_POPUP 265
#define IDC_COLOR_OTHER 1001
#define IDC_COLOR_GRID 1353
#define IDC_COLOR_AUTOMATIC 1354
#define IDC_COLOR_CUSTOM 1355

// Indicator panes of the status bar.
#define IDS_INDICATOR_READ 200
#define IDS_INDICATOR_LINK 202

// Captions of the four toolbars (shown while floating).
#define IDS_BAR_STANDARD 61450
#define IDS_BAR_FORMAT 61451
#define IDS_BAR_BROWSE 61452
#define IDS_BAR_TOOLS 61453
#define IDS_COLOR_AUTOMATIC 61454
