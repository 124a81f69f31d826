#include "framework/window_base.h"

#include "framework/callback_guard.h"

namespace framework {

CWindowBase::~CWindowBase() {
    if (hwnd_) {
        // The derived part is gone: detach first so that the messages of the
        // destruction get only the default handling.
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        ::DestroyWindow(hwnd);
    }
}

bool CWindowBase::RegisterWindowClass(WNDCLASSEXA wc) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &CWindowBase::WindowProc;
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(wc.hInstance, wc.lpszClassName, &existing)) return existing.lpfnWndProc == wc.lpfnWndProc;
    return ::RegisterClassExA(&wc) != 0;
}

HWND CWindowBase::CreatePaneHost(const char* className, HWND parent, const RECT& rect) {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!RegisterWindowClass(wc)) return nullptr;
    return Create(instance, className, parent, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, rect, nullptr);
}

HWND CWindowBase::Create(HINSTANCE instance, const char* className, HWND parent, const char* title, DWORD style,
                         DWORD exStyle, const RECT& rect, HMENU menu) {
    if (hwnd_) return nullptr;
    const int width = rect.right == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
    const int height = rect.bottom == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
    return ::CreateWindowExA(exStyle, className, title, style, rect.left, rect.top, width, height, parent, menu,
                             instance, this);
}

bool CWindowBase::Destroy() { return hwnd_ && ::DestroyWindow(hwnd_); }

LRESULT CWindowBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(msg, wParam, lParam);
}

LRESULT CWindowBase::DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK CWindowBase::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWindowBase* self = nullptr;
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        self = static_cast<CWindowBase*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<CWindowBase*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after detaching.
    if (!self) return ::DefWindowProcA(hwnd, msg, wParam, lParam);

    const LRESULT result = GuardCallback<LRESULT>(
        "window procedure", [&] { return self->HandleMessage(msg, wParam, lParam); },
        [&]() -> LRESULT {
            // A failed creation must not leave a half-built window behind.
            if (msg == WM_NCCREATE) return FALSE;
            if (msg == WM_CREATE) return -1;
            return ::DefWindowProcA(hwnd, msg, wParam, lParam);
        });

    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        GuardCallback<int>("final message", [&] { self->OnFinalMessage(); return 0; }, [] { return 0; });
    }
    return result;
}

}  // namespace framework
