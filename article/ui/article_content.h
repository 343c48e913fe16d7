// The rich-text pane in which an article's text is edited. Besides ordinary rich editing it keeps
// the article's stored hypertext links (`m_links`) as ranges of the text, shows them green,
// underlined and protected, decides every change that would touch one (article/link_protection.h),
// keeps the ranges on their characters through every edit (article/link_upkeep.h), opens a link on a
// double-click, shows its target in the status bar under the mouse, and keeps a one-step undo of its
// own that restores text and links together.
//
// The protection rules run in the pane's own message filter, before the control sees a message
// that may change text: keys, characters, clear, cut, paste, EM_REPLACESEL, EM_STREAMIN into the
// selection, undo and format requests. A refused message is not passed on. A control that sends
// EN_PROTECTED (reflected here by the parent) gets the answer already decided; Wine's sends none.
//
// Keystrokes are accounted when the control reports the change (EN_CHANGE, reflected by the
// parent, which still receives it); the other edit messages are accounted as soon as the control
// returns from them. While the pane changes text or formats on its own the bypass flag is set and
// the rules and the accounting step aside.
#pragma once
#include <functional>
#include <string>

#include "article/address_look.h"
#include "article/article_link.h"
#include "article/link_protection.h"
#include "article/typing_group.h"
#include "article/ui/rich_edit_ctrl1.h"
#include "storage/link_range_list.h"

class CArticleContent : public CRichEditCtrl1 {
public:
    // The colours of the looks.
    static constexpr COLORREF kLinkColor = 0x007F00;
    static constexpr COLORREF kAddressColor = 0xFF0000;
    // Posted to itself: apply the link look to the whole text again.
    static constexpr UINT kReapplyLinkLook = WM_APP + 3;

    CArticleContent();
    ~CArticleContent() override;

    // Creates the pane and asks for the notifications it keeps its links by.
    bool Create(DWORD style, const RECT& rect, HWND parent, int id) override;
    // Empties the text only when it is not already empty.
    void ClearText() override;

    // The document article links open through and take their titles from; nullptr: none.
    void SetDocument(IArticleLinkDocument* document) { m_document = document; }
    // Where the status-bar texts go (the main frame's status bar).
    void SetStatusTextHandler(std::function<void(const std::string&)> handler) { m_statusText = std::move(handler); }

    // Loading never moves a link: the bypass flag is set throughout. With `links` the article's stored
    // links come with the text and get their look once it is in.
    void LoadRtfContent(const std::string& rtf, bool addressesShown, const CLinkRangeList* links = nullptr);
    void LoadTextContent(const std::string& text);

    void SetLinkRanges(const CLinkRangeList& links);
    void GetLinkRanges(CLinkRangeList& links) const { links.Copy(m_links); }
    const CLinkRangeList& Links() const { return m_links; }
    void ClearLinkRanges();
    // 0: addresses shown and active; 1: active, not shown; 2 and above: neither. Stored links keep
    // their look and open in every mode.
    void SetLinkMode(int mode);
    bool AreLinksActive() const { return m_linksActive != 0; }
    bool AreAddressesShown() const { return m_addressesShown != 0; }
    // The stored-link look over the whole text, redraw suspended.
    void ApplyLinkFormatting();
    // The stored link containing `position` (touching either end counts): its index, or -1.
    int FindLinkAt(int32_t position, LinkRange* link = nullptr) const;
    // Replaces the selection by `text`; with `keepLinks` a selection inside one link stretches it.
    void InsertLinkText(const std::string& text, bool canUndo, bool keepLinks);
    void AddLink(const LinkRange& range);
    // With a range of a type other than 0: removes the links starting in it and gives it the plain look.
    void RemoveLinksInRange(const LinkRange& range);
    // Opens link `index` as a double-click does; errors are reported to the user.
    void OpenLink(int index);
    // Replace All over the article text with its stored links kept in step (the base control's
    // ReplaceAll over `m_links`); the links get their look again afterwards. Not undoable.
    int ReplaceAllKeepingLinks(DWORD flags, const std::string& find, const std::string& replacement);
    void SetReadOnly(bool readOnly);
    void SetWordWrap(bool wrap);
    void Undo();
    bool CanUndo() const { return m_hasUndo && !m_readOnly; }
    void GetSelectionText(std::string& out) { GetText(out, false); }
    void ResetDefaultFormat();

    // The drop accounting (the control's own drag and drop): a drop into the pane begins (`copy`
    // when Ctrl makes it a copy) and the control reports it done.
    void OnDropBegin(bool copy);
    void OnDragDropDone();

    // ---- Recognised addresses (blue, underlined, not stored) ----
    // The address look on every recognised address of [from, to); with `clearGaps` it also comes off
    // the text between them.
    void FormatAddresses(int32_t from, int32_t to, bool clearGaps);
    // The characters of [from, to) that carry the address look get the plain look.
    void RemoveAddressLook(int32_t from, int32_t to);
    // After an edit of [from, to): the addresses of the words it touched are looked at again.
    void RefreshAddresses(int32_t from, int32_t to);
    // The hand cursor over a recognised address at a client point, else the I-beam.
    void SetCursorAtPoint(LPARAM point);

