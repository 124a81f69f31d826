// How long the toolbar takes to come up with the longest layout it accepts
// and to change its icon size (scripts/bench.sh --toolbar):
//   toolbar_bench [runs]
// Prints, in milliseconds, the median and the longest of `runs`: the
// toolbar made and arranged from a layout of a thousand entries (what a
// longer value is cut to), the same from a value of 100,000 entries, and an
// icon-size change with that layout and with the default one. The layout
// holds the fifteen buttons and then separators, the most a value can put
// on the toolbar.
//   toolbar_bench --shots FOLDER [English]
// Instead writes pictures of the main window for each label mode and icon
// size, with a skin, and of the Customize dialog, as .bmp files in FOLDER,
// in the Chinese built-in texts or in the pack named.
#include "framework/message_loop.h"
#include "framework/program_folder.h"
#include "framework/server_module.h"
#include "framework/private_messages.h"
#include "mainframe/main_frame.h"
#include "resource.h"
#include "setting.h"
#include "toolbar/skin_toolbar.h"

#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-48s median %7.2f  longest %7.2f\n", what, times[times.size() / 2], times.back());
}

// The heaviest layout of `entries` entries the toolbar keeps: every button
// once (a second copy is left out), then separators.
std::string LongLayout(int entries) {
    static const int kCommands[] = {32910, 32915, 32770, 32795, 32820, 32805, 32815, 32825,
                                    32855, 32870, 32800, 32940, 32880, 32790, 57664};
    std::string text = "0,1";
    for (int i = 0; i < entries; ++i) text += "," + std::to_string(i < 15 ? kCommands[i] : 0);
    return text;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeHost() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "quorva_toolbar_bench";
    ::RegisterClassA(&wc);
    HWND host = ::CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 300,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    Pump();
    return host;
}

void Bench(int runs) {
    HWND host = MakeHost();
    const std::string folder = framework::ProgramFolder() + "Skin\\Toolbar\\Normal\\";
    struct Case {
        const char* name;
        std::string layout;
    };
    const Case cases[] = {{"creation, layout of 1,000 entries", LongLayout(1000)},
                          {"creation, value of 100,000 entries (cut)", LongLayout(100000)}};
    for (const Case& c : cases) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            const auto start = Clock::now();
            {
                toolbar::CSkinToolBar bar;
                bar.CreateToolBar(host, ::GetModuleHandleA(nullptr));
                bar.SetSkinFolder(folder);
                bar.RestoreLayout(c.layout);
                times.push_back(Ms(start));
                ::DestroyWindow(bar.Hwnd());
            }
            Pump();
        }
        Report(c.name, times);
    }
    for (const Case& c : {Case{"icon size change, 1,000 entries", LongLayout(1000)},
                          Case{"icon size change, default layout",
                               "0,1,32770,32820,32795,0,32805,32825,32815,0,32855,32870,0,32800,32940,0,57664"}}) {
        toolbar::CSkinToolBar bar;
        bar.CreateToolBar(host, ::GetModuleHandleA(nullptr));
        bar.RestoreLayout(c.layout);
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            Pump();
            const auto start = Clock::now();
            bar.SetIconOption(i % 2);
            times.push_back(Ms(start));
        }
        Report(c.name, times);
        ::DestroyWindow(bar.Hwnd());
    }
    ::DestroyWindow(host);
}

// The window's picture on the screen, as a 24-bit bitmap file.
void Capture(HWND window, const std::string& path) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME | RDW_INVALIDATE);
    Pump();
    ::Sleep(150);
    Pump();
    RECT r{};
    ::GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const DWORD size = static_cast<DWORD>(((w * 3 + 3) & ~3) * h);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

// A skin strip of 17 round pictures on the mask colour.
void WriteSkinStrip(const std::string& path, int size, COLORREF colour) {
    const int width = size * 17;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, size, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    HBRUSH mask = ::CreateSolidBrush(RGB(255, 0, 255));
    RECT all{0, 0, width, size};
    ::FillRect(dc, &all, mask);
    HBRUSH fill = ::CreateSolidBrush(colour);
    HGDIOBJ oldBrush = ::SelectObject(dc, fill);
    for (int i = 0; i < 17; ++i) ::Ellipse(dc, i * size + 3, 3, i * size + size - 3, size - 3);
    ::SelectObject(dc, oldBrush);
    ::GdiFlush();
    const DWORD bytes = static_cast<DWORD>(((width * 3 + 3) & ~3) * size);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + bytes), 0,
                          0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), bytes);
    ::SelectObject(dc, old);
    ::DeleteObject(fill);
    ::DeleteObject(mask);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

