#include "tray_driver.h"

#include "dialog_test_driver.h"
#include "main_frame_fixture.h"

#include <shellapi.h>

#include <cstdio>
#include <map>

namespace tray_test {

namespace {

std::string ClassOf(HWND window) {
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

// The text of a shown tool tip of process `pid`.
std::string ShownTipOf(DWORD pid, const std::vector<HWND>& ignored = {}) {
    struct Search {
        DWORD pid;
        const std::vector<HWND>* ignored;
        std::string text;
    } search{pid, &ignored, {}};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner != s->pid || !::IsWindowVisible(window) || ClassOf(window) != "tooltips_class32") return TRUE;
            for (HWND old : *s->ignored) {
                if (old == window) return TRUE;
            }
            // Sent: the system's copy of a window's text is not the tip.
            char text[512] = "";
            DWORD_PTR copied = 0;
            ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 2000,
                                  &copied);
            if (!text[0]) return TRUE;
            s->text = text;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

}  // namespace

namespace {
// Each icon takes the small-icon size and a border of 2 pixels around it.
int IconWidth() { return ::GetSystemMetrics(SM_CXSMICON) + 4; }
int IconHeight() { return ::GetSystemMetrics(SM_CYSMICON) + 4; }
// The tips of process `pid` on screen now.
std::vector<HWND> ShownTipWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> shown;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid && ::IsWindowVisible(window) && ClassOf(window) == "tooltips_class32") {
                s->shown.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.shown;
}

}  // namespace

std::vector<ShellIcon> IconsOfThisThread(UINT callbackMessage) {
    std::vector<ShellIcon> found;
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    if (!tray) return found;
    RECT client{};
    ::GetClientRect(tray, &client);
    const int slots = client.right / IconWidth();
    for (int slot = 0; slot < slots; ++slot) {
        const ShellIcon icon{tray, {client.right - slot * IconWidth() - IconWidth() / 2, IconHeight() / 2}};
        RelayWatch relays(callbackMessage);
        // Sent, not posted: the shell passes it on before it answers, and
        // this thread takes the relay while it waits.
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(tray, WM_MBUTTONUP, 0, MAKELPARAM(icon.at.x, icon.at.y), SMTO_NORMAL, 2000, &result);
        mainframe_test::Pump();
        if (relays.Count(WM_MBUTTONUP) > 0) found.push_back(icon);
    }
    return found;
}

ShellIcon IconOfThisThread(UINT callbackMessage) {
    const std::vector<ShellIcon> icons = IconsOfThisThread(callbackMessage);
    return icons.size() == 1 ? icons.front() : ShellIcon{};
}

bool ShellHolds(HWND owner) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = 128;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void PostMouse(const ShellIcon& icon, UINT message) {
    const WPARAM keys = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ? MK_LBUTTON
                        : message == WM_RBUTTONDOWN                               ? MK_RBUTTON
                                                                                  : 0;
    ::PostMessageA(icon.tray, message, keys, MAKELPARAM(icon.at.x, icon.at.y));
}

void Click(const ShellIcon& icon) {
    PostMouse(icon, WM_LBUTTONDOWN);
    PostMouse(icon, WM_LBUTTONUP);
}

void RightClick(const ShellIcon& icon) {
    PostMouse(icon, WM_RBUTTONDOWN);
    PostMouse(icon, WM_RBUTTONUP);
}

std::string HoverTip(const ShellIcon& icon) {
    POINT at = icon.at;
    ::ClientToScreen(icon.tray, &at);
    DWORD shell = 0;
    ::GetWindowThreadProcessId(icon.tray, &shell);
    // Tips left on screen by icons gone with their programs are not this one.
    const std::vector<HWND> stale = ShownTipWindows(shell);
    dialog_test::MoveMouseTo(at.x - 1, at.y);
    dialog_test::MoveMouseTo(at.x, at.y);
    PostMouse(icon, WM_MOUSEMOVE);
    std::string tip;
    mainframe_test::PumpUntil([&] {
        tip = ShownTipOf(shell, stale);
        return !tip.empty();
    });
    // Away again, so that the tip goes.
    dialog_test::MoveMouseTo(at.x - 300, at.y - 300);
    mainframe_test::PumpUntil([&] { return ShownTipOf(shell, stale).empty(); });
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

MenuDriver::MenuDriver() {
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
    if (!popup) {
        if (acted_) done_ = true;  // closed by what was pressed
        return;
    }
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
    acted_ = true;
    ::EndMenu();
}

}  // namespace tray_test
