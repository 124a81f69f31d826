#include "options_page.h"

#include "framework/callback_guard.h"
#include "framework/ui_text.h"

namespace settings {

COptionsPage::COptionsPage(int templateId, std::string_view section) : templateId_(templateId), section_(section) {}

HWND COptionsPage::Create(HWND sheet, HINSTANCE instance) {
    if (hwnd_) return hwnd_;
    instance_ = instance ? instance : ::GetModuleHandleA(nullptr);
    ::CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId_), sheet, &COptionsPage::Proc,
                         reinterpret_cast<LPARAM>(this));
    return hwnd_;
}

std::string COptionsPage::Text(std::string_view key, std::string_view builtin) const {
    return framework::UiText(section_, key, builtin);
}

INT_PTR COptionsPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        framework::TranslateDialog(hwnd_, section_);
        OnInit();
        return FALSE;  // the sheet gives the focus when it shows the page
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        LRESULT result = 0;
        if (!header || !OnNotify(*header, result)) return FALSE;
        ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK COptionsPage::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    COptionsPage* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<COptionsPage*>(lParam);
        if (self) {
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<COptionsPage*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    const INT_PTR result = framework::GuardCallback<INT_PTR>(
        "settings page", [&] { return self->HandleMessage(msg, wParam, lParam); }, [] { return FALSE; });
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace settings
