#include "framework/message_loop.h"

#include <algorithm>

namespace framework {
namespace {

template <typename T>
bool AddUnique(std::vector<T*>& list, T* item) {
    if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
    list.push_back(item);
    return true;
}

template <typename T>
bool RemoveEntry(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (!item || it == list.end()) return false;
    *it = nullptr;
    return true;
}

template <typename T>
std::size_t LiveCount(const std::vector<T*>& list) {
    return static_cast<std::size_t>(std::count_if(list.begin(), list.end(), [](T* p) { return p != nullptr; }));
}

constexpr UINT kSystemTimer = 0x0118;

}  // namespace

bool CMessageLoop::AddMessageFilter(CMessageFilter* filter) { return AddUnique(filters_, filter); }
bool CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
    const bool removed = RemoveEntry(filters_, filter);
    Compact();
    return removed;
}
bool CMessageLoop::AddIdleHandler(CIdleHandler* handler) { return AddUnique(idleHandlers_, handler); }
bool CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
    const bool removed = RemoveEntry(idleHandlers_, handler);
    Compact();
    return removed;
}
std::size_t CMessageLoop::MessageFilterCount() const { return LiveCount(filters_); }
std::size_t CMessageLoop::IdleHandlerCount() const { return LiveCount(idleHandlers_); }

void CMessageLoop::Compact() {
    if (walking_ != 0) return;
    std::erase(filters_, nullptr);
    std::erase(idleHandlers_, nullptr);
}

bool CMessageLoop::PreTranslateMessage(MSG* msg) {
    bool taken = false;
    ++walking_;
    // Indexes, not iterators: a filter may add another while it runs.
    for (std::size_t i = filters_.size(); i-- > 0 && !taken;) {
        if (i < filters_.size() && filters_[i]) taken = filters_[i]->PreTranslateMessage(msg);
    }
    --walking_;
    Compact();
    return taken;
}

bool CMessageLoop::OnIdle(int idleCount) {
    bool more = false;
    ++walking_;
    for (std::size_t i = 0; i < idleHandlers_.size(); ++i) {
        if (idleHandlers_[i] && idleHandlers_[i]->OnIdle(idleCount)) more = true;
    }
    --walking_;
    Compact();
    return more;
}

bool CMessageLoop::IsIdleMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case kSystemTimer:
        return false;
    default:
        return true;
    }
}

int CMessageLoop::Run() {
    bool doIdle = true;
    int idleCount = 0;
    MSG msg{};
    for (;;) {
        while (doIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) doIdle = false;
        }
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) continue;
        if (got == 0) return static_cast<int>(msg.wParam);
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (IsIdleMessage(msg)) {
            doIdle = true;
            idleCount = 0;
        }
    }
}

}  // namespace framework
