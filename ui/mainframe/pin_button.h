// The pin in the main window's title bar, left of the caption buttons: it
// keeps the window above all others. Drawn by the window into its own
// non-client area from a strip of five pictures (normal, pressed, hot,
// checked, disabled); the window passes it the non-client mouse.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CPinButton {
public:
    enum State { kNormal = 0, kPressed = 1, kHot = 2, kChecked = 3, kDisabled = 4 };
    static constexpr int kSize = 16;

    CPinButton() = default;
    ~CPinButton();
    CPinButton(const CPinButton&) = delete;
    CPinButton& operator=(const CPinButton&) = delete;

    bool Create(HINSTANCE instance, UINT bitmap, State state);
    State GetState() const { return state_; }
    void SetState(State state) { state_ = state; }
    // In window coordinates; recomputed from the window's size and styles.
    void Place(HWND window);
    const RECT& Rect() const { return rect_; }
    void Paint(HWND window) const;

    // Each returns whether the state changed (the caller repaints). `point`
    // is in window coordinates.
    bool OnMouseMove(HWND window, POINT point);
    bool OnButtonDown(POINT point);
    // True in `clicked` when the click toggles the pin.
    bool OnButtonUp(POINT point, bool& clicked);
    bool OnMouseLeave();
    bool Contains(POINT point) const { return ::PtInRect(&rect_, point) != FALSE; }

private:
    HIMAGELIST images_ = nullptr;
    State state_ = kNormal;
    RECT rect_{};
    bool tracking_ = false;
};

// Screen point of a non-client mouse message in the window's coordinates.
POINT WindowPointOf(HWND window, LPARAM screenPoint);
