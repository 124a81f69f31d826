#include "framework/pane_container.h"

#include "ini_file.h"

#include <windowsx.h>

namespace framework {

namespace {

HFONT PaneFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace

HWND CPaneContainer::CreatePane(HWND parent, HWND commandTarget, const std::string& title) {
    commandTarget_ = commandTarget;
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterWindowClass(wc)) return nullptr;
    SetTitle(title);
    const RECT rect{0, 0, 0, 0};
    return Create(instance, kClassName, parent, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                  rect, nullptr);
}

void CPaneContainer::SetClient(HWND client) {
    client_ = client;
    Layout();
}

void CPaneContainer::SetTitle(const std::string& title) {
    title_ = title;
    ini_text::CutToBytes(title_, kMaxTitleBytes);
    if (Hwnd()) {
        RECT bar{};
        ::GetClientRect(Hwnd(), &bar);
        bar.bottom = TitleHeight();
        ::InvalidateRect(Hwnd(), &bar, TRUE);
    }
}

int CPaneContainer::TitleHeight() const {
    HDC dc = ::GetDC(Hwnd());
    HGDIOBJ old = ::SelectObject(dc, PaneFont());
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(Hwnd(), dc);
    return metrics.tmHeight + 8;
}

RECT CPaneContainer::CloseButtonRect() const {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const int height = TitleHeight();
    const int side = height - 6;
    return RECT{client.right - side - 3, 3, client.right - 3, 3 + side};
}

void CPaneContainer::Layout() {
    if (!Hwnd() || !client_) return;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const int top = TitleHeight();
    ::SetWindowPos(client_, nullptr, 0, top, client.right, client.bottom > top ? client.bottom - top : 0,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPaneContainer::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    RECT bar{};
    ::GetClientRect(Hwnd(), &bar);
    bar.bottom = TitleHeight();
    ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_BTNFACE));
    const RECT close = CloseButtonRect();
    RECT text = bar;
    text.left += 4;
    text.right = close.left - 2;
    HGDIOBJ old = ::SelectObject(dc, PaneFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextA(dc, title_.c_str(), static_cast<int>(title_.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, old);
    RECT button = close;
    ::DrawFrameControl(dc, &button, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT | (pressed_ ? DFCS_PUSHED : 0));
    ::EndPaint(Hwnd(), &ps);
}

bool CPaneContainer::OverCloseButton(LPARAM clientPoint) const {
    const RECT close = CloseButtonRect();
    const POINT at{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    return ::PtInRect(&close, at) != FALSE;
}

LRESULT CPaneContainer::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        Layout();
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (OverCloseButton(lParam)) {
            pressed_ = true;
            ::SetCapture(Hwnd());
            const RECT close = CloseButtonRect();
            ::InvalidateRect(Hwnd(), &close, TRUE);
        }
        return 0;
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            ::ReleaseCapture();
            const RECT close = CloseButtonRect();
            ::InvalidateRect(Hwnd(), &close, TRUE);
            if (OverCloseButton(lParam) && commandTarget_) {
                ::SendMessageA(commandTarget_, WM_COMMAND, kCloseCommand, reinterpret_cast<LPARAM>(Hwnd()));
            }
        }
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    case WM_SETFOCUS:
        if (client_) ::SetFocus(client_);
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

}  // namespace framework
