// Resource ids of the article window's header: its context menus, the commands only they send and
// the attachment mark's tip.
#pragma once

// The context menus: title box ("TitleBox"), date box ("ArticleDate"), time field ("ArticleTime")
// and the assigned-keyword list ("ArticleKeywords").
#define IDR_TITLE_BOX_MENU 152
#define IDR_ARTICLE_DATE_MENU 153
#define IDR_ARTICLE_KEYWORDS_MENU 155
#define IDR_ARTICLE_TIME_MENU 369

// Change Keywords for Article from the keyword list, and Select Date from Calendar.
#define IDM_KEYWORD_CHANGE_FROM_LIST 32878
#define IDM_ARTICLE_SELECT_DATE 33024

#define IDS_ATTACHMENT_COUNT_TIP 11334

// The menu of read-only article text (the Duplicate Articles preview): Copy and Select All.
#define IDR_DISPLAY_TEXT_BOX_MENU 236
// Where the Duplicate Articles dialog puts its preview (the preview itself is control 1352).
#define IDC_DUPLICATE_PREVIEW_PLACE 1353

// The Undo command's text after a Replace (1, 3) and after undoing it (2, 4).
#define IDS_UNDO_REPLACE 11309
#define IDS_UNDO_REPLACE_ALL 11310
#define IDS_REDO_REPLACE 11311
#define IDS_REDO_REPLACE_ALL 11312
