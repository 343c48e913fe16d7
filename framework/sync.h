// Synchronisation between the user-interface thread and worker threads, portable: a critical
// section (recursive, as the system's is), a scope lock, and an event a thread can wait for with a
// time-out.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

class CCriticalSection {
public:
    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }

private:
    std::recursive_mutex m_mutex;
};

// Holds `section` for its life.
class CLock {
public:
    explicit CLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
    ~CLock() { m_section.Unlock(); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;

private:
    CCriticalSection& m_section;
};

// A manual-reset event stays set until Reset; an auto-reset event lets one waiter through and
// clears itself.
class CEvent {
public:
    static constexpr unsigned kInfinite = ~0u;

    explicit CEvent(bool manualReset = false, bool initiallySet = false)
        : m_manualReset(manualReset), m_set(initiallySet) {}

    void Set()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_set = true;
        }
        if (m_manualReset)
            m_changed.notify_all();
        else
            m_changed.notify_one();
    }
    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_set = false;
    }
    // True when the event was set within `timeoutMs` (kInfinite: no limit).
    bool Wait(unsigned timeoutMs = kInfinite)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        auto isSet = [this] { return m_set; };
        if (timeoutMs == kInfinite)
            m_changed.wait(lock, isSet);
        else if (!m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), isSet))
            return false;
        if (!m_manualReset)
            m_set = false;
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_manualReset;
    bool m_set;
};
