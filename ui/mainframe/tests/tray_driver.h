// Reaching the main window's tray icon the way a user does: through the
// taskbar's notification area that the desktop's shell runs in another
// process. The icons are drawn side by side from the right end of the
// taskbar window, which passes the mouse messages on an icon to its owner.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tray_test {

// One icon: the taskbar window and the icon's middle in its client area.
struct ShellIcon {
    HWND tray = nullptr;
    POINT at{};
    explicit operator bool() const { return tray != nullptr; }
};

// The icons whose mouse messages the shell passes on to a window of this
// thread as `callbackMessage`, found by trying every place with a message
// the program ignores.
std::vector<ShellIcon> IconsOfThisThread(UINT callbackMessage);
ShellIcon IconOfThisThread(UINT callbackMessage);
// Whether the shell holds icon 128 of `owner` (a change of nothing to it
// succeeds).
bool ShellHolds(HWND owner);
// Mouse messages to the taskbar on the icon, which it relays.
void PostMouse(const ShellIcon& icon, UINT message);
void Click(const ShellIcon& icon);
void RightClick(const ShellIcon& icon);
// The tip the shell shows while the mouse rests on the icon; empty when
// none came.
std::string HoverTip(const ShellIcon& icon);

// Counts the icon messages the shell relays to a window of this thread.
class RelayWatch {
public:
    explicit RelayWatch(UINT callbackMessage);
    ~RelayWatch();
    RelayWatch(const RelayWatch&) = delete;
    RelayWatch& operator=(const RelayWatch&) = delete;
    // How many relays of mouse message `message` have arrived.
    int Count(UINT message) const;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_ = nullptr;
};

// Reads the tray menu once it opens on this thread: its items, their states
// and its default item; then closes it. Done once the menu has closed.
struct SeenItem {
    UINT id = 0;  // 0 for a separator
    std::string text;
    bool grayed = false;
};

class MenuDriver {
public:
    MenuDriver();
    ~MenuDriver();
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    bool Done() const { return done_; }
    const std::vector<SeenItem>& Items() const { return items_; }
    UINT DefaultItem() const { return defaultItem_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Step();

    UINT_PTR timer_ = 0;
    bool acted_ = false;
    bool done_ = false;
    std::vector<SeenItem> items_;
    UINT defaultItem_ = static_cast<UINT>(-1);
};

}  // namespace tray_test
