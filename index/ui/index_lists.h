// The index window's own lists: the keyword index, the selected keywords, the keyword preview, the
// keyword groups and the titles. Each is one of the program's lists with the keys, drop classes and
// title drawing of its place in the index window.
#pragma once
#include "controls/ui/masked_bitmap.h"
#include "index/index_layout.h"
#include "index/index_placement.h"
#include "index/ui/article_list_box.h"
#include "index/ui/keyword_group_list_box.h"
#include "index/ui/keyword_list_box.h"

class CAppSettings;

// The keyword index (control 1037): Insert adds keywords.
class CIndexIndexList : public CKeywordListBox {
public:
    enum : UINT { kAddKeywordCommand = 32804 };

protected:
    bool OnKey(UINT vk) override;
};

// The selected keywords (control 1038).
class CSelectedKeywords : public CKeywordListBox {
public:
    unsigned DropClasses() const override { return CKeywordListBox::DropClasses() | DropWindowFacts::kSelectedKeywords; }
};

// The keywords shared by the highlighted titles (control 1013).
class CIndexKeywordPreviewPane : public CKeywordListBox {
public:
    unsigned DropClasses() const override { return CKeywordListBox::DropClasses() | DropWindowFacts::kKeywordPreview; }
};

// The keyword groups (control 1017): Insert adds a group, Delete deletes the highlighted ones.
class CIndexGroupList : public CKeywordGroupListBox {
public:
    enum : UINT { kAddGroupCommand = 33026, kDeleteGroupsCommand = 33029 };

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// The titles (control 1003): each line shows the marks its settings ask for, the date (and time) and
// the title. Insert creates a new article, Delete deletes the highlighted ones.
class CIndexTitleList : public CArticleListBox {
public:
    enum : UINT { kNewArticleCommand = 32785, kDeleteArticlesCommand = 32788 };

    void SetSettings(const CAppSettings* settings) { m_settings = settings; }
    // Loads the marks' pictures (the same as the column headers'); their widths are the columns'.
    void LoadMarks();
    // Measures the date, time and spacing widths in the list font (again after a date format change).
    void Measure();
    // One item plus the borders plus 4.
    int GetMinimumHeight() const;
    int GetDateColumnWidth() const { return TitleDateColumnWidth(LineInput()); }
    TitleLineInput LineInput() const;
    void SetTitleListFont(HFONT font, bool redraw);

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    const CAppSettings* m_settings = nullptr;
    CMaskedBitmap m_marks[kStatusColumnCount];
    int m_statusWidths[kStatusColumnCount] = {};
    int m_dateWidth = 0;
    int m_timeWidth = 0;
    int m_spacing = 0;
};
