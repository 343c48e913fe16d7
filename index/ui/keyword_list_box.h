// The program's one list of keywords (the index window's Index, Selected and keyword-preview lists, the
// keyword lists of dialogs and of the article window). An owner-drawn list box without data or strings
// (LBS_NODATA): the portable CKeywordListModel holds the listed ids, the filter and the order; the
// list box holds only the item count and the highlights. A fill sorts once and sets the count; one id
// goes in at its place by binary search. Names come from the document, drawn with the list font.
// Type-ahead selects by name; Insert and Delete post commands to the parent.
#pragma once
#include <string>
#include <vector>

#include "framework/ui/gdi.h"
#include "index/keyword_list_model.h"
#include "index/type_ahead.h"
#include "index/ui/drag_list.h"

class CAppSettings;
class CQuorvaneDoc;

class CKeywordListBox : public CDragList {
public:
    // Commands posted to the parent by Insert and Delete.
    enum : UINT { kAddKeywordsCommand = 32878, kRemoveKeywordCommand = 32879 };
    // The styles of every keyword list; dialogs give their template's list the same.
    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NODATA |
                                    LBS_OWNERDRAWFIXED | LBS_EXTENDEDSEL | LBS_WANTKEYBOARDINPUT |
                                    LBS_NOINTEGRALHEIGHT;

    CKeywordListBox();
    ~CKeywordListBox() override;

    // Creates the list as child `id` of `parent` (client edge, kStyle plus `extraStyle`).
    bool Create(HWND parent, int id, const RECT& rect, DWORD extraStyle = 0);

    void SetDocument(CQuorvaneDoc* document);
    // The per-file text colour comes from here once UseSettingsTextColor was called.
    void SetSettings(const CAppSettings* settings) { m_settings = settings; }

    // Lists exactly `ids`. Reports CQuorError 20 once when the list refused items.
    void SetIds(const CIdSet& ids);
    void GetIds(CIdSet& out) const { out.Copy(m_model.GetIds().Values()); }
    void GetSelectedIds(CIdSet& out) const;
    void GetItemIdsInOrder(std::vector<int32_t>& out) const { out = m_model.Items().Ids(); }
    // Lists `id`; with `highlight` its item is highlighted and becomes the caret. True when it was
    // listed already. Throws CQuorError 20 when the list refuses the item.
    bool AddId(int32_t id, bool highlight);
    // Clears the highlights, then lists each id not listed yet, highlighted; the caret goes to the
    // last one added.
    void AddAndSelectIds(const CIdSet& ids);
    void RemoveId(int32_t id);
    void RemoveIds(const CIdSet& ids);
    void RemoveSelected();
    void ResetContent();
    bool HasId(int32_t id) const { return m_model.HasId(id); }
    // Highlights the items of `ids`; other highlights stay.
    void SelectIds(const CIdSet& ids);
    void SelectId(int32_t id);
    void SetFilter(const CIdSet& filter, bool filterOn, bool showAll);
    void RefreshFilter(bool filterOn);
    void SetDescending(bool descending);
    bool IsDescending() const { return m_model.IsDescending(); }
    // -2 the list's default background, -1 the button face, else that colour.
    void SetBackgroundColor(int32_t state);
    void UseSettingsTextColor() { m_useSystemTextColor = false; }
    void SetListFont(HFONT font, bool redraw);
    std::string GetItemText(int index) const;
    int32_t GetItemId(int index) const;
    void ResetTypeAhead();
    void EnsureVisible(int index) const;
    // Puts item `index` at the top. The list scrolls with drawing off and is painted once later,
    // scroll bar included: a list that scrolls while drawn paints its scroll bar there and then,
    // tens of milliseconds under Wine for every letter the completion types.
    void ScrollToTop(int index) const;

    const CKeywordListModel& Model() const { return m_model; }
    unsigned DropClasses() const override { return DropWindowFacts::kDragList | DropWindowFacts::kKeywordList; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    std::string ItemTipText(int index) const override;
    // Insert and Delete; true when the key was used.
    virtual bool OnKey(UINT vk);
    void PostCommandToParent(UINT command) const;
    // Lets the list draw the items in m_model again after the model changed as a whole: sets the
    // count, highlights `highlighted` and puts the caret on `caretId` (or near `caretIndex`).
    void ApplyModel(const std::vector<int32_t>& highlighted, int32_t caretId, int caretIndex);

private:
    // From this many ids on, adding or removing them refills the list once instead of going item
    // by item.
    static constexpr int kRefillFrom = 64;

    void DrawItem(const DRAWITEMSTRUCT& item);
    void OnChar(char c);
    COLORREF TextColor() const;
    std::vector<int> SelectedIndexes() const;
    void SetRedraw(bool on) const;
    // Highlights the items at `indexes` (any order, repeats allowed); the others keep their state.
    void SelectIndexRuns(std::vector<int> indexes) const;

    CKeywordListModel m_model;
    CQuorvaneDoc* m_document = nullptr;
    const CAppSettings* m_settings = nullptr;
    int32_t m_backgroundState = -2;
    COwnedHandle<HBRUSH> m_background;
    bool m_useSystemTextColor = true;
    CTypeAhead m_typeAhead;
};

// True while the system's high-contrast mode is on.
bool IsHighContrastOn();
// Draws `text` at (x, y) in `dc`, cut to the longest prefix narrower than the screen.
void DrawTextWithinScreen(HDC dc, int x, int y, const std::string& text, bool tabbed);
// Starts drawing an owner-drawn list item: a change of focus alone draws the focus rectangle and
// gives false; otherwise the item is filled with the highlight colour when selected, else the window
// colour, gets its focus rectangle when it has the focus, and the result is true.
bool PaintListItemBackground(const DRAWITEMSTRUCT& item);
// Gives `list` the font (null: the system's) and items as tall as the font's text.
void SetListFontWithTextHeight(HWND list, HFONT font, bool redraw);
