#include "framework/unicode_edit.h"

namespace framework {

HWND MakeUnicodeEdit(HWND dialog, int id) {
    HWND old = ::GetDlgItem(dialog, id);
    if (!old || ::IsWindowUnicode(old)) return old;
    RECT place{};
    ::GetWindowRect(old, &place);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(old, GWL_STYLE));
    const DWORD extended = static_cast<DWORD>(::GetWindowLongW(old, GWL_EXSTYLE));
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(old, WM_GETFONT, 0, 0));
    const LRESULT limit = ::SendMessageW(old, EM_GETLIMITTEXT, 0, 0);
    const std::u16string text = WindowTextUtf16(old);
    HWND made = ::CreateWindowExW(extended, L"EDIT", reinterpret_cast<const wchar_t*>(text.c_str()), style,
                                  place.left, place.top, place.right - place.left, place.bottom - place.top, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    if (!made) return old;  // the ANSI control still works, as before
    ::SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageW(made, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
    // Right after the old one in the z-order: the same place in the tab order.
    ::SetWindowPos(made, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (::GetFocus() == old) ::SetFocus(made);
    ::DestroyWindow(old);
    return made;
}

std::u16string WindowTextUtf16(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = ::GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

}  // namespace framework
