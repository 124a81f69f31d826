// The main window's status bar: for now its idle text and what the window
// has to say about saving the bookmark file.
#pragma once

#include <windows.h>

#include <string>

class CStatusBar {
public:
    static constexpr int kId = 59393;
    static constexpr DWORD kStyle = 0x56000100;  // child, visible, clip siblings and children, size grip

    // Creates the bar at the bottom of `parent`, showing the idle text.
    bool Create(HWND parent);
    HWND Hwnd() const { return bar_; }

    void SetText(const std::string& text);
    // "就绪", or the language pack's text for it.
    void ShowIdleText();
    // Lets the bar fit itself to its parent's width; the height it takes
    // from the bottom of the client area (0 when it is not shown).
    int Layout();

private:
    HWND bar_ = nullptr;
};