std::string g_dialogShot;
int g_dialogStep = 0;

// The dialog as it opens with every button on the toolbar, then after
// Reset, with the default layout.
void CALLBACK CaptureDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM found) -> BOOL {
        if (!::GetDlgItem(w, toolbar::CSkinToolBar::kTextOptionList) || !::IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(found) = w;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    if (g_dialogStep == 0) {
        Capture(dialog, g_dialogShot + ".bmp");
        ::PostMessageA(dialog, WM_COMMAND, 202, 0);  // Reset
        g_dialogStep = 1;
        return;
    }
    if (::SendDlgItemMessageA(dialog, 203, LB_GETCOUNT, 0, 0) != 16) return;
    ::KillTimer(nullptr, timer);
    Capture(dialog, g_dialogShot + "-reset.bmp");
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

int Shots(const std::string& out, const std::string& language) {
    CSetting* settings = CSetting::Instance();
    settings->General_Language = language;
    framework::CServerModule module;
    framework::CMessageLoop loop;
    module.Init(::GetCurrentThreadId());
    module.AddMessageLoop(&loop);
    const std::string tag = language.empty() ? "zh" : "en";
    {
        CMainFrame frame(module, ::RegisterWindowMessageA("quorva_bench_AlreadyRunning"));
        if (!frame.CreateMainWindow(::GetModuleHandleA(nullptr))) return 1;
        HWND window = frame.Hwnd();
        ::MoveWindow(window, 10, 10, 1000, 420, FALSE);
        frame.InitialShow();
        ::SetForegroundWindow(window);
        Pump();
        toolbar::CSkinToolBar& bar = *frame.ToolBar();
        for (int icon : {1, 0}) {
            for (int text : {0, 1, 2}) {
                bar.SetIconOption(icon);
                bar.SetTextOption(text);
                ::SendMessageA(window, framework::UWM_TOOLBAR_CHANGED, 0, 0);
                Capture(window, out + "\\" + tag + "-text" + std::to_string(text) + "-icon" + std::to_string(icon) + ".bmp");
            }
        }
        bar.SetTextOption(0);
        bar.SetIconOption(1);
        ::SendMessageA(window, framework::UWM_TOOLBAR_CHANGED, 0, 0);
        g_dialogShot = out + "\\" + tag + "-customize";
        g_dialogStep = 0;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 300, CaptureDialog);
        ::SendMessageA(window, WM_COMMAND, ID_VIEW_CUSTOMIZE, 0);
        ::KillTimer(nullptr, timer);

        // A skin whose large normal and hot strips are round pictures.
        const std::string skin = framework::ProgramFolder() + "Skin\\Toolbar\\Normal\\";
        ::CreateDirectoryA((framework::ProgramFolder() + "Skin").c_str(), nullptr);
        ::CreateDirectoryA((framework::ProgramFolder() + "Skin\\Toolbar").c_str(), nullptr);
        ::CreateDirectoryA(skin.c_str(), nullptr);
        WriteSkinStrip(skin + "Toolbar28C.bmp", 28, RGB(30, 110, 200));
        WriteSkinStrip(skin + "Toolbar28H.bmp", 28, RGB(240, 150, 20));
        bar.SetSkinFolder(skin);
        bar.SetIconOption(1);
        Capture(window, out + "\\" + tag + "-skin.bmp");
        for (const char* name : {"Toolbar28C.bmp", "Toolbar28H.bmp"}) ::DeleteFileA((skin + name).c_str());
        ::DestroyWindow(window);
    }
    module.RemoveMessageLoop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    ::OleInitialize(nullptr);
    CSetting* settings = CSetting::Instance();
    settings->Load(framework::ProgramFolder() + "no-such-setting.xml");
    settings->Other_InDefaultBookmark = 0;
    settings->Other_InIEBookmark = 0;
    if (argc > 2 && std::string(argv[1]) == "--shots") return Shots(argv[2], argc > 3 ? argv[3] : "");
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    std::printf("toolbar (ms)\n");
    Bench(runs);
    return 0;
}
