#include "translated_dialog.h"

#include "framework/centring.h"
#include "framework/message_box.h"
#include "framework/ui_text.h"
#include "resource.h"

#include <commctrl.h>

namespace dialogs {

CTranslatedDialog::CTranslatedDialog(int templateId, std::string_view section)
    : CDialogBase(templateId), section_(section) {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

INT_PTR CTranslatedDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CTLCOLORSTATIC) {
        if (HBRUSH brush = TabPageBrush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<INT_PTR>(brush);
    }
    return CDialogBase::HandleMessage(msg, wParam, lParam);
}

HBRUSH CTranslatedDialog::TabPageBrush(HWND control, HDC dc) {
    HWND tab = Item(IDC_DIALOG_TAB);
    if (!tab || !control || control == tab) return nullptr;
    RECT page{};
    ::GetWindowRect(tab, &page);
    ::SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    RECT own{};
    ::GetWindowRect(control, &own);
    RECT common{};
    if (!::IntersectRect(&common, &own, &page) || !::EqualRect(&common, &own)) return nullptr;

    if (!tabPageMeasured_) {
        tabPageMeasured_ = true;
        // The page's colour: the tab control drawn into a bitmap, read at the
        // middle of its page.
        RECT client{};
        ::GetClientRect(tab, &client);
        RECT inner = client;
        ::SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inner));
        HDC screen = ::GetDC(tab);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
        if (memory && bitmap) {
            HGDIOBJ old = ::SelectObject(memory, bitmap);
            ::SendMessageA(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
            tabPageColour_ = ::GetPixel(memory, (inner.left + inner.right) / 2, (inner.top + inner.bottom) / 2);
            ::SelectObject(memory, old);
        }
        if (bitmap) ::DeleteObject(bitmap);
        if (memory) ::DeleteDC(memory);
        ::ReleaseDC(tab, screen);
        if (tabPageColour_ != CLR_INVALID) tabPageBrush_.reset(::CreateSolidBrush(tabPageColour_));
    }
    if (!tabPageBrush_) return nullptr;
    ::SetBkColor(dc, tabPageColour_);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    return tabPageBrush_.get();
}

bool CTranslatedDialog::OnInitDialog() {
    framework::TranslateDialog(Hwnd(), section_);
    framework::CenterWindow(Hwnd());
    return OnOpen();
}

std::string CTranslatedDialog::Text(const TextKey& key) {
    return framework::UiText(key.section, key.key, key.builtin);
}

void CTranslatedDialog::SetTitleAndTab(const std::string& title, int tabId) {
    ::SetWindowTextA(Hwnd(), title.c_str());
    HWND tab = Item(tabId);
    if (!tab) return;
    ::SendMessageA(tab, TCM_DELETEALLITEMS, 0, 0);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(title.c_str());
    ::SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void CTranslatedDialog::MakeTopmost() {
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CTranslatedDialog::Refuse(const TextKey& message, int id) {
    framework::ShowMessage(Hwnd(), message.section, message.key, message.builtin, framework::BoxKind::kWarning);
    if (HWND control = Item(id)) {
        ::SetFocus(control);
        ::SendMessageA(control, EM_SETSEL, 0, -1);
    }
}

}  // namespace dialogs
