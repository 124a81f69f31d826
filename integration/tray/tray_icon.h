// The program's icon in the notification area: adding and removing it, its
// tip, its menu and its clicks, and adding it again when the taskbar comes
// back. Owned by the main window, which handles the commands it sends.
#pragma once

#include "tray_rules.h"

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

namespace tray {

class CTrayIcon {
public:
    static constexpr UINT kIconId = 128;
    // Everything the icon asks of the shell goes through this; tests replace
    // it to fail a call the real shell would not.
    using NotifyFunction = std::function<BOOL(DWORD, NOTIFYICONDATAA*)>;

    // `owner` receives the icon's callback and its commands; `resources`
    // holds icon 128 and the menu.
    CTrayIcon(HWND owner, HINSTANCE resources);
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon with `tip` (cut to the record's field) and remembers the
    // tip and `menuId` for every later add. True when the shell took it.
    bool InstallTrayIcon(const std::string& tip, UINT menuId);
    // Takes the icon away for good: a later taskbar does not bring it back.
    void RemoveTrayIcon();
    bool Installed() const { return installed_; }

    // The command of a click, shown bold in the menu.
    void SetDefaultCommand(UINT id) { defaultCommand_ = id; }
    UINT DefaultCommand() const { return defaultCommand_; }

    // Handles the taskbar's "TaskbarCreated" broadcast and the icon's
    // callback message; false for every other message.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    UINT CallbackMessage() const { return callbackMessage_; }
    UINT TaskbarCreatedMessage() const { return taskbarCreatedMessage_; }
    const NOTIFYICONDATAA& IconData() const { return data_; }

    // Replaces Shell_NotifyIconA for every tray icon of the process; an
    // empty function restores it.
    static void SetNotifyFunction(NotifyFunction notify);

private:
    bool Add();
    void OnTaskbarCreated();
    void OnLeftClick();
    void OnRightClick();
    void DestroyIcon();

    HWND owner_;
    HINSTANCE resources_;
    UINT taskbarCreatedMessage_;
    UINT callbackMessage_;
    NOTIFYICONDATAA data_{};
    HICON icon_ = nullptr;  // the one of the latest add
    bool wanted_ = false;   // between install and remove
    bool installed_ = false;
    std::string tip_;
    UINT menuId_ = 0;
    UINT defaultCommand_ = 0;
    CClickFilter clicks_;
};

}  // namespace tray
