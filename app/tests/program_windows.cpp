#include "program_windows.h"

#include <commctrl.h>

#include "program_runner.h"

namespace program_test {
namespace {

constexpr int kStatusBarId = 59393;
constexpr WORD kAddCategoryCommand = 32770;
constexpr int kCategoryNameEdit = 1003;

struct Search {
    DWORD pid;
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !::IsWindowVisible(window)) return TRUE;
    char cls[16] = "";
    ::GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) != "#32770") return TRUE;
    if (*search->match && !(*search->match)(window)) return TRUE;
    search->found = window;
    return FALSE;
}

struct ChildSearch {
    std::string className;
    HWND found = nullptr;
    std::string texts;
};

BOOL CALLBACK FindChildOfClass(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    char cls[64] = "";
    ::GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpiA(cls, search->className.c_str()) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectStatics(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    char cls[64] = "";
    ::GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
        const std::string text = ControlText(window);
        if (!text.empty()) search->texts += text + "\n";
    }
    return TRUE;
}

}  // namespace

std::string ControlText(HWND window) {
    char text[4096] = "";
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                               5000, &length)) {
        return {};
    }
    return std::string(text, length < sizeof text ? length : sizeof text - 1);
}

HWND DialogOf(DWORD pid, const std::function<bool(HWND)>& match) {
    Search search{pid, &match, nullptr};
    ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialogOf(DWORD pid, const std::function<bool(HWND)>& match, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = DialogOf(pid, match)) != nullptr; }, timeoutMs);
    return found;
}

std::string StaticTexts(HWND dialog) {
    ChildSearch search;
    ::EnumChildWindows(dialog, &CollectStatics, reinterpret_cast<LPARAM>(&search));
    return search.texts;
}

void PressButton(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::string StatusText(HWND mainWindow) { return ControlText(::GetDlgItem(mainWindow, kStatusBarId)); }

HWND CategoryTreeOf(HWND mainWindow) {
    ChildSearch search;
    search.className = WC_TREEVIEWA;
    ::EnumChildWindows(mainWindow, &FindChildOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool AddCategory(DWORD pid, HWND mainWindow, const std::string& name) {
    ::PostMessageA(mainWindow, WM_COMMAND, kAddCategoryCommand, 0);
    HWND dialog = WaitForDialogOf(pid, [](HWND d) { return ::GetDlgItem(d, kCategoryNameEdit) != nullptr; });
    if (!dialog) return false;
    ::SendMessageA(::GetDlgItem(dialog, kCategoryNameEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PressButton(dialog, IDOK);
    return WaitUntil([&] { return !::IsWindow(dialog); });
}

}  // namespace program_test
