// Reaching the main window's tray icon the way a user does: through the
// taskbar's notification area that the desktop's shell runs in another
// process. Each icon there is a window of its own, which passes the mouse
// messages it gets on to the icon's owner.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tray_test {

// The notification area's icon windows, in no particular order.
std::vector<HWND> ShellIcons();
// The icon window that is in ShellIcons() now and was not in `before`.
HWND NewIcon(const std::vector<HWND>& before);
// Whether the shell holds icon 128 of `owner` (a change of nothing to it
// succeeds).
bool ShellHolds(HWND owner);
// Mouse messages to the shell's icon window, which relays them.
void PostMouse(HWND icon, UINT message);
void Click(HWND icon);
void RightClick(HWND icon);
// The tip the shell shows while the mouse rests on the icon; empty when
// none came.
std::string HoverTip(HWND icon);

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

// Drives the tray menu once it opens on this thread: notes its items, then
// picks the item of command `choose` with the arrow keys and Enter (0
// closes it with Escape).
struct SeenItem {
    UINT id = 0;  // 0 for a separator
    std::string text;
    bool grayed = false;
};

class MenuDriver {
public:
    explicit MenuDriver(UINT choose);
    ~MenuDriver();
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    bool Done() const { return done_; }
    const std::vector<SeenItem>& Items() const { return items_; }
    UINT DefaultItem() const { return defaultItem_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Step();

    UINT choose_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
    int steps_ = 0;
    std::vector<SeenItem> items_;
    UINT defaultItem_ = static_cast<UINT>(-1);
};

}  // namespace tray_test
