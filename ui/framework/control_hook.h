// A child control whose messages reach its owner first: the owner's handler
// says whether it took a message (and with what result); what it leaves goes
// to the control's own window procedure. The owner keeps that procedure in a
// member, and the control points at the owner through GWLP_USERDATA, so a
// message costs no lookup. The hook comes off with the control's last
// message, which the handler sees too.
#pragma once

#include "framework/callback_guard.h"

#include <windows.h>

namespace framework {

template <class Owner, bool (Owner::*Handle)(UINT, WPARAM, LPARAM, LRESULT&), WNDPROC Owner::*Original>
LRESULT CALLBACK HookedControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* owner = reinterpret_cast<Owner*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!owner || !(owner->*Original)) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    const WNDPROC original = owner->*Original;
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        owner->*Original = nullptr;
        LRESULT ignored = 0;
        (owner->*Handle)(msg, wParam, lParam, ignored);
        return ::CallWindowProcA(original, hwnd, msg, wParam, lParam);
    }
    return GuardCallback<LRESULT>(
        "hooked control",
        [&] {
            LRESULT result = 0;
            if ((owner->*Handle)(msg, wParam, lParam, result)) return result;
            return ::CallWindowProcA(original, hwnd, msg, wParam, lParam);
        },
        [&] { return ::CallWindowProcA(original, hwnd, msg, wParam, lParam); });
}

template <class Owner, bool (Owner::*Handle)(UINT, WPARAM, LPARAM, LRESULT&), WNDPROC Owner::*Original>
void HookControl(HWND control, Owner* owner) {
    ::SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    owner->*Original = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookedControlProc<Owner, Handle, Original>)));
}

}  // namespace framework
