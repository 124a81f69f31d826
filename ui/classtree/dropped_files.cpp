#include "dropped_files.h"

#include "drop_data.h"
#include "pending_link_queue.h"
#include "shortcut_file.h"
#include "tree_drop_target.h"

#include <deque>
#include <utility>

namespace classtree {
namespace {

struct Waiting {
    HWND frame;
    std::string path;
};

// The thread's files still to be read and the timer that reads them (only
// the window's thread drops).
std::deque<Waiting> g_waiting;
UINT_PTR g_timer = 0;

void CALLBACK ReadSlice(HWND, UINT, UINT_PTR, DWORD);

void ReadForOneSlice() {
    const ULONGLONG until = ::GetTickCount64() + kDroppedFileSliceMs;
    do {
        Waiting next = std::move(g_waiting.front());
        g_waiting.pop_front();
        // A window gone meanwhile takes no links.
        if (!::IsWindow(next.frame)) continue;
        std::string url = transfer::ReadShortcutUrl(next.path);
        if (!url.empty()) QueueLink(next.frame, TitleOfShortcutPath(next.path), std::move(url), nullptr);
    } while (!g_waiting.empty() && ::GetTickCount64() < until);
    if (g_waiting.empty()) {
        if (g_timer) ::KillTimer(nullptr, g_timer);
        g_timer = 0;
    } else if (!g_timer) {
        g_timer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &ReadSlice);
    }
}

void CALLBACK ReadSlice(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_waiting.empty()) {
        ReadForOneSlice();
    } else if (g_timer) {
        ::KillTimer(nullptr, g_timer);
        g_timer = 0;
    }
}

}  // namespace

void QueueDroppedFiles(HWND frame, std::vector<std::string> paths) {
    for (std::string& path : paths) {
        // More files than the queue takes would only be read to be refused.
        if (g_waiting.size() >= kMaxPendingLinks) break;
        g_waiting.push_back(Waiting{frame, std::move(path)});
    }
    // A slice under way (this drop came between two) keeps the order.
    if (!g_waiting.empty() && !g_timer) ReadForOneSlice();
}

std::size_t DroppedFilesWaiting() { return g_waiting.size(); }

}  // namespace classtree
