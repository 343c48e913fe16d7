// The owner-drawn list of article titles (the index window's titles list, and the article dialogs).
// Like the keyword lists it is a list box without data (LBS_NODATA): it holds the listed ids and their
// display order, the document's current sort order; a fill sorts once (by collation keys made once)
// and sets the count, one id goes in by binary search with CompareArticles. Type-ahead selects by
// title. It is not a drag source; the drag lists recognise it as a drop target.
#pragma once
#include <string>
#include <vector>

#include "framework/ui/list_box.h"
#include "index/sorted_id_list.h"
#include "index/type_ahead.h"
#include "index/ui/drag_list.h"
#include "storage/id_set.h"

class CQuorvaneDoc;

class CArticleListBox : public CListBox, public CDropClassified {
public:
    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NODATA |
                                    LBS_OWNERDRAWFIXED | LBS_EXTENDEDSEL | LBS_WANTKEYBOARDINPUT |
                                    LBS_NOINTEGRALHEIGHT;

    CArticleListBox();
    ~CArticleListBox() override;

    bool Create(HWND parent, int id, const RECT& rect, DWORD extraStyle = 0);
    void SetDocument(CQuorvaneDoc* document);
    CQuorvaneDoc* GetDocument() const { return m_document; }

    // Lists exactly `ids` (never kNoneId); the selection is cleared.
    void SetIds(const CIdSet& ids);
    void GetIds(CIdSet& out) const { out.Copy(m_listed.Values()); }
    // The highlighted ids, sorted by id or in list order.
    void GetSelectedIds(CIdSet& out) const;
    void GetSelectedIds(std::vector<int32_t>& out) const;
    // Lists `id` at its place (highlighted, and scrolled to, with `highlight`).
    void AddId(int32_t id, bool highlight);
    void RemoveId(int32_t id);
    // A listed id whose title, date or flags changed goes to its new place (highlighted, and scrolled
    // to, with `highlight`); an id not listed is added. The item count stays, and every other title
    // keeps its highlight and the caret stays on its title.
    void MoveId(int32_t id, bool highlight);
    void RemoveSelected();
    // Removes every listed id of `ids` in one pass; the other highlights stay.
    void RemoveIds(const CIdSet& ids);
    void ResetContent();
    bool HasId(int32_t id) const { return m_listed.Contains(id); }
    bool IsIdSelected(int32_t id) const;
    // Highlights the item of `id`; its index or -1.
    int SelectId(int32_t id);
    // Sorts the listed ids again in the current order; with `keepSelection` the highlights stay and
    // the topmost of them is scrolled into view.
    void Resort(bool keepSelection);
    // Only the listed ids of `ids` changed how they sort: they move to their places, the highlights
    // stay and the topmost of them is scrolled into view.
    void Reposition(const CIdSet& ids);
    int32_t GetItemId(int index) const;
    int GetItemCount() const { return m_items.Count(); }
    // The index of the item of `id`, or -1.
    int IndexOfId(int32_t id) const { return m_items.IndexOf(id); }
    void ResetTypeAhead();
    void EnsureVisible(int index) const;
    void SetListFont(HFONT font, bool redraw);

    unsigned DropClasses() const override { return DropWindowFacts::kArticleList; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Draws one item; the titles list adds its columns.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    // The title of an article, or nullptr.
    const char* TitleOf(int32_t id) const;

private:
    void OnChar(char c);
    std::vector<int> SelectedIndexes() const;
    void RemoveIndexes(const std::vector<int>& indexes);
    void SetRedraw(bool on) const;
    // Sets the count from m_items, then highlights `highlighted`.
    void ApplyItems(const std::vector<int32_t>& highlighted);
    // The folded first letter of every title in display order, made again after m_items changed as
    // a whole; single inserts and removals keep it in step.
    void FoldInitials();
    // After item `index` was inserted or removed (a list out of step stays so: OnChar then reads
    // every title).
    void KeepInitialsInStep(int index, bool inserted);

    CQuorvaneDoc* m_document = nullptr;
    CArticleIdSet m_listed;
    CSortedIdList m_items;
    std::vector<unsigned char> m_initials;  // CTypeAhead::FoldInitial of each item's title
    CTypeAhead m_typeAhead;
};
