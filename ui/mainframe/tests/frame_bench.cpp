// How long the main window takes to come up and to follow the mouse with a
// large collection (scripts/bench.sh --frame):
//   frame_bench [runs]
// 100,000 bookmarks in 1,000 categories, the first of them holding 20,000
// and shown at start, written beside the program as bookmark.xml. Prints the
// time from creation to the first paint, and the longest and the median
// frame while the window is resized and while the pane splitter is dragged,
// in milliseconds (each frame: the move and the repaint it causes). Then
// the tray: a click on the icon in the taskbar's notification area hides the
// window and the next shows it; the time from that click to the window shown
// and painted, and the process's GDI and USER objects before and after 1,000
// times the taskbar asked for the icon again ("TaskbarCreated").
#include "framework/message_loop.h"
#include "framework/program_folder.h"
#include "framework/server_module.h"
#include "mainframe/main_frame.h"
#include "setting.h"
#include "tray_icon.h"

#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void WriteCollection(const std::string& path) {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n";
    int written = 0;
    for (int c = 0; c < 1000; ++c) {
        text += "<G t=\"category " + std::to_string(c) + "\">\r\n";
        const int count = c == 0 ? 20000 : 80;
        for (int b = 0; b < count && written < 100000; ++b, ++written) {
            const std::string n = std::to_string(written);
            text += "<a t=\"page " + n + "\" u=\"http://site" + n + ".example/path\" r=\"\"/>\r\n";
        }
        text += "</G>\r\n";
    }
    text += "</root>\r\n";
    std::ofstream(path, std::ios::binary) << text;
}

// Each frame: `step` moves something, then the window repaints at once.
std::vector<double> g_moves;

std::vector<double> Frames(HWND window, int count, const std::function<void(int)>& step) {
    std::vector<double> times;
    g_moves.clear();
    for (int i = 0; i < count; ++i) {
        Pump();
        const auto start = Clock::now();
        step(i);
        g_moves.push_back(Ms(start));
        ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        times.push_back(Ms(start));
    }
    return times;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> ShellIcons() {
    std::vector<HWND> icons;
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    if (!tray) return icons;
    ::EnumChildWindows(
        tray,
        [](HWND window, LPARAM data) -> BOOL {
            if (ClassOf(window) == "__wine_tray_icon" && ::IsWindowVisible(window)) {
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&icons));
    return icons;
}

HWND NewIcon(const std::vector<HWND>& before) {
    for (HWND icon : ShellIcons()) {
        if (std::find(before.begin(), before.end(), icon) == before.end()) return icon;
    }
    return nullptr;
}

// A click on the shell's icon window; it passes the click on to the owner.
// Returns when `done` holds (or after 5 s).
bool ClickUntil(HWND icon, const std::function<bool()>& done) {
    ::PostMessageA(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
    ::PostMessageA(icon, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    const auto start = Clock::now();
    for (;;) {
        Pump();
        if (done()) return true;
        if (Ms(start) > 5000) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

// Shown and painted: no window of this thread waits for a paint any more.
bool ShownAndPainted(HWND window) {
    return ::IsWindowVisible(window) && !(HIWORD(::GetQueueStatus(QS_PAINT)) & QS_PAINT);
}

void TrayFigures(CMainFrame& frame, HWND icon, int runs) {
    HWND window = frame.Hwnd();
    std::vector<double> shows;
    for (int i = 0; i < runs; ++i) {
        if (!ClickUntil(icon, [&] { return !::IsWindowVisible(window); })) {
            std::printf("tray: the click did not hide the window\n");
            return;
        }
        const auto start = Clock::now();
        if (!ClickUntil(icon, [&] { return ShownAndPainted(window); })) {
            std::printf("tray: the click did not show the window\n");
            return;
        }
        shows.push_back(Ms(start));
    }
    std::sort(shows.begin(), shows.end());
    std::printf("show from the tray, click to painted: longest %.1f, median %.1f (%zu shows)\n", shows.back(),
                shows[shows.size() / 2], shows.size());

    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    HANDLE self = ::GetCurrentProcess();
    // One first, so that whatever the shell's first answer leaves is counted.
    ::SendMessageA(window, taskbarCreated, 0, 0);
    Pump();
    const DWORD gdi = ::GetGuiResources(self, GR_GDIOBJECTS);
    const DWORD user = ::GetGuiResources(self, GR_USEROBJECTS);
    const auto start = Clock::now();
    for (int i = 0; i < 1000; ++i) {
        ::SendMessageA(window, taskbarCreated, 0, 0);
        Pump();
    }
    const double took = Ms(start);
    std::printf("1,000 TaskbarCreated re-adds (%.0f ms): GDI objects %lu -> %lu, USER objects %lu -> %lu, icon %s\n",
                took, gdi, ::GetGuiResources(self, GR_GDIOBJECTS), user, ::GetGuiResources(self, GR_USEROBJECTS),
                frame.Tray() && frame.Tray()->Installed() ? "installed" : "missing");
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::sort(g_moves.begin(), g_moves.end());
    std::printf("%s: longest %.1f, median %.1f (%zu frames; the move alone: longest %.1f, median %.1f)\n", what,
                times.back(), times[times.size() / 2], times.size(), g_moves.back(), g_moves[g_moves.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    ::OleInitialize(nullptr);
    const std::string folder = framework::ProgramFolder();
    WriteCollection(folder + "bookmark.xml");
    CSetting* settings = CSetting::Instance();
    settings->Load(folder + "no-such-setting.xml");
    settings->Other_InDefaultBookmark = 0;
    settings->Other_InIEBookmark = 0;

    framework::CServerModule module;
    framework::CMessageLoop loop;
    module.Init(::GetCurrentThreadId());
    module.AddMessageLoop(&loop);
    const std::vector<HWND> iconsBefore = ShellIcons();
    {
        CMainFrame frame(module, ::RegisterWindowMessageA("quorva_bench_AlreadyRunning"));
        const auto start = Clock::now();
        if (!frame.CreateMainWindow(::GetModuleHandleA(nullptr))) return 1;
        HWND window = frame.Hwnd();
        ::MoveWindow(window, 0, 0, 900, 650, FALSE);
        frame.InitialShow();
        ::UpdateWindow(window);
        ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        std::printf("100,000 bookmarks, 20,000 on display (ms)\n");
        std::printf("creation to the first paint: %.1f\n", Ms(start));

        Report("resize", Frames(window, runs, [&](int i) {
                   const int w = 700 + (i % 2 ? 300 : 0) + i * 3;
                   ::SetWindowPos(window, nullptr, 0, 0, w, 500 + (i % 3) * 100, SWP_NOZORDER | SWP_NOACTIVATE);
               }));

        HWND splitter = frame.VerticalSplitter().Hwnd();
        const int y = 100;
        int x = frame.VerticalSplitter().Position() + 1;
        ::SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        Report("splitter drag", Frames(window, runs, [&](int i) {
                   x += i % 2 ? -37 : 41;
                   ::SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
               }));
        ::SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(x, y));

        HWND icon = NewIcon(iconsBefore);
        if (icon) {
            TrayFigures(frame, icon, runs);
        } else {
            std::printf("tray: no icon in the notification area (no taskbar on this desktop?)\n");
        }
        ::DestroyWindow(window);
    }
    module.RemoveMessageLoop();
    ::DeleteFileA((folder + "bookmark.xml").c_str());
    return 0;
}
