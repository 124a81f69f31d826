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
#include <set>
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

// A place on the taskbar where an icon is drawn: `slot` 0 at its right
// end, each icon the small-icon size with a border of 2 pixels around it.
struct IconPlace {
    HWND tray;
    LPARAM at;
};

IconPlace PlaceOf(int slot) {
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    RECT client{};
    if (tray) ::GetClientRect(tray, &client);
    const int width = ::GetSystemMetrics(SM_CXSMICON) + 4;
    return {tray, MAKELPARAM(client.right - slot * width - width / 2, (::GetSystemMetrics(SM_CYSMICON) + 4) / 2)};
}

// A click on the taskbar, which passes it on to the icon's owner. Returns
// when `done` holds (false after `patienceMs`).
bool ClickUntil(const IconPlace& icon, const std::function<bool()>& done, double patienceMs = 5000) {
    ::PostMessageA(icon.tray, WM_LBUTTONDOWN, MK_LBUTTON, icon.at);
    ::PostMessageA(icon.tray, WM_LBUTTONUP, 0, icon.at);
    const auto start = Clock::now();
    for (;;) {
        Pump();
        if (done()) return true;
        if (Ms(start) > patienceMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

// Shown and painted: no window of this thread waits for a paint any more.
bool ShownAndPainted(HWND window) {
    return ::IsWindowVisible(window) && !(HIWORD(::GetQueueStatus(QS_PAINT)) & QS_PAINT);
}

void TrayFigures(CMainFrame& frame, const IconPlace& icon, int runs) {
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
    // The icons handed to the shell, to see afterwards which still exist
    // (Wine's GetGuiResources counts nothing).
    std::set<HICON> handed;
    tray::CTrayIcon::SetNotifyFunction([&](DWORD message, NOTIFYICONDATAA* data) -> BOOL {
        if (message == NIM_ADD) handed.insert(data->hIcon);
        return ::Shell_NotifyIconA(message, data);
    });
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
    tray::CTrayIcon::SetNotifyFunction({});
    int alive = 0;
    for (HICON icon : handed) {
        ICONINFO info{};
        if (!::GetIconInfo(icon, &info)) continue;
        ++alive;
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
    }
    std::printf("1,000 TaskbarCreated re-adds (%.0f ms): GDI objects %lu -> %lu, USER objects %lu -> %lu, icon %s\n",
                took, gdi, ::GetGuiResources(self, GR_GDIOBJECTS), user, ::GetGuiResources(self, GR_USEROBJECTS),
                frame.Tray() && frame.Tray()->Installed() ? "installed" : "missing");
    std::printf("icons handed to the shell: %zu distinct handles, %d still exist (the one on show)\n", handed.size(),
                alive);
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

        // The window's icon: the place whose click hides the window (other
        // programs' icons may stand right of it).
        bool found = false;
        for (int slot = 0; slot < 8 && !found; ++slot) {
            const IconPlace place = PlaceOf(slot);
            if (!place.tray) break;
            if (ClickUntil(place, [&] { return !::IsWindowVisible(window); }, 1500)) {
                ClickUntil(place, [&] { return ShownAndPainted(window); });
                TrayFigures(frame, place, runs);
                found = true;
            }
        }
        if (!found) std::printf("tray: no icon of the window on the taskbar\n");
        ::DestroyWindow(window);
    }
    module.RemoveMessageLoop();
    ::DeleteFileA((folder + "bookmark.xml").c_str());
    return 0;
}
