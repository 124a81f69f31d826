// How long the bookmark list holds the window's thread with a large category
// (scripts/bench.sh --list):
//   list_bench <rows> [runs]
// Each figure is the median of the runs, in milliseconds, with the window
// shown so that the control really paints.
#include "bookmark_list_view.h"

#include "framework/private_messages.h"
#include "pending_link_queue.h"
#include "setting.h"
#include "test_data_object.h"

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr char kFrameClass[] = "quorva_ListBenchFrame";

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

double MedianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        Pump();
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

HWND MakeFrame() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kFrameClass;
    ::RegisterClassExA(&wc);
    return ::CreateWindowExA(0, kFrameClass, "list bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                             800, 600, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    ::OleInitialize(nullptr);
    CSetting::Instance()->Other_DisplayAddBookmarkDlg = 0;
    CSetting::Instance()->Other_PromptWhenDelBookmark = 0;

    CBookmarkStore& store = CBookmarkStore::Instance();
    ClassRecord* big = store.AddTopClass("big");
    ClassRecord* small = store.AddTopClass("small");
    auto fill = [&] {
        while (!big->bookmarks.empty()) store.DiscardBookmark(big, big->bookmarks.back());
        for (int i = 0; i < rows; ++i) {
            const std::string n = std::to_string(i);
            store.AddBookmark(big, nullptr, new BookmarkRecord("title " + n, "http://site" + n + ".example/", ""));
        }
    };
    fill();

    HWND frame = MakeFrame();
    bookmarklist::CBookmarkListView view(frame);
    RECT rect{0, 0, 780, 560};
    view.CreateView(frame, rect);
    HWND list = view.List();
    auto show = [&](ClassRecord* c) {
        ::SendMessageA(view.Hwnd(), framework::UWM_CLASS_CHANGED, reinterpret_cast<WPARAM>(c), 1);
        ::UpdateWindow(list);
    };
    auto command = [&](WORD id) {
        ::SendMessageA(view.Hwnd(), WM_COMMAND, id, 0);
        ::UpdateWindow(list);
    };

    std::printf("rows: %d, runs: %d (medians, ms)\n", rows, runs);
    std::printf("switch to the category and paint: %.1f\n", MedianMs(runs, [&] { show(small); }, [&] { show(big); }));
    std::printf("select all: %.1f\n", MedianMs(runs, [&] { show(big); }, [&] { command(bookmarklist::kCmdSelectAll); }));
    std::printf("switch away from %d selected: %.1f\n", rows, MedianMs(runs, [&] {
        show(big);
        command(bookmarklist::kCmdSelectAll);
    }, [&] { show(small); }));
    std::printf("move the middle row down: %.1f\n", MedianMs(runs, [&] {
        show(big);
        ListView_SetItemState(list, rows / 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }, [&] { command(bookmarklist::kCmdMoveBookmarkDown); }));
    std::printf("add one link after the first row: %.1f\n", MedianMs(runs, [&] { show(big); }, [&] {
        view.AddIncomingLink("new " + std::to_string(::GetTickCount()), "http://new.example/", nullptr);
        ::UpdateWindow(list);
    }));
    std::printf("delete all %d selected: %.1f\n", rows, MedianMs(1, [&] {
        fill();
        show(big);
        command(bookmarklist::kCmdSelectAll);
    }, [&] { command(bookmarklist::kCmdDeleteBookmark); }));
    // Dragging every row onto another category, moved: the drop as the tree
    // hands it to the list, timed from the press to the end of the drag.
    DWORD clock = 1000;
    view.SetTickSource([&] { return clock; });
    view.SetDragDrop([&](IDataObject*, IDropSource*, DWORD, DWORD* effect) {
        ::SendMessageA(view.Hwnd(), framework::UWM_DROP_BOOKMARKS, DROPEFFECT_MOVE, reinterpret_cast<LPARAM>(small));
        *effect = DROPEFFECT_MOVE;
        return DRAGDROP_S_DROP;
    });
    std::printf("move all %d selected to another category: %.1f\n", rows, MedianMs(1, [&] {
        while (!small->bookmarks.empty()) store.DiscardBookmark(small, small->bookmarks.back());
        fill();
        show(big);
        command(bookmarklist::kCmdSelectAll);
    }, [&] {
        RECT first{LVIR_LABEL, 0, 0, 0};
        ::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        const int x = first.left + 5, y = (first.top + first.bottom) / 2;
        ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        clock += 100;
        ::SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 8, y));
        ::SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(x + 8, y));
        ::UpdateWindow(list);
    }));
    if (big->bookmarks.size() != 0 || small->bookmarks.size() != static_cast<std::size_t>(rows)) {
        std::printf("the move left %zu behind and took %zu\n", big->bookmarks.size(), small->bookmarks.size());
    }
    fill();
    show(big);
    const int links = std::min(rows, 2000);
    for (int i = 0; i < links; ++i) {
        PendingLinkQueue::Instance().Push(PendingLink{"link " + std::to_string(i), "http://l.example/", nullptr});
    }
    const auto start = std::chrono::steady_clock::now();
    ::SendMessageA(view.Hwnd(), framework::UWM_LINKS_PENDING, 0, 0);
    while (!PendingLinkQueue::Instance().Empty()) {
        Pump();
        ::Sleep(1);
    }
    std::printf("drain %d links: %.1f in all\n", links,
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());

    // 1,000 shortcut files dropped at once (on the list, or through the
    // floating drop window, which hands the drop on unchanged): each is read
    // through the shell's shortcut object on the window's thread.
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "quorva-list-bench-" + std::to_string(::GetCurrentProcessId()) + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    std::wstring files;
    constexpr int kShortcuts = 1000;
    for (int i = 0; i < kShortcuts; ++i) {
        const std::string path = folder + "s" + std::to_string(i) + ".url";
        const std::string text = "[InternetShortcut]\r\nURL=http://dropped" + std::to_string(i) + ".example/\r\n";
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(file);
        files += std::wstring(path.begin(), path.end());
        files += L'\0';
    }
    files += L'\0';
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    classtree_test::TestData data;
    data.blocks[CF_HDROP] = std::string(reinterpret_cast<const char*>(&header), sizeof header) +
                            std::string(reinterpret_cast<const char*>(files.data()), files.size() * sizeof(wchar_t));
    DWORD effect = DROPEFFECT_COPY;
    const auto dropStart = std::chrono::steady_clock::now();
    view.DropTarget()->Drop(&data, 0, POINTL{0, 0}, &effect);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - dropStart).count();
    std::printf("drop %d shortcut files: %.1f inside Drop (%.1f per hundred), %zu links queued\n", kShortcuts, ms,
                ms / 10, PendingLinkQueue::Instance().Size());
    ::DestroyWindow(frame);
    return 0;
}
