// The protection rules, the typing groups and the link upkeep together, over a model of the rich
// edit: a text of numbered characters that each key changes as the control does. After every step
// each stored link must still cover exactly the characters it was made on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "article/link_protection.h"
#include "article/link_upkeep.h"
#include "article/typing_group.h"
#include "tests/article/link_test_support.h"

namespace {

class CModelPane {
public:
    explicit CModelPane(uint32_t seed) : m_random(seed)
    {
        for (int i = 0; i < 300; ++i) m_text.push_back(m_next++);
        // Separate links and runs of touching ones.
        int32_t p = 3;
        int n = 0;
        while (p < 280) {
            int32_t length = 1 + static_cast<int32_t>(m_random() % 8);
            LinkRange link;
            link.start = p;
            link.end = p + length;
            link.type = 2;
            link.target = "L" + std::to_string(n++);
            m_links.Add(link);
            m_original[link.target] = Slice(link.start, link.end);
            p = link.end + (m_random() % 3 == 0 ? 0 : static_cast<int32_t>(m_random() % 12));
        }
    }

    void Step()
    {
        switch (m_random() % 9) {
        case 0: SelectWithMouse(); break;
        case 1: case 2: TypeCharacter(false); break;
        case 3: Backspace(); break;
        case 4: DeleteKey(); break;
        case 5: Paste(); break;
        case 6: Cut(); break;
        case 7: if (m_random() % 2) Undo(); else TypeCharacter(true); break;
        case 8: DoubleClickWordAndType(); break;
        }
    }

    void Check() const
    {
        int32_t lastEnd = 0;
        for (int i = 0; i < m_links.GetCount(); ++i) {
            const LinkRange& link = *m_links.Item(i);
            ASSERT_GE(link.start, lastEnd) << "links overlap or lost their order";
            ASSERT_LT(link.start, link.end);
            ASSERT_LE(link.end, Length());
            ASSERT_EQ(Slice(link.start, link.end), m_original.at(link.target)) << link.target;
            lastEnd = link.end;
        }
    }

    int LinkCount() const { return m_links.GetCount(); }

private:
    int32_t Length() const { return static_cast<int32_t>(m_text.size()); }
    std::vector<int> Slice(int32_t a, int32_t b) const { return std::vector<int>(m_text.begin() + a, m_text.begin() + b); }
    int32_t RandomPosition() { return static_cast<int32_t>(m_random() % (m_text.size() + 1)); }

    void Replace(int32_t a, int32_t b, int inserted)
    {
        m_text.erase(m_text.begin() + a, m_text.begin() + b);
        for (int i = 0; i < inserted; ++i) m_text.insert(m_text.begin() + a + i, m_next++);
        m_selStart = m_selEnd = a + inserted;
    }

    void Snapshot()
    {
        m_undoText = m_text;
        m_undoLinks.Copy(m_links);
        m_hasUndo = true;
    }

    void ApplyStep(const TypingStep& step)
    {
        if (step.snapshot) Snapshot();
        m_group = step.group;
    }

    void RandomCaret()
    {
        m_selStart = m_selEnd = RandomPosition();
        m_group = TypingGroup::kNone;  // a click ends a group
        m_flags = 0;
    }

    void SelectWithMouse()
    {
        int32_t a = RandomPosition(), b = RandomPosition();
        TextSpan span = WidenToLinks(m_links, {std::min(a, b), std::max(a, b)}, LinkTouch::kStrict);
        m_selStart = span.start;
        m_selEnd = span.end;
        m_group = TypingGroup::kNone;
        m_flags = 0;
    }

    ProtectionAnswer Ask(EditRequest request)
    {
        ProtectionRequest r;
        r.request = request;
        r.selection = {m_selStart, m_selEnd};
        ProtectionAnswer answer = DecideProtection(m_links, r);
        if (answer.widened) {
            m_selStart = answer.range.start;
            m_selEnd = answer.range.end;
        }
        for (auto i = answer.removeLinks.rbegin(); i != answer.removeLinks.rend(); ++i) m_links.RemoveAt(*i);
        return answer;
    }

    void Account(int32_t pendingStart, int32_t pendingEnd, int32_t lengthBefore, int extraFlags = 0)
    {
        ChangeFacts facts;
        facts.flags = kTypingKeystroke | extraFlags;
        facts.pendingStart = pendingStart;
        facts.pendingEnd = pendingEnd;
        facts.caret = m_selStart;
        facts.lengthDelta = Length() - lengthBefore;
        facts.wordBlanks = m_wordBlanks;
        KeepLinksInStep(m_links, facts);
        m_flags = 0;
    }

