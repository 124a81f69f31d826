#include "tray_icon.h"

#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

namespace tray {

namespace {

CTrayIcon::NotifyFunction& NotifyHook() {
    static CTrayIcon::NotifyFunction hook;
    return hook;
}

BOOL Notify(DWORD message, NOTIFYICONDATAA* data) {
    const auto& hook = NotifyHook();
    return hook ? hook(message, data) : ::Shell_NotifyIconA(message, data);
}

struct MenuCloser {
    void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};
using LoadedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuCloser>;

bool IsCommand(UINT id) { return id != 0 && id != static_cast<UINT>(-1); }

}  // namespace

CTrayIcon::CTrayIcon(HWND owner, HINSTANCE resources)
    : owner_(owner),
      resources_(resources),
      taskbarCreatedMessage_(::RegisterWindowMessageA("TaskbarCreated")),
      callbackMessage_(::RegisterWindowMessageA("WM_TRAYICON")) {}

CTrayIcon::~CTrayIcon() { RemoveTrayIcon(); }

void CTrayIcon::SetNotifyFunction(NotifyFunction notify) { NotifyHook() = std::move(notify); }

bool CTrayIcon::InstallTrayIcon(const std::string& tip, UINT menuId) {
    tip_ = TipForField(tip);
    menuId_ = menuId;
    wanted_ = true;
    if (installed_) {
        Notify(NIM_DELETE, &data_);
        installed_ = false;
    }
    return Add();
}

void CTrayIcon::RemoveTrayIcon() {
    wanted_ = false;
    if (installed_) Notify(NIM_DELETE, &data_);
    installed_ = false;
    DestroyIcon();
}

bool CTrayIcon::Add() {
    HICON icon = static_cast<HICON>(::LoadImageA(resources_, MAKEINTRESOURCEA(kIconId), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = icon;
    static_assert(sizeof data.szTip == kTipFieldBytes);
    std::memcpy(data.szTip, tip_.data(), tip_.size());  // cut to fit with its terminator
    data_ = data;
    installed_ = Notify(NIM_ADD, &data_) != FALSE;
    // The shell keeps a copy of its own; ours lives until the next add.
    DestroyIcon();
    icon_ = icon;
    return installed_;
}

void CTrayIcon::DestroyIcon() {
    if (icon_) ::DestroyIcon(icon_);
    icon_ = nullptr;
}

// Also when the first add failed, because the taskbar was not there yet: the
// icon is the only way back to a window hidden in the tray.
void CTrayIcon::OnTaskbarCreated() {
    if (!wanted_) return;
    if (installed_) Notify(NIM_DELETE, &data_);
    installed_ = false;
    Add();
}

bool CTrayIcon::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == 0) return false;
    if (msg == taskbarCreatedMessage_) {
        OnTaskbarCreated();
        return true;
    }
    if (msg != callbackMessage_) return false;
    if (wParam != kIconId) return true;
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDOWN:
        clicks_.IsClick(CClickFilter::Event::kLeftDown);
        break;
    case WM_LBUTTONDBLCLK:
        clicks_.IsClick(CClickFilter::Event::kLeftDoubleClick);
        break;
    case WM_LBUTTONUP:
        if (clicks_.IsClick(CClickFilter::Event::kLeftUp)) OnLeftClick();
        break;
    case WM_RBUTTONUP:
        OnRightClick();
        break;
    default:
        break;
    }
    return true;
}

// A click runs the menu's first item, the default command.
void CTrayIcon::OnLeftClick() {
    // A disabled owner (a dialog is open on it) brings the dialog forward
    // itself when it gets the command.
    if (::IsWindowEnabled(owner_)) ::SetForegroundWindow(owner_);
    if (!defaultCommand_) return;
    UINT first = 0;
    {
        LoadedMenu menu(::LoadMenuA(resources_, MAKEINTRESOURCEA(menuId_)));
        HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
        if (popup) first = ::GetMenuItemID(popup, 0);
    }
    if (IsCommand(first)) ::SendMessageA(owner_, WM_COMMAND, MAKEWPARAM(first, 0), 0);
}

void CTrayIcon::OnRightClick() {
    LoadedMenu menu(::LoadMenuA(resources_, MAKEINTRESOURCEA(menuId_)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return;
    ::SetForegroundWindow(owner_);
    if (defaultCommand_) ::SetMenuDefaultItem(popup, defaultCommand_, FALSE);

    POINT at{};
    ::GetCursorPos(&at);
    const bool onMonitor = ::MonitorFromPoint(at, MONITOR_DEFAULTTONULL) != nullptr;
    if (!onMonitor) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (::GetMonitorInfoA(::MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &monitor)) {
            at.x = MenuX(at.x, onMonitor, monitor.rcWork.left, monitor.rcWork.right);
        }
    }
    // The chosen item reaches the owner as an ordinary command.
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, owner_, nullptr);
    // Without it the menu would not close on a click elsewhere next time.
    ::PostMessageA(owner_, WM_NULL, 0, 0);
}

}  // namespace tray
