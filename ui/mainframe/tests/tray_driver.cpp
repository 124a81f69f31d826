#include "tray_driver.h"

#include "main_frame_fixture.h"

#include <shellapi.h>

#include <map>

namespace tray_test {

namespace {

std::string ClassOf(HWND window) {
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

void MoveMouse(int x, int y) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(x * 65535LL / (width - 1));
    input.mi.dy = static_cast<LONG>(y * 65535LL / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

// The text of a shown tool tip of process `pid`.
std::string ShownTipOf(DWORD pid) {
    struct Search {
        DWORD pid;
        std::string text;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner != s->pid || !::IsWindowVisible(window) || ClassOf(window) != "tooltips_class32") return TRUE;
            char text[512] = "";
            ::GetWindowTextA(window, text, sizeof text);
            if (!text[0]) return TRUE;
            s->text = text;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

}  // namespace

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
        bool known = false;
        for (HWND old : before) known = known || old == icon;
        if (!known) return icon;
    }
    return nullptr;
}

bool ShellHolds(HWND owner) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = 128;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void PostMouse(HWND icon, UINT message) {
    const WPARAM keys = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ? MK_LBUTTON
                        : message == WM_RBUTTONDOWN                               ? MK_RBUTTON
                                                                                  : 0;
    ::PostMessageA(icon, message, keys, MAKELPARAM(8, 8));
}

void Click(HWND icon) {
    PostMouse(icon, WM_LBUTTONDOWN);
    PostMouse(icon, WM_LBUTTONUP);
}

void RightClick(HWND icon) {
    PostMouse(icon, WM_RBUTTONDOWN);
    PostMouse(icon, WM_RBUTTONUP);
}

std::string HoverTip(HWND icon) {
    RECT r{};
    ::GetWindowRect(icon, &r);
    DWORD shell = 0;
    ::GetWindowThreadProcessId(icon, &shell);
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    MoveMouse(x - 1, y);
    MoveMouse(x, y);
    std::string tip;
    mainframe_test::PumpUntil([&] {
        tip = ShownTipOf(shell);
        return !tip.empty();
    });
    // Away again, so that the tip goes.
    MoveMouse(x - 300, y - 300);
    mainframe_test::PumpUntil([&] { return ShownTipOf(shell).empty(); });
    return tip;
}

// Relay counting ---------------------------------------------------------------

namespace {
UINT g_callback = 0;
std::map<UINT, int> g_relayed;
}  // namespace

RelayWatch::RelayWatch(UINT callbackMessage) {
    g_callback = callbackMessage;
    g_relayed.clear();
    hook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
}

RelayWatch::~RelayWatch() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
    g_callback = 0;
}

int RelayWatch::Count(UINT message) const {
    auto it = g_relayed.find(message);
    return it == g_relayed.end() ? 0 : it->second;
}

LRESULT CALLBACK RelayWatch::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (g_callback && sent->message == g_callback && sent->wParam == 128) {
            ++g_relayed[static_cast<UINT>(sent->lParam)];
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The menu ---------------------------------------------------------------------

namespace {
MenuDriver* g_driver = nullptr;

HWND ThreadPopup() {
    HWND popup = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM found) -> BOOL {
            if (ClassOf(w) != "#32768" || !::IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(found) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&popup));
    return popup;
}
}  // namespace

MenuDriver::MenuDriver(UINT choose) : choose_(choose) {
    g_driver = this;
    timer_ = ::SetTimer(nullptr, 0, 40, Tick);
}

MenuDriver::~MenuDriver() {
    if (timer_) ::KillTimer(nullptr, timer_);
    g_driver = nullptr;
}

void CALLBACK MenuDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_driver && !g_driver->done_) g_driver->Step();
}

void MenuDriver::Step() {
    HWND popup = ThreadPopup();
    if (!popup) return;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
    if (!menu) return;
    const int count = ::GetMenuItemCount(menu);
    if (items_.empty()) {
        for (int i = 0; i < count; ++i) {
            SeenItem item;
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE;
            ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
            if (!(info.fType & MFT_SEPARATOR)) {
                item.id = info.wID;
                char text[128] = "";
                ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
                item.text = text;
                item.grayed = (info.fState & MFS_GRAYED) != 0;
            }
            items_.push_back(item);
        }
        defaultItem_ = ::GetMenuDefaultItem(menu, FALSE, 0);
    }
    if (choose_ == 0 || ++steps_ > 3 * count) {
        ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        done_ = true;
        return;
    }
    // One key a tick: the menu moves its highlight before the next look.
    for (int i = 0; i < count; ++i) {
        if (!(::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)) continue;
        if (::GetMenuItemID(menu, i) == choose_) {
            ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
            done_ = true;
            return;
        }
    }
    ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
}

}  // namespace tray_test
