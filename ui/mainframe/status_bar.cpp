#include "mainframe/status_bar.h"

#include <commctrl.h>

#include "framework/ui_text.h"

bool CStatusBar::Create(HWND parent) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    bar_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", kStyle, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)),
                             reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (!bar_) return false;
    ShowIdleText();
    return true;
}

void CStatusBar::SetText(const std::string& text) {
    if (bar_) ::SendMessageA(bar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CStatusBar::ShowIdleText() { SetText(framework::UiText("Message", "57345", "就绪")); }

int CStatusBar::Layout() {
    if (!bar_ || !::IsWindowVisible(bar_)) return 0;
    ::SendMessageA(bar_, WM_SIZE, 0, 0);
    ::InvalidateRect(bar_, nullptr, TRUE);
    RECT rect{};
    ::GetWindowRect(bar_, &rect);
    return rect.bottom - rect.top;
}
