// The message loop of a thread, with message filters (which may take a
// message before it is dispatched, e.g. accelerators) and idle handlers.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace framework {

class CMessageFilter {
public:
    // True when the message was taken and must not be dispatched.
    virtual bool PreTranslateMessage(MSG* msg) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    // `idleCount` counts the passes since idling began, from 0. True when the
    // handler wants another pass.
    virtual bool OnIdle(int idleCount) = 0;

protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    bool AddMessageFilter(CMessageFilter* filter);
    bool RemoveMessageFilter(CMessageFilter* filter);
    bool AddIdleHandler(CIdleHandler* handler);
    bool RemoveIdleHandler(CIdleHandler* handler);
    std::size_t MessageFilterCount() const;
    std::size_t IdleHandlerCount() const;

    // Runs until WM_QUIT and returns its wParam.
    int Run();

    // Offers the message to the filters, the last added first.
    bool PreTranslateMessage(MSG* msg);
    // One idle pass over every handler; true when any wants another pass.
    bool OnIdle(int idleCount);

    // False for the frequent messages after which idle work is not resumed:
    // mouse moves, non-client mouse moves, paint and the system timer (0x118).
    static bool IsIdleMessage(const MSG& msg);

private:
    // Entries removed while the lists are walked become null and are dropped
    // once no walk is in progress, so a handler may remove itself (or another).
    void Compact();

    std::vector<CMessageFilter*> filters_;
    std::vector<CIdleHandler*> idleHandlers_;
    int walking_ = 0;
};

}  // namespace framework
