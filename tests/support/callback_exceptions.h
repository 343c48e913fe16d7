// Every test program installs a callback-exception sink that fails the running test (see
// callback_failure.cpp): an exception that a window procedure, dialog procedure, thread entry or
// OLE callback stopped is a fault, even though the program went on. A test that throws at a
// callback on purpose holds a CExpectedCallbackExceptions for that time and checks what it caught.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "framework/callback_exceptions.h"

class CExpectedCallbackExceptions {
public:
    struct Caught {
        std::string where;
        std::string what;
    };

    CExpectedCallbackExceptions() : m_previous(SetCallbackExceptionSink(&Record))
    {
        std::lock_guard<std::mutex> lock(Mutex());
        Log().clear();
    }
    ~CExpectedCallbackExceptions() { SetCallbackExceptionSink(m_previous); }
    CExpectedCallbackExceptions(const CExpectedCallbackExceptions&) = delete;
    CExpectedCallbackExceptions& operator=(const CExpectedCallbackExceptions&) = delete;

    // What the boundaries stopped while this object lived, in order (worker threads included).
    std::vector<Caught> Stopped() const
    {
        std::lock_guard<std::mutex> lock(Mutex());
        return Log();
    }

private:
    static void Record(const char* where, const char* what)
    {
        std::lock_guard<std::mutex> lock(Mutex());
        Log().push_back({where, what});
    }
    static std::mutex& Mutex()
    {
        static std::mutex mutex;
        return mutex;
    }
    static std::vector<Caught>& Log()
    {
        static std::vector<Caught> log;
        return log;
    }

    CallbackExceptionSink m_previous;
};
