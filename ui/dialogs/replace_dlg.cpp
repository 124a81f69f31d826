#include "replace_dlg.h"

#include "ellipsis.h"
#include "resource.h"

namespace dialogs {
namespace {

// Puts `text` into the label, shortened with "..." to the label's width.
void SetShortenedText(HWND label, const std::string& text) {
    if (!label) return;
    RECT client{};
    ::GetClientRect(label, &client);
    HDC dc = ::GetDC(label);
    if (!dc) return;
    auto font = reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    const std::string shown = ShortenToWidth(text, client.right, [dc](std::string_view s) {
        SIZE size{};
        ::GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    });
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    ::SetWindowTextA(label, shown.c_str());
}

}  // namespace

CReplaceDlg::CReplaceDlg() : CTranslatedDialog(IDD_REPLACE, kReplaceSection) {}

INT_PTR CReplaceDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The dialog manager would hand the focus on to the first button, which
    // Enter would then press; the dialog keeps it, so Enter means OK.
    if (msg == WM_SETFOCUS) return TRUE;
    return CTranslatedDialog::HandleMessage(msg, wParam, lParam);
}

bool CReplaceDlg::OnOpen() {
    SetShortenedText(Item(IDC_REPLACE_NAME), name);
    SetShortenedText(Item(IDC_REPLACE_OLD_URL), existingUrl);
    SetShortenedText(Item(IDC_REPLACE_NEW_URL), newUrl);
    // No button has the focus, so Enter goes to the hidden default button.
    ::SetFocus(Hwnd());
    return false;
}

bool CReplaceDlg::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
        case kYes:
        case kAll:
        case kNo:
        case kNone:
        case IDOK:
        case IDCANCEL:
            EndDialog(id);
            return true;
        default:
            return CTranslatedDialog::OnCommand(id, code, control);
    }
}

int AskReplaceQuestion(HWND owner, const std::string& name, const std::string& existingUrl,
                       const std::string& newUrl) {
    CReplaceDlg dialog;
    dialog.name = name;
    dialog.existingUrl = existingUrl;
    dialog.newUrl = newUrl;
    return static_cast<int>(dialog.DoModal(owner));
}

}  // namespace dialogs
