#include "wizard_page.h"

#include "framework/ui_text.h"

namespace wizard {

CWizardPage::CWizardPage(CImportExportWizard& wizard, int templateId, std::string_view section)
    : wizard_(wizard), templateId_(templateId), section_(section) {}

PROPSHEETPAGEA CWizardPage::Record() {
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = ::GetModuleHandleA(nullptr);
    page.pszTemplate = MAKEINTRESOURCEA(templateId_);
    page.pfnDlgProc = Proc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

INT_PTR CALLBACK CWizardPage::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<CWizardPage*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        page = reinterpret_cast<CWizardPage*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->hwnd_ = hwnd;
        framework::TranslateDialog(hwnd, page->section_);
        page->OnInit();
        return TRUE;
    }
    if (!page) return FALSE;
    switch (msg) {
        case WM_NOTIFY:
            return page->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND:
            return page->OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_TIMER:
            page->OnTimer(wParam);
            return TRUE;
        case kApplyCaption:
            ::SendMessageA(page->Sheet(), PSM_SETTITLEA, 0, reinterpret_cast<LPARAM>(page->caption_.c_str()));
            return TRUE;
        case WM_DESTROY:
            page->hwnd_ = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR CWizardPage::OnNotify(const NMHDR& header) {
    LONG_PTR result = 0;
    switch (header.code) {
        case PSN_SETACTIVE:
            OnSetActive();
            break;
        case PSN_WIZNEXT:
            result = OnWizNext();
            break;
        case PSN_WIZBACK:
            result = OnWizBack();
            break;
        case PSN_QUERYCANCEL:
            result = OnQueryCancel() ? TRUE : FALSE;
            break;
        case PSN_WIZFINISH:
            result = OnWizFinish() ? TRUE : FALSE;
            break;
        default:
            return FALSE;
    }
    ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

std::string CWizardPage::Text(std::string_view key, std::string_view builtin) const {
    return framework::UiText(section_, key, builtin);
}

void CWizardPage::SetItemText(int id, const std::string& text) const { ::SetDlgItemTextA(hwnd_, id, text.c_str()); }

void CWizardPage::SetCaption(const std::string& text) {
    // The sheet gives the window the page's own title after the page became
    // the current one: the caption is set once that is done.
    caption_ = text;
    ::PostMessageA(hwnd_, kApplyCaption, 0, 0);
}

void CWizardPage::SetButtons(DWORD flags) const {
    ::PostMessageA(Sheet(), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

}  // namespace wizard
