// The floating drop window: a small picture that stays above other windows,
// so that a link can be dropped while the main window is hidden or covered.
// Everything dropped on it goes to the bookmark list's drop target; dragging
// its body moves it, its context menu hides it (through the main window).
#pragma once

#include <windows.h>
#include <ole2.h>

#include <memory>

namespace dropwindow {

class CDropForwarder;

class CDropWindow {
public:
    static constexpr const char kClassName[] = "quorva_DropWindow";

    // Opens the window owned by `owner` at the stored position, with picture
    // `bitmapId` of `module`, handing its drops to `target` (a counted
    // reference is kept). None when the picture or the window cannot be had.
    static std::unique_ptr<CDropWindow> Open(HWND owner, HINSTANCE module, int bitmapId, IDropTarget* target);
    // Stores the position, revokes the drop target, destroys the window.
    ~CDropWindow();
    CDropWindow(const CDropWindow&) = delete;
    CDropWindow& operator=(const CDropWindow&) = delete;

    HWND Hwnd() const { return hwnd_; }

private:
    CDropWindow() = default;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint();
    void ShowMenu(LPARAM screenPoint);

    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    HBITMAP picture_ = nullptr;
    CDropForwarder* forwarder_ = nullptr;
    bool dropRegistered_ = false;
};

}  // namespace dropwindow
