// Commands and their update rules, the portable half. A command target declares one static table of
// rows {command id (or range), handler, update rule}; the window half routes each command along a
// chain of targets (view, document, child frame, main frame, application) and the first row that
// matches decides: its update rule says whether the command is enabled, its handler runs it.
#pragma once
#include <cstddef>
#include <string>

// The user-interface element of one command (menu item, toolbar button, status pane) as an update
// rule sees it. Implementations apply what the rule sets.
class CCmdUI {
public:
    explicit CCmdUI(unsigned id) : m_id(id) {}
    virtual ~CCmdUI() = default;
    virtual void Enable(bool on = true) = 0;
    // 0 clears the check mark, 1 sets it, 2 shows the indeterminate state.
    virtual void SetCheck(int check = 1) = 0;
    virtual void SetText(const std::string& text) = 0;

    unsigned m_id;
};

// Runs no rule's effects: records what an update rule decided (used before dispatching a command).
class CCmdUIProbe : public CCmdUI {
public:
    explicit CCmdUIProbe(unsigned id) : CCmdUI(id) {}
    void Enable(bool on = true) override { m_enabled = on; }
    void SetCheck(int check = 1) override { m_check = check; }
    void SetText(const std::string& text) override { m_text = text; }

    bool m_enabled = true;
    int m_check = 0;
    std::string m_text;
};

// One row of a command table. A row with no handler only states the element's look (status panes);
// a row with no update rule is always enabled.
template <class T>
struct CommandEntry {
    using Handler = void (T::*)();
    using RangeHandler = void (T::*)(unsigned id);
    using Update = void (T::*)(CCmdUI& ui);

    constexpr CommandEntry(unsigned id, Handler handler, Update update = nullptr)
        : first(id), last(id), handler(handler), update(update) {}
    constexpr CommandEntry(unsigned firstId, unsigned lastId, RangeHandler handler, Update update = nullptr)
        : first(firstId), last(lastId), rangeHandler(handler), update(update) {}

    bool Matches(unsigned id) const { return id >= first && id <= last; }

    unsigned first;
    unsigned last;
    Handler handler = nullptr;
    RangeHandler rangeHandler = nullptr;
    Update update = nullptr;
};

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // With `ui` null: runs command `id` and returns true when this target has a handler for it.
    // With `ui`: applies this target's update rule for `id` and returns true when it has a row.
    // A derived class searches its own table (RouteToTable) and then calls its base class.
    virtual bool OnCmdMsg(unsigned id, CCmdUI* ui) { return false; }

protected:
    template <class T, size_t N>
    static bool RouteToTable(T* target, const CommandEntry<T> (&table)[N], unsigned id, CCmdUI* ui)
    {
        for (const CommandEntry<T>& row : table) {
            if (!row.Matches(id))
                continue;
            if (ui) {
                if (row.update)
                    (target->*row.update)(*ui);
                return true;
            }
            if (row.handler)
                (target->*row.handler)();
            else if (row.rangeHandler)
                (target->*row.rangeHandler)(id);
            else
                continue;
            return true;
        }
        return false;
    }
};