    int GetTypingFlags() const { return m_typingFlags; }
    TypingGroup GetTypingGroup() const { return m_typingGroup; }

protected:
    // Tracks the text's context menu at `screen` with the right button; the main frame (else the
    // parent) owns its commands.
    virtual void TrackContextMenu(HMENU popup, POINT screen);

    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnKeyDown(UINT key, UINT repeat, UINT flags, LRESULT& result) override;

private:
    // ---- article_content_edit.cpp: the message filter and the link upkeep ----
    bool FilterKeyDown(UINT key, LPARAM lParam, LRESULT& result);
    bool FilterChar(WPARAM ch, LPARAM lParam, LRESULT& result);
    bool FilterKeyUp(UINT key, LPARAM lParam, LRESULT& result);
    // Clear, cut, paste, replace and selection stream-in: decided, then passed on and accounted.
    bool FilterEdit(UINT msg, WPARAM wParam, LPARAM lParam, EditRequest request, bool snapshot, LRESULT& result);
    bool FilterCharFormat(WPARAM scope, LPARAM lParam, LRESULT& result);
    LRESULT AnswerProtected(const ENPROTECTED* notice);
    void OnContentChanged();
    // Carries out an answer: removed links get the plain look, a widened range is selected and
    // becomes the pending edit range.
    void Carry(const ProtectionAnswer& answer);
    ProtectionAnswer Decide(EditRequest request, const TextSpan& selection);
    void WidenSelectionToLinks();
    void ApplyTypedCharLook(TypedCharLook look, int32_t position);
    void ClearTypingFlags() { m_typingFlags = 0; }

    // ---- article_content_mouse.cpp: double-click, hover, cursor ----
    bool OnDoubleClick(LPARAM lParam, LRESULT& result);
    void OnMouseMoved(LPARAM lParam);
    int32_t CharFromPoint(LPARAM lParam) const;
    void ShowLinkStatusText(const LinkRange& link);
    void ShowStatus(const std::string& text);
    // The first pop-up of the text's menu at a screen point; (-1, -1): at the caret (the keyboard's
    // menu key).
    void ShowContextMenu(POINT screen);

    // ---- article_content_address.cpp: recognised addresses ----
    void ApplyAddressChanges(const std::vector<AddressLookChange>& changes);
    void ApplyAddressLook(int32_t start, int32_t end);
    void SwitchAddresses(bool shown);
    void TrackAddressesAfterKeystroke(int32_t oldCaret, int32_t newCaret, int32_t delta);
    // A double-click outside stored links while links are active; false when it found no address.
    bool OpenAddressAt(int32_t position);

    // ---- article_content.cpp: looks and snapshots ----
    void ApplyLinkLook(int32_t start, int32_t end);
    void ApplyPlainLook(int32_t start, int32_t end);
    void ApplyLinkLookOver(int32_t start, int32_t end);
    COLORREF NeighbourColor(int32_t position, bool& automatic);
    bool HasAddressLook(int32_t position);
    char CharAt(int32_t position) const;
    void SaveUndoSnapshot();
    void LoadWithBypass(const std::string& rtf);
    // The text, then the look on `m_links`.
    void LoadWithLinks(const std::string& rtf);

    // Sets a flag for the life of a scope and gives back its old value.
    class CFlagScope {
    public:
        CFlagScope(int& flag, int value) : m_flag(flag), m_saved(flag) { m_flag = value; }
        ~CFlagScope() { m_flag = m_saved; }
        CFlagScope(const CFlagScope&) = delete;
        CFlagScope& operator=(const CFlagScope&) = delete;

    private:
        int& m_flag;
        int m_saved;
    };

    TextSpan m_pending;               // the text the current keystroke or clear replaces
    TextSpan m_lastSelection;
    int m_typingFlags = 0;
    int m_overtypeInserts = 0;
    CLinkRangeList m_links;
    HCURSOR m_handCursor = nullptr;
    int m_linksActive = 1;
    int32_t m_wordBlanks = 0;         // blanks behind a double-clicked word that its selection holds
    int m_busy = 0;                   // the pane changes formats itself
    CLinkRangeList m_undoLinks;
    std::string m_undoRtf;
    TextSpan m_undoSelection;
    int m_undoFirstLine = 0;
    int m_undoAddressesShown = 0;
    bool m_hasUndo = false;
    TypingGroup m_typingGroup = TypingGroup::kNone;
    int m_bypass = 0;
    int m_addressesShown = 0;
    HCURSOR m_currentCursor = nullptr;
    bool m_readOnly = false;
    bool m_wordWrap = true;
    int m_wrapApplied = -1;  // the wrapping last sent to the control: -1 none yet, 0 off, 1 on
    // The text length (in positions) after the last change accounted; each change moves links by
    // the difference.
    int32_t m_knownLength = 0;
    // Nothing in the text is protected: set by a load, cleared by the first link look and by every
    // change after it.
    bool m_unprotected = false;
    // Inside the filter: the answer an EN_PROTECTED for the message being passed on gets.
    int m_filtering = 0;
    TextSpan m_dropSelection;
    CLinkFinder m_finder;
    CAddressTracker m_addressTracker;
    IArticleLinkDocument* m_document = nullptr;
    std::function<void(const std::string&)> m_statusText;
};
