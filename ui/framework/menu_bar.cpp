#include "framework/menu_bar.h"

#include "framework/control_hook.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace framework {

namespace {

// The bar whose popup is open on this thread; the menu filter serves it.
thread_local CMenuBar* g_tracking = nullptr;

constexpr int kFirstButtonId = 1;

}  // namespace

CMenuBar::~CMenuBar() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
    if (menu_) ::DestroyMenu(menu_);
}

bool CMenuBar::Create(HWND owner, HWND parent) {
    owner_ = owner;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    bar_ = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "", kStyle, 0, 0, 100, 20, parent, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
    if (!bar_) return false;
    ::SendMessageA(bar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(bar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    ::SendMessageA(bar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_HIDECLIPPEDBUTTONS);
    ::SendMessageA(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    HookControl<CMenuBar, &CMenuBar::OnBarMessage, &CMenuBar::barProc_>(bar_, this);
    return true;
}

int CMenuBar::ButtonCount() const { return bar_ ? static_cast<int>(::SendMessageA(bar_, TB_BUTTONCOUNT, 0, 0)) : 0; }

void CMenuBar::AttachMenu(HMENU menu) {
    if (!bar_) return;
    for (int i = ButtonCount(); i > 0; --i) ::SendMessageA(bar_, TB_DELETEBUTTON, static_cast<WPARAM>(i - 1), 0);
    if (menu_ && menu_ != menu) ::DestroyMenu(menu_);
    menu_ = menu;
    if (!menu_) return;
    const int count = ::GetMenuItemCount(menu_);
    std::vector<std::string> captions(static_cast<std::size_t>(count > 0 ? count : 0));
    std::vector<TBBUTTON> buttons;
    for (int i = 0; i < count; ++i) {
        char caption[256] = "";
        ::GetMenuStringA(menu_, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
        captions[static_cast<std::size_t>(i)] = caption;
    }
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = kFirstButtonId + i;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        button.iString = reinterpret_cast<INT_PTR>(captions[static_cast<std::size_t>(i)].c_str());
        buttons.push_back(button);
    }
    if (!buttons.empty()) {
        ::SendMessageA(bar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    }
    ::SendMessageA(bar_, TB_AUTOSIZE, 0, 0);
}

int CMenuBar::IdealWidth() const {
    const int count = ButtonCount();
    if (count == 0) return 0;
    RECT last{};
    ::SendMessageA(bar_, TB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last));
    return last.right;
}

int CMenuBar::ButtonAt(POINT screen) const {
    if (!bar_) return -1;
    ::ScreenToClient(bar_, &screen);
    RECT client{};
    ::GetClientRect(bar_, &client);
    if (!::PtInRect(&client, screen)) return -1;
    const int index = static_cast<int>(::SendMessageA(bar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&screen)));
    return index >= 0 && index < ButtonCount() ? index : -1;
}

// The letter after '&' in a caption, compared without case.
int CMenuBar::MnemonicIndex(WPARAM key) const {
    // Virtual keys of letters and digits are their upper-case characters.
    const bool alphanumeric = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (!menu_ || !alphanumeric) return -1;
    const int count = ::GetMenuItemCount(menu_);
    const char wanted = static_cast<char>(key);
    for (int i = 0; i < count; ++i) {
        char caption[256] = "";
        ::GetMenuStringA(menu_, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
        for (const char* p = caption; *p; p = ::CharNextA(p)) {
            if (p[0] != '&') continue;
            if (p[1] == '&') {
                ++p;
                continue;
            }
            const char letter = p[1] >= 'a' && p[1] <= 'z' ? static_cast<char>(p[1] - 'a' + 'A') : p[1];
            if (letter != 0 && letter == wanted) return i;
            break;
        }
    }
    return -1;
}

void CMenuBar::SetHot(int index) { ::SendMessageA(bar_, TB_SETHOTITEM, static_cast<WPARAM>(index), 0); }

void CMenuBar::EnterKeyboardMode(int index) {
    if (ButtonCount() == 0) return;
    keyboardMode_ = true;
    SetHot(index);
}

void CMenuBar::LeaveKeyboardMode() {
    keyboardMode_ = false;
    SetHot(-1);
}

bool CMenuBar::PreTranslateMessage(const MSG& msg) {
    if (!bar_ || !menu_ || tracking_ || !::IsWindowVisible(bar_)) return false;
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root != owner_) return false;
    const int count = ButtonCount();
    switch (msg.message) {
    case WM_SYSKEYDOWN:
        if (msg.wParam == VK_MENU) {
            if (!(msg.lParam & (1 << 30))) altDown_ = true;  // not a repeat
            return false;
        }
        altDown_ = false;
        if (msg.wParam == VK_F10 && !(::GetKeyState(VK_SHIFT) & 0x8000)) {
            if (keyboardMode_) {
                LeaveKeyboardMode();
            } else {
                EnterKeyboardMode(0);
            }
            return true;
        }
        if (const int index = MnemonicIndex(msg.wParam); index >= 0) {
            LeaveKeyboardMode();
            TrackPopups(index, true);
            return true;
        }
        return false;
    case WM_SYSKEYUP:
        if (msg.wParam == VK_MENU && altDown_) {
            altDown_ = false;
            if (keyboardMode_) {
                LeaveKeyboardMode();
            } else {
                EnterKeyboardMode(0);
            }
            return true;
        }
        return false;
    case WM_SYSCHAR:
        // The character of a mnemonic already taken above; anything else
        // in keyboard mode would only beep.
        return keyboardMode_;
    case WM_KEYDOWN: {
        altDown_ = false;
        if (!keyboardMode_) return false;
        const int hot = static_cast<int>(::SendMessageA(bar_, TB_GETHOTITEM, 0, 0));
        switch (msg.wParam) {
        case VK_LEFT:
            SetHot(hot <= 0 ? count - 1 : hot - 1);
            return true;
        case VK_RIGHT:
            SetHot(hot < 0 || hot >= count - 1 ? 0 : hot + 1);
            return true;
        case VK_RETURN:
        case VK_DOWN:
        case VK_UP:
            LeaveKeyboardMode();
            TrackPopups(hot < 0 ? 0 : hot, true);
            return true;
        case VK_ESCAPE:
            LeaveKeyboardMode();
            return true;
        default:
            if (const int index = MnemonicIndex(msg.wParam); index >= 0) {
                LeaveKeyboardMode();
                TrackPopups(index, true);
                return true;
            }
            LeaveKeyboardMode();
            return true;
        }
    }
    case WM_CHAR:
        return keyboardMode_;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        altDown_ = false;
        if (keyboardMode_) LeaveKeyboardMode();
        return false;
    default:
        return false;
    }
}

void CMenuBar::OnMenuSelect(HMENU menu, UINT flags) {
    if (!tracking_) return;
    selectedMenu_ = menu;
    selectedOpensSubmenu_ = flags != 0xFFFF && (flags & MF_POPUP) != 0;
}

bool CMenuBar::OnBarMessage(UINT msg, WPARAM /*wParam*/, LPARAM lParam, LRESULT& result) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(bar_, &at);
        const int index = ButtonAt(at);
        if (index >= 0) {
            LeaveKeyboardMode();
            TrackPopups(index, false);
            result = 0;
            return true;
        }
    }
    return false;
}

