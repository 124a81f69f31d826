#include "framework/dialog_base.h"

#include "framework/callback_guard.h"
#include "framework/ui_text.h"

#include <vector>

namespace framework {

INT_PTR CDialogBase::DoModal(HWND owner, HINSTANCE instance) {
    if (hwnd_) return -1;  // already running
    if (!instance) instance = ::GetModuleHandleA(nullptr);
    return ::DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId_), owner, &CDialogBase::DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialogBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (!header) return FALSE;
            bool handled = false;
            const LRESULT result = OnNotify(*header, handled);
            if (!handled) return FALSE;
            ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

bool CDialogBase::OnCommand(WORD id, WORD, HWND) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

LRESULT CDialogBase::OnNotify(const NMHDR&, bool& handled) {
    handled = false;
    return 0;
}

void CDialogBase::EndDialog(INT_PTR result) {
    if (hwnd_) ::EndDialog(hwnd_, result);
}

std::string CDialogBase::WindowText(HWND window) { return WindowTextOf(window); }

bool CDialogBase::SetItemText(int id, const std::string& text) const {
    return hwnd_ && ::SetDlgItemTextA(hwnd_, id, text.c_str());
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CDialogBase* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialogBase*>(lParam);
        if (self) {
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<CDialogBase*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) get the default handling.
    if (!self) return FALSE;

    const INT_PTR result = GuardCallback<INT_PTR>(
        "dialog procedure", [&] { return self->HandleMessage(msg, wParam, lParam); },
        [&]() -> INT_PTR {
            // A dialog that could not be set up is closed as if cancelled.
            if (msg == WM_INITDIALOG) ::EndDialog(hwnd, IDCANCEL);
            return FALSE;
        });

    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace framework
