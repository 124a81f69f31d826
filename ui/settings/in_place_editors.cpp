#include "in_place_editors.h"

#include "dpi_images.h"
#include "framework/control_hook.h"
#include "framework/ui_text.h"
#include "option_values.h"
#include "setting.h"

#include <commctrl.h>

namespace settings {

CInPlaceEditor::~CInPlaceEditor() { Destroy(); }

bool CInPlaceEditor::Open(HWND tree, int left, const RECT& row, const std::string& value, UINT closeMessage,
                          WPARAM serial) {
    if (hwnd_) return false;
    tree_ = tree;
    closeMessage_ = closeMessage;
    serial_ = serial;
    hwnd_ = CreateControl(tree, left, row);
    if (!hwnd_) return false;
    ::SendMessageA(hwnd_, WM_SETFONT, ::SendMessageA(tree, WM_GETFONT, 0, 0), FALSE);
    ShowValue(value);
    framework::HookControl<CInPlaceEditor, &CInPlaceEditor::OnMessage, &CInPlaceEditor::original_>(hwnd_, this);
    return true;
}

void CInPlaceEditor::Destroy() {
    if (!hwnd_) return;
    HWND window = hwnd_;
    hwnd_ = nullptr;
    ::DestroyWindow(window);
}

bool CInPlaceEditor::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg != WM_KILLFOCUS || !hwnd_) return false;
    // Into the tree: the tree's own click or key decides. Anywhere else:
    // the tree closes the editor once this message is over.
    HWND to = reinterpret_cast<HWND>(wParam);
    if (to != tree_ && to != hwnd_ && !::IsChild(hwnd_, to)) ::PostMessageA(tree_, closeMessage_, serial_, 0);
    return false;
}

HWND CTreeOptionsCombo::CreateControl(HWND tree, int left, const RECT& row) {
    const int rowHeight = row.bottom - row.top;
    HWND combo = ::CreateWindowExA(0, WC_COMBOBOXA, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, left,
                                   row.top, ScaleFor(tree, kWidth), rowHeight + ScaleFor(tree, kListHeight), tree, nullptr,
                                   reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(tree, GWLP_HINSTANCE)), nullptr);
    if (!combo) return nullptr;
    // The closed box as high as the row it covers.
    const LRESULT border = ::SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    RECT box{};
    ::GetWindowRect(combo, &box);
    const int extra = (box.bottom - box.top) - static_cast<int>(border);
    if (border != CB_ERR && rowHeight - extra > 0) {
        ::SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), rowHeight - extra);
    }
    Fill(combo);
    return combo;
}

void CTreeOptionsCombo::ShowValue(const std::string& value) {
    const LRESULT found = ::SendMessageA(Hwnd(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(value.c_str()));
    if (found != CB_ERR) ::SendMessageA(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

std::string CTreeOptionsCombo::Text() const {
    if (!Hwnd()) return {};
    const LRESULT selected = ::SendMessageA(Hwnd(), CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return {};
    const LRESULT length = ::SendMessageA(Hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == CB_ERR || length < 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied =
        ::SendMessageA(Hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

HWND CTreeOptionsEdit::CreateControl(HWND tree, int left, const RECT& row) {
    return ::CreateWindowExA(0, WC_EDITA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, left, row.top,
                             ScaleFor(tree, kWidth), row.bottom - row.top, tree, nullptr,
                             reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(tree, GWLP_HINSTANCE)), nullptr);
}

void CTreeOptionsEdit::ShowValue(const std::string& value) {
    ::SetWindowTextA(Hwnd(), value.c_str());
    ::SendMessageA(Hwnd(), EM_SETSEL, 0, -1);
}

std::string CTreeOptionsEdit::Text() const { return framework::WindowTextOf(Hwnd()); }

void CCheckNewVersionComboBox::Fill(HWND combo) {
    const CheckVersionTexts builtin = BuiltinCheckVersionTexts();
    const char* const keys[] = {"10005", "10006", "10007"};
    for (std::size_t i = 0; i < builtin.size(); ++i) {
        const std::string text = framework::UiText("dlg_settingpage0", keys[i], builtin[i]);
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(CSetting::Instance()->General_CheckVerMode), 0);
}

}  // namespace settings