void CMenuBar::SwitchTo(int index, bool fromKeyboard) {
    next_ = index;
    nextFromKeyboard_ = fromKeyboard;
    ::EndMenu();
}

void CMenuBar::TrackPopups(int index, bool fromKeyboard) {
    if (!menu_ || tracking_ || index < 0 || index >= ButtonCount()) return;
    tracking_ = true;
    CMenuBar* outer = g_tracking;
    g_tracking = this;
    hook_ = ::SetWindowsHookExA(WH_MSGFILTER, &CMenuBar::MenuFilter, nullptr, ::GetCurrentThreadId());
    next_ = index;
    nextFromKeyboard_ = fromKeyboard;
    while (next_ >= 0 && menu_) {
        current_ = next_;
        const bool keyboard = nextFromKeyboard_;
        next_ = -1;
        currentPopup_ = ::GetSubMenu(menu_, current_);
        if (!currentPopup_) break;
        selectedMenu_ = currentPopup_;
        selectedOpensSubmenu_ = false;
        const int id = kFirstButtonId + current_;
        ::SendMessageA(bar_, TB_PRESSBUTTON, static_cast<WPARAM>(id), TRUE);
        RECT button{};
        ::SendMessageA(bar_, TB_GETITEMRECT, static_cast<WPARAM>(current_), reinterpret_cast<LPARAM>(&button));
        ::MapWindowPoints(bar_, nullptr, reinterpret_cast<POINT*>(&button), 2);
        TPMPARAMS exclude{sizeof exclude, button};
        // Opened from the keyboard, the popup starts with its first item
        // selected, as a window menu does.
        if (keyboard) ::PostMessageA(owner_, WM_KEYDOWN, VK_DOWN, 0);
        ::TrackPopupMenuEx(currentPopup_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON, button.left,
                           button.bottom, owner_, &exclude);
        if (bar_) ::SendMessageA(bar_, TB_PRESSBUTTON, static_cast<WPARAM>(id), FALSE);
    }
    if (hook_) ::UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    g_tracking = outer;
    current_ = -1;
    currentPopup_ = nullptr;
    tracking_ = false;
}

// Input inside the popup's own loop.
bool CMenuBar::OnMenuInput(const MSG& msg) {
    const int count = ButtonCount();
    switch (msg.message) {
    case WM_MOUSEMOVE: {
        const int index = ButtonAt(msg.pt);
        if (index >= 0 && index != current_) SwitchTo(index, false);
        return false;
    }
    case WM_LBUTTONDOWN:
        // A press on the open popup's own button closes it, and only that.
        if (ButtonAt(msg.pt) == current_) {
            ::EndMenu();
            return true;
        }
        return false;
    case WM_KEYDOWN:
        if (msg.wParam == VK_LEFT && selectedMenu_ == currentPopup_) {
            SwitchTo(current_ <= 0 ? count - 1 : current_ - 1, true);
            return true;
        }
        if (msg.wParam == VK_RIGHT && (selectedMenu_ == currentPopup_ || !selectedMenu_) && !selectedOpensSubmenu_) {
            SwitchTo(current_ >= count - 1 ? 0 : current_ + 1, true);
            return true;
        }
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK CMenuBar::MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && g_tracking && g_tracking->hook_) {
        if (g_tracking->OnMenuInput(*reinterpret_cast<const MSG*>(lParam))) return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace framework