    void TypeCharacter(bool overtype)
    {
        if (m_random() % 2) RandomCaret();
        ApplyStep(StepForKey(m_group, KeyKind::kOther));
        // Overtype over a character: the character is the selection the typed one replaces.
        if (overtype && m_selStart == m_selEnd && m_selStart < Length()) m_selEnd = m_selStart + 1;
        Ask(EditRequest::kOtherKey);
        const int32_t s = m_selStart, e = m_selEnd, before = Length();
        Ask(EditRequest::kChar);
        ApplyStep(StepForCharacter(m_group));
        Replace(s, e, 1);
        Account(s, e, before, m_flags);
    }

    void Backspace()
    {
        if (m_random() % 2) RandomCaret();
        ApplyStep(StepForKey(m_group, KeyKind::kBackspace));
        Ask(EditRequest::kBackspace);
        const int32_t s = m_selStart, e = m_selEnd, before = Length();
        if (s < e)
            Replace(s, e, 0);
        else if (s > 0)
            Replace(s - 1, s, 0);
        Account(s, e, before);
    }

    void DeleteKey()
    {
        if (m_random() % 2) RandomCaret();
        ApplyStep(StepForKey(m_group, KeyKind::kDelete));
        ProtectionAnswer answer = Ask(EditRequest::kDelete);
        const int32_t s = m_selStart, e = m_selEnd, before = Length();
        if (s < e)
            Replace(s, e, 0);
        else if (s < Length())
            Replace(s, s + 1, 0);
        Account(answer.pending.start, answer.pending.end, before);
    }

    void Paste()
    {
        if (m_random() % 2) RandomCaret();
        if (Ask(EditRequest::kReplace).refuse) return;
        Snapshot();
        const int32_t s = m_selStart, e = m_selEnd, before = Length();
        Replace(s, e, 1 + static_cast<int>(m_random() % 5));
        ShiftLinksAfterEdit(m_links, s, e, Length() - before);
        m_group = TypingGroup::kNone;
    }

    void Cut()
    {
        SelectWithMouse();
        Ask(EditRequest::kCut);
        Snapshot();
        const int32_t s = m_selStart, e = m_selEnd, before = Length();
        Replace(s, e, 0);
        ShiftLinksAfterEdit(m_links, s, e, Length() - before);
    }

    void Undo()
    {
        if (!m_hasUndo) return;
        std::swap(m_text, m_undoText);
        CLinkRangeList links;
        links.Copy(m_links);
        m_links.Copy(m_undoLinks);
        m_undoLinks.Copy(links);
        m_selStart = m_selEnd = 0;
        m_group = TypingGroup::kNone;
    }

    // A word and one blank behind it, selected as a double-click does, then a character typed.
    void DoubleClickWordAndType()
    {
        int32_t a = RandomPosition();
        int32_t b = std::min(Length(), a + 1 + static_cast<int32_t>(m_random() % 6));
        // A double-click inside a stored link opens it instead; elsewhere the word is selected.
        if (FindLinkContaining(m_links, a) >= 0) return;
        m_selStart = a;
        m_selEnd = b;
        m_wordBlanks = 1;
        m_group = TypingGroup::kNone;
        ApplyStep(StepForKey(m_group, KeyKind::kOther));
        Ask(EditRequest::kOtherKey);
        const int32_t s = m_selStart, e = m_selEnd, before = Length();
        ApplyStep(StepForCharacter(m_group));
        Replace(s, e, 1);  // this control replaces the blank too
        Account(s, e, before, kTypingWordSelection);
        m_wordBlanks = 0;
    }

    std::mt19937 m_random;
    std::vector<int> m_text;
    int m_next = 0;
    int32_t m_selStart = 0, m_selEnd = 0;
    int m_flags = 0;
    int32_t m_wordBlanks = 0;
    TypingGroup m_group = TypingGroup::kNone;
    CLinkRangeList m_links;
    std::map<std::string, std::vector<int>> m_original;
    bool m_hasUndo = false;
    std::vector<int> m_undoText;
    CLinkRangeList m_undoLinks;
};

}  // namespace

TEST(EditingModel, LinksStayOnTheirCharactersThroughRandomEdits)
{
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CModelPane pane(seed);
        const int linksAtStart = pane.LinkCount();
        for (int step = 0; step < 400; ++step) {
            pane.Step();
            ASSERT_NO_FATAL_FAILURE(pane.Check()) << "step " << step;
        }
        EXPECT_LE(pane.LinkCount(), linksAtStart);
    }
}
