#include "mainframe/pin_button.h"

#include <windowsx.h>

CPinButton::~CPinButton() {
    if (images_) ImageList_Destroy(images_);
}

bool CPinButton::Create(HINSTANCE instance, UINT bitmap, State state) {
    if (images_) ImageList_Destroy(images_);
    images_ = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(bitmap), kSize, 0, RGB(255, 0, 255), IMAGE_BITMAP,
                                   LR_CREATEDIBSECTION);
    state_ = state;
    return images_ != nullptr;
}

void CPinButton::Place(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    const int buttons = 1 + ((style & WS_MINIMIZEBOX) ? 1 : 0) + ((style & WS_MAXIMIZEBOX) ? 1 : 0);
    const int baseX = (frame.right - frame.left) - ::GetSystemMetrics(SM_CYSIZE) * buttons - 2;
    const int baseY = (style & (WS_BORDER | WS_THICKFRAME)) ? ::GetSystemMetrics(SM_CYFRAME) : 0;
    rect_.left = baseX - 18;
    rect_.right = rect_.left + kSize;
    rect_.top = baseY + (::GetSystemMetrics(SM_CYCAPTION) - kSize) / 2;
    rect_.bottom = rect_.top + kSize;
}

void CPinButton::Paint(HWND window) const {
    if (!images_) return;
    HDC dc = ::GetWindowDC(window);
    if (!dc) return;
    ImageList_Draw(images_, state_, dc, rect_.left, rect_.top, ILD_TRANSPARENT);
    ::ReleaseDC(window, dc);
}

bool CPinButton::OnMouseMove(HWND window, POINT point) {
    if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, window, 0};
        tracking_ = ::TrackMouseEvent(&track) != FALSE;
    }
    if (state_ == kChecked || state_ == kDisabled) return false;
    const State next = Contains(point) ? (state_ == kPressed ? kPressed : kHot) : kNormal;
    if (next == state_) return false;
    state_ = next;
    return true;
}

bool CPinButton::OnButtonDown(POINT point) {
    if (state_ == kChecked || state_ == kDisabled) return false;
    const State next = Contains(point) ? kPressed : kNormal;
    if (next == state_) return false;
    state_ = next;
    return true;
}

bool CPinButton::OnButtonUp(POINT point, bool& clicked) {
    clicked = false;
    const bool inside = Contains(point);
    if (state_ == kChecked) {
        clicked = inside;
        return false;
    }
    if (state_ == kDisabled) return false;
    const State next = inside ? kHot : kNormal;
    clicked = inside;
    if (next == state_) return false;
    state_ = next;
    return true;
}

bool CPinButton::OnMouseLeave() {
    tracking_ = false;
    if (state_ == kChecked || state_ == kDisabled || state_ == kNormal) return false;
    state_ = kNormal;
    return true;
}

POINT WindowPointOf(HWND window, LPARAM screenPoint) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    return POINT{GET_X_LPARAM(screenPoint) - frame.left, GET_Y_LPARAM(screenPoint) - frame.top};
}
