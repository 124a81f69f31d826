// Base of the program's own windows. One window procedure for every kind of
// window: it takes `this` from lpCreateParams at WM_NCCREATE, keeps it in
// GWLP_USERDATA and hands each message to the virtual HandleMessage.
#pragma once

#include <windows.h>

namespace framework {

class CWindowBase {
public:
    CWindowBase() = default;
    virtual ~CWindowBase();

    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;

    HWND Hwnd() const { return hwnd_; }

    // Registers a window class whose procedure is this base's; the other fields
    // come from `wc`. True when the class exists afterwards (also when it was
    // registered before by this module).
    static bool RegisterWindowClass(WNDCLASSEXA wc);

    // Creates the window; `this` reaches the window procedure through
    // lpCreateParams. Returns the window, or null when creation failed.
    HWND Create(HINSTANCE instance, const char* className, HWND parent, const char* title, DWORD style,
                DWORD exStyle, const RECT& rect, HMENU menu);
    // A visible child of `parent` of the program's own class `className`
    // (registered on first use: double-clicks, arrow cursor, no background),
    // clipping its children: the host window of a view around its control.
    HWND CreatePaneHost(const char* className, HWND parent, const RECT& rect);

    bool Destroy();

protected:
    // Every message after WM_NCCREATE up to and including WM_NCDESTROY.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called after WM_NCDESTROY, when Hwnd() is already null.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace framework
