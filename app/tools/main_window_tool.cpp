// Helper for scripts that run the program: waits until its main window is
// shown, or closes it the way a user would and waits until it is gone.
//   main_window_tool wait  [seconds]   exit 0 once the window is visible
//   main_window_tool close [seconds]   exit 0 once the window is destroyed
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kMainFrameClass[] = "quorva_MainFrame";

bool WaitFor(bool (*condition)(), DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(50);
    }
    return true;
}

bool Shown() {
    HWND window = ::FindWindowA(kMainFrameClass, nullptr);
    return window && ::IsWindowVisible(window);
}

bool Gone() { return ::FindWindowA(kMainFrameClass, nullptr) == nullptr; }

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "wait";
    const DWORD timeoutMs = (argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 60) * 1000;
    if (std::strcmp(mode, "wait") == 0) {
        if (WaitFor(&Shown, timeoutMs)) return 0;
        std::fprintf(stderr, "the main window did not appear\n");
        return 1;
    }
    if (std::strcmp(mode, "close") == 0) {
        HWND window = ::FindWindowA(kMainFrameClass, nullptr);
        if (window) ::PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitFor(&Gone, timeoutMs)) return 0;
        std::fprintf(stderr, "the main window is still there\n");
        return 1;
    }
    std::fprintf(stderr, "usage: main_window_tool wait|close [seconds]\n");
    return 2;
}
