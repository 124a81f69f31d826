#include "framework/splitter.h"

#include <windowsx.h>

#include <algorithm>

namespace framework {

HWND CSplitter::CreateSplitter(HWND parent, const RECT& rect) {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = instance;
    wc.hCursor = nullptr;  // set by WM_SETCURSOR: a sizing arrow over the bar
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterWindowClass(wc)) return nullptr;
    HWND hwnd = Create(instance, kClassName, parent, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                       0, rect, nullptr);
    if (hwnd) extent_ = Extent();
    return hwnd;
}

void CSplitter::SetPanes(HWND first, HWND second) {
    first_ = first;
    second_ = second;
    UpdateLayout();
}

int CSplitter::Extent() const {
    RECT client{};
    if (Hwnd()) ::GetClientRect(Hwnd(), &client);
    return orientation_ == Orientation::kVertical ? client.right : client.bottom;
}

int CSplitter::Clamp(int position) const {
    return std::max(0, std::min(position, Extent() - kBarSize));
}

void CSplitter::SetPosition(int pixels) {
    position_ = Clamp(pixels);
    extent_ = Extent();
    UpdateLayout();
}

void CSplitter::SetPanesShown(Panes panes) {
    shown_ = panes;
    UpdateLayout();
}

// The panes move in one batch; what they uncover of the bar is painted by
// the window's own background.
void CSplitter::UpdateLayout() {
    if (!Hwnd()) return;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    // By the panes' own style: the splitter itself may be hidden still.
    auto shown = [](HWND pane) { return (::GetWindowLongPtrA(pane, GWL_STYLE) & WS_VISIBLE) != 0; };
    auto showPane = [&](HWND pane, bool show) {
        if (pane && shown(pane) != show) ::ShowWindow(pane, show ? SW_SHOWNA : SW_HIDE);
    };
    RECT first = client;
    RECT second = client;
    switch (shown_) {
    case Panes::kFirstOnly:
        showPane(second_, false);
        showPane(first_, true);
        break;
    case Panes::kSecondOnly:
        showPane(first_, false);
        showPane(second_, true);
        break;
    case Panes::kBoth:
        if (orientation_ == Orientation::kVertical) {
            first.right = position_;
            second.left = std::min<LONG>(position_ + kBarSize, client.right);
        } else {
            first.bottom = position_;
            second.top = std::min<LONG>(position_ + kBarSize, client.bottom);
        }
        showPane(first_, true);
        showPane(second_, true);
        break;
    }
    HDWP batch = ::BeginDeferWindowPos(2);
    auto place = [&](HWND pane, const RECT& r) {
        if (!pane || !shown(pane)) return;
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (batch) {
            batch = ::DeferWindowPos(batch, pane, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
        } else {
            ::SetWindowPos(pane, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
        }
    };
    place(first_, first);
    place(second_, second);
    if (batch) ::EndDeferWindowPos(batch);
}

// The left pane keeps its width; a bottom pane that keeps its size moves the
// bar by as much as the splitter grew or shrank.
void CSplitter::OnSize(int extent) {
    if (secondKeepsSize_ && extent_ > 0) position_ += extent - extent_;
    extent_ = extent;
    position_ = Clamp(position_);
    UpdateLayout();
}

void CSplitter::DragTo(LPARAM clientPoint) {
    const int at = orientation_ == Orientation::kVertical ? GET_X_LPARAM(clientPoint) : GET_Y_LPARAM(clientPoint);
    const int wanted = Clamp(at - grabOffset_);
    if (wanted == position_) return;
    position_ = wanted;
    UpdateLayout();
    // Drawn at once, not when the drag pauses.
    ::UpdateWindow(Hwnd());
}

LRESULT CSplitter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        OnSize(orientation_ == Orientation::kVertical ? LOWORD(lParam) : HIWORD(lParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == Hwnd() && shown_ == Panes::kBoth) {
            ::SetCursor(::LoadCursorA(nullptr, orientation_ == Orientation::kVertical ? IDC_SIZEWE : IDC_SIZENS));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN: {
        if (shown_ != Panes::kBoth) return 0;
        const int at = orientation_ == Orientation::kVertical ? GET_X_LPARAM(lParam) : GET_Y_LPARAM(lParam);
        dragging_ = true;
        grabOffset_ = at - position_;
        ::SetCapture(Hwnd());
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_ && (wParam & MK_LBUTTON)) DragTo(lParam);
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            DragTo(lParam);
            dragging_ = false;
            ::ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

}  // namespace framework
