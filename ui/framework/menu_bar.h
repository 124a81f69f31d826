// CMenuBar: the main menu shown as a row of flat buttons (a toolbar) that
// can sit in a rebar band. A button opens its popup below it; while one is
// open, moving the mouse onto another button or pressing Left or Right at
// the popup's own level opens the next one. Alt alone or F10 puts the bar
// into keyboard mode (arrows choose, Enter or Down opens, Escape leaves);
// Alt with a letter opens the popup whose caption has that mnemonic.
//
// The popups' owner is the window given at creation: it receives
// WM_INITMENUPOPUP, WM_MENUSELECT and the chosen command as with a window
// menu.
#pragma once

#include <windows.h>

namespace framework {

class CMenuBar {
public:
    static constexpr DWORD kStyle = 0x5600184C;  // child, visible, clipping, flat, list, no divider, no resize

    CMenuBar() = default;
    ~CMenuBar();
    CMenuBar(const CMenuBar&) = delete;
    CMenuBar& operator=(const CMenuBar&) = delete;

    bool Create(HWND owner, HWND parent);
    HWND Hwnd() const { return bar_; }
    // Shows the popups of `menu` as buttons; the bar owns the menu from now
    // on and destroys the one it showed before.
    void AttachMenu(HMENU menu);
    HMENU Menu() const { return menu_; }
    // Width of the buttons together, for the rebar band.
    int IdealWidth() const;

    // Keys for the bar, seen before the window's own handling.
    bool PreTranslateMessage(const MSG& msg);
    // The owner passes on WM_MENUSELECT: Right moves to the next popup only
    // while the item under the keyboard opens no submenu.
    void OnMenuSelect(HMENU menu, UINT flags);
    bool Tracking() const { return tracking_; }
    bool InKeyboardMode() const { return keyboardMode_; }

    // Opens popup `index` and follows the user from popup to popup until
    // the menu closes.
    void TrackPopups(int index, bool fromKeyboard);

private:
    static LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam);
    bool OnMenuInput(const MSG& msg);
    bool OnBarMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    int ButtonCount() const;
    int ButtonAt(POINT screen) const;
    int MnemonicIndex(WPARAM key) const;
    void EnterKeyboardMode(int index);
    void LeaveKeyboardMode();
    void SetHot(int index);
    void SwitchTo(int index, bool fromKeyboard);

    HWND owner_ = nullptr;
    HWND bar_ = nullptr;
    WNDPROC barProc_ = nullptr;
    HMENU menu_ = nullptr;
    bool tracking_ = false;
    bool keyboardMode_ = false;
    bool altDown_ = false;  // Alt is down and no other key came since
    int current_ = -1;      // popup open now
    int next_ = -1;         // popup to open when the current one has closed
    bool nextFromKeyboard_ = false;
    HMENU currentPopup_ = nullptr;
    HMENU selectedMenu_ = nullptr;  // the menu of the item last selected
    bool selectedOpensSubmenu_ = false;
    HHOOK hook_ = nullptr;
};

}  // namespace framework
