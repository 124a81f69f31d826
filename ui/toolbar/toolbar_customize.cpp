// The toolbar's arrangement: restoring and saving it as one string, the
// Customize Toolbar dialog of the system with the two lists it gets here
// (label mode, icon size), the answers to the dialog's questions, Reset,
// and the right-click menu that opens the dialog.
#include "toolbar/skin_toolbar.h"

#include "framework/callback_guard.h"
#include "framework/centring.h"
#include "framework/context_popup.h"
#include "framework/private_messages.h"
#include "framework/ui_text.h"
#include "ini_file.h"
#include "setting.h"

#include <algorithm>
#include <cstring>

namespace toolbar {

namespace {

// The dialog being customised on this thread, between the hook's
// installation and the end of TB_CUSTOMIZE.
thread_local CSkinToolBar* tCustomizing = nullptr;

// Positions of the added controls, in dialog units: x from the client
// area's left edge, y from the bottom edge the dialog had before it grew.
constexpr int kLabelX = 132;
constexpr int kListX = 182;
constexpr int kLabelWidth = kListX - kLabelX - 2;  // up to the list, not under it
constexpr int kLabelHeight = 8;
constexpr int kListWidth = 120;
constexpr int kListDropHeight = 50;
constexpr int kFirstRowY = 0;
constexpr int kSecondRowY = 18;
constexpr int kLabelDrop = 2;    // a label sits this much lower than its list
constexpr int kBottomMargin = 7;

// The system dialog's list of the buttons on the toolbar.
constexpr int kToolbarButtonList = 203;
// Posted to the dialog after Reset.
constexpr UINT kCheckListMessage = WM_APP + 0x2F5;

void RemoveAllButtons(HWND bar) {
    for (int count = static_cast<int>(::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0)); count > 0; --count) {
        ::SendMessageA(bar, TB_DELETEBUTTON, static_cast<WPARAM>(count - 1), 0);
    }
}

RECT DialogUnits(HWND dialog, int x, int y, int width, int height, LONG top) {
    RECT rect{x, y, x + width, y + height};
    ::MapDialogRect(dialog, &rect);
    ::OffsetRect(&rect, 0, top);
    return rect;
}

HWND AddControl(HWND dialog, const char* className, DWORD style, const RECT& at, int id, HFONT font) {
    HWND control = ::CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                                     at.right - at.left, at.bottom - at.top, dialog,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    if (control && font) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

}  // namespace

std::string CSkinToolBar::Layout() const {
    std::vector<int> commands;
    const int count = bar_ ? static_cast<int>(::SendMessageA(bar_, TB_BUTTONCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        ::SendMessageA(bar_, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        commands.push_back(button.fsStyle & BTNS_SEP ? 0 : button.idCommand);
    }
    return FormatLayout(textOption_ < 0 ? kDefaultTextOption : textOption_, iconOption_, commands);
}

void CSkinToolBar::SaveLayout() const { CSetting::Instance()->GUI_ToolbarData = Layout(); }

void CSkinToolBar::RestoreLayout() { RestoreLayout(CSetting::Instance()->GUI_ToolbarData); }

void CSkinToolBar::RestoreLayout(const std::string& text) {
    if (text.empty()) {
        SetTextOption(kDefaultTextOption);
        SetIconOption(kDefaultIconOption);
        return;
    }
    const ToolbarLayout layout = ParseLayout(text);
    textOption_ = layout.textOption;
    ApplyLayout(layout);
    SetTextOption(layout.textOption);
    SetIconOption(layout.iconOption);
}

// Every button goes; then each command of the layout brings the first
// record of the table with that command (a separator for 0). Commands the
// table does not hold are left out, and so is a second copy of a button:
// the toolbar tells its buttons apart by command, so a copy would never be
// enabled or greyed with it, and each costs a measure in every layout pass.
void CSkinToolBar::ApplyLayout(const ToolbarLayout& layout) {
    if (!bar_) return;
    std::vector<TBBUTTON> buttons;
    std::vector<int> placed;
    buttons.reserve(layout.buttons.size());
    for (std::int64_t id : layout.buttons) {
        const auto record = std::find_if(table_.begin(), table_.end(), [id](const ToolButtonInfo& info) {
            if (id == 0) return (info.button.fsStyle & BTNS_SEP) != 0;
            return !(info.button.fsStyle & BTNS_SEP) && info.button.idCommand == id;
        });
        if (record == table_.end()) continue;
        if (id != 0) {
            if (std::find(placed.begin(), placed.end(), record->button.idCommand) != placed.end()) continue;
            placed.push_back(record->button.idCommand);
        }
        buttons.push_back(record->button);
    }
    // Added with their labels, so that setting the label mode afterwards
    // finds nothing to change.
    std::vector<std::string> labels(buttons.size());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].fsStyle & BTNS_SEP) continue;
        labels[i] = LabelOf(buttons[i].idCommand);
        buttons[i].iString = labels[i].empty() ? -1 : reinterpret_cast<INT_PTR>(labels[i].c_str());
    }
    ::SendMessageA(bar_, WM_SETREDRAW, FALSE, 0);
    RemoveAllButtons(bar_);
    if (!buttons.empty()) {
        ::SendMessageA(bar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    }
    ::SendMessageA(bar_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(bar_, nullptr, TRUE);
}

void CSkinToolBar::ResetLayout() {
    int text = kDefaultTextOption;
    int icon = kDefaultIconOption;
    if (!defaultLayout_.empty()) {
        const ToolbarLayout layout = ParseLayout(defaultLayout_);
        textOption_ = layout.textOption;
        ApplyLayout(layout);
        text = layout.textOption;
        icon = layout.iconOption;
    } else {
        std::vector<TBBUTTON> buttons;
        for (const ToolButtonInfo& info : table_) {
            if (info.isDefault) buttons.push_back(info.button);
        }
        RemoveAllButtons(bar_);
        ::SendMessageA(bar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    }
    SetTextOption(text);
    SetIconOption(icon);
    SelectOptionLists();
    TellDialogParent();
    // Once the dialog has finished with Reset.
    if (dialog_) ::PostMessageA(dialog_, kCheckListMessage, 0, 0);
}

void CSkinToolBar::Customize() {
    if (!bar_ || hook_ || tCustomizing) return;
    do {
        reopen_ = false;
        tCustomizing = this;
        hook_ = ::SetWindowsHookExA(WH_CBT, &CSkinToolBar::CreationHook, nullptr, ::GetCurrentThreadId());
        ::SendMessageA(bar_, TB_CUSTOMIZE, 0, 0);
        // Whether or not a dialog came.
        if (hook_) ::UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
        tCustomizing = nullptr;
        if (dialog_ && ::IsWindow(dialog_)) ::RemoveWindowSubclass(dialog_, &CSkinToolBar::DialogProc, 0);
        dialog_ = nullptr;
    } while (reopen_);
    SaveLayout();
}

// After Reset the dialog's list of the toolbar's buttons should hold them
// and its closing entry. A dialog that does not read the toolbar again
// (Wine's) would go on showing the old buttons, and moving one of them
// would move the wrong button: it is closed and opened afresh.
void CSkinToolBar::CheckDialogList(HWND dialog) {
    const LRESULT listed = ::SendDlgItemMessageA(dialog, kToolbarButtonList, LB_GETCOUNT, 0, 0);
    const LRESULT buttons = ::SendMessageA(bar_, TB_BUTTONCOUNT, 0, 0);
    if (listed == LB_ERR || listed == buttons + 1) return;
    reopen_ = true;
    ::EndDialog(dialog, FALSE);
}

// The first dialog window made while the hook is in is the Customize dialog.
LRESULT CALLBACK CSkinToolBar::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    CSkinToolBar* self = tCustomizing;
    if (code == HCBT_CREATEWND && self && !self->dialog_) {
        HWND created = reinterpret_cast<HWND>(wParam);
        char name[16] = "";
        ::GetClassNameA(created, name, sizeof name);
        if (std::strcmp(name, "#32770") == 0) {
            self->dialog_ = created;
            ::SetWindowSubclass(created, &CSkinToolBar::DialogProc, 0, reinterpret_cast<DWORD_PTR>(self));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CSkinToolBar::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* self = reinterpret_cast<CSkinToolBar*>(data);
    switch (msg) {
    case WM_INITDIALOG: {
        const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
        framework::GuardCallback<int>("customize dialog", [&] { self->AddOptionLists(hwnd); return 0; },
                                      [] { return 0; });
        return result;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == CBN_SELCHANGE && (LOWORD(wParam) == kTextOptionList || LOWORD(wParam) == kIconOptionList)) {
            framework::GuardCallback<int>("customize dialog", [&] { self->OnOptionChosen(LOWORD(wParam)); return 0; },
                                          [] { return 0; });
            return 0;
        }
        break;
    case kCheckListMessage:
        framework::GuardCallback<int>("customize dialog", [&] { self->CheckDialogList(hwnd); return 0; },
                                      [] { return 0; });
        return 0;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, &CSkinToolBar::DialogProc, 0);
        if (self->dialog_ == hwnd) self->dialog_ = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CSkinToolBar::TopLevelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR data) {
    auto* self = reinterpret_cast<CSkinToolBar*>(data);
    if (msg == WM_NOTIFY && lParam) {
        LRESULT result = 0;
        const bool taken = framework::GuardCallback<bool>(
            "toolbar notification", [&] { return self->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result); },
            [] { return false; });
        if (taken) return result;
    } else if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &CSkinToolBar::TopLevelProc, id);
        self->topLevel_ = nullptr;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

// Below the dialog's own controls: the label-mode list, then the icon-size
// list, each with its label on the left; the dialog grows to hold them and
// comes to the middle of the screen.
void CSkinToolBar::AddOptionLists(HWND dialog) {
    RECT client{};
    ::GetClientRect(dialog, &client);
    const LONG top = client.bottom;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    const DWORD listStyle = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    struct Row {
        int y;
        const char* labelKey;
        const char* labelText;
        int list;
        std::vector<std::pair<const char*, const char*>> choices;
    };
    const Row rows[2] = {
        {kFirstRowY, "10001", "标签选项:", kTextOptionList,
         {{"10002", "显示文字标签"}, {"10003", "选择性的将文字置于右侧"}, {"10004", "不显示文字标签"}}},
        {kSecondRowY, "10005", "图标选项:", kIconOptionList, {{"10006", "小图标"}, {"10007", "大图标"}}},
    };
    LONG bottom = top;
    for (const Row& row : rows) {
        HWND label = AddControl(dialog, "STATIC", SS_LEFT | SS_NOPREFIX,
                                DialogUnits(dialog, kLabelX, row.y + kLabelDrop, kLabelWidth, kLabelHeight, top),
                                row.list + 1, font);
        if (label) {
            const std::string text = framework::UiText("toolbar", row.labelKey, row.labelText);
            ::SetWindowTextA(label, text.c_str());
        }
        HWND list = AddControl(dialog, WC_COMBOBOXA, listStyle,
                               DialogUnits(dialog, kListX, row.y, kListWidth, kListDropHeight, top), row.list, font);
        if (!list) continue;
        for (const auto& [key, builtin] : row.choices) {
            const std::string text = framework::UiText("toolbar", key, builtin);
            ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        RECT shown{};
        ::GetWindowRect(list, &shown);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&shown), 2);
        bottom = std::max(bottom, shown.bottom);
    }
    SelectOptionLists();
    const RECT margin = DialogUnits(dialog, 0, 0, 0, kBottomMargin, 0);
    RECT window{};
    ::GetWindowRect(dialog, &window);
    const LONG grow = bottom + (margin.bottom - margin.top) - top;
    ::SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + grow,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(dialog, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoA(::MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const POINT origin = framework::CentredOrigin(window, monitor.rcWork, monitor.rcWork);
        ::SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CSkinToolBar::SelectOptionLists() {
    if (!dialog_) return;
    ::SendDlgItemMessageA(dialog_, kTextOptionList, CB_SETCURSEL, static_cast<WPARAM>(std::max(0, textOption_)), 0);
    ::SendDlgItemMessageA(dialog_, kIconOptionList, CB_SETCURSEL, static_cast<WPARAM>(iconOption_), 0);
}

void CSkinToolBar::OnOptionChosen(int list) {
    const int chosen = static_cast<int>(::SendDlgItemMessageA(dialog_, list, CB_GETCURSEL, 0, 0));
    if (chosen < 0) return;
    if (list == kTextOptionList) {
        SetTextOption(chosen);
    } else {
        SetIconOption(chosen);
    }
    TellDialogParent();
}

// The window that owns the dialog fits the toolbar's band to the new size.
void CSkinToolBar::TellDialogParent() const {
    HWND parent = dialog_ ? ::GetWindow(dialog_, GW_OWNER) : nullptr;
    if (!parent) parent = topLevel_;
    if (parent) ::PostMessageA(parent, framework::UWM_TOOLBAR_CHANGED, 0, 0);
}

bool CSkinToolBar::InsertAllowed(int index) const {
    TBBUTTON button{};
    if (!::SendMessageA(bar_, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button))) {
        return true;  // after the last button
    }
    return !(button.fsState & TBSTATE_HIDDEN);
}

// The dialog's list of buttons to choose from: the table in order, each
// with its label, cut to the room the dialog gives.
bool CSkinToolBar::FillButtonInfo(const NMHDR& header) const {
    const bool wide = header.code == TBN_GETBUTTONINFOW;
    const int item = wide ? reinterpret_cast<const NMTOOLBARW&>(header).iItem
                          : reinterpret_cast<const NMTOOLBARA&>(header).iItem;
    if (item < 0 || item >= static_cast<int>(table_.size())) return false;
    const ToolButtonInfo& record = table_[static_cast<std::size_t>(item)];
    const std::string label = record.button.fsStyle & BTNS_SEP ? std::string() : record.label;
    if (wide) {
        auto& info = const_cast<NMTOOLBARW&>(reinterpret_cast<const NMTOOLBARW&>(header));
        info.tbButton = record.button;
        if (info.pszText && info.cchText > 0) {
            const int written = ::MultiByteToWideChar(CP_ACP, 0, label.c_str(), static_cast<int>(label.size()),
                                                      info.pszText, info.cchText - 1);
            info.pszText[std::max(0, written)] = L'\0';
        }
    } else {
        auto& info = const_cast<NMTOOLBARA&>(reinterpret_cast<const NMTOOLBARA&>(header));
        info.tbButton = record.button;
        if (info.pszText && info.cchText > 0) {
            std::string cut = label;
            ini_text::CutToBytes(cut, static_cast<std::size_t>(info.cchText - 1));
            std::memcpy(info.pszText, cut.c_str(), cut.size() + 1);
        }
    }
    return true;
}

bool CSkinToolBar::OnCustomizeNotify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case TBN_GETBUTTONINFOA:
    case TBN_GETBUTTONINFOW:
        result = FillButtonInfo(header) ? TRUE : FALSE;
        return true;
    case TBN_QUERYDELETE:
        result = TRUE;
        return true;
    case TBN_QUERYINSERT:
        result = InsertAllowed(reinterpret_cast<const NMTOOLBARA&>(header).iItem) ? TRUE : FALSE;
        return true;
    case TBN_INITCUSTOMIZE:
        result = TBNRF_HIDEHELP;
        return true;
    case TBN_TOOLBARCHANGE:
        SetIconOption(iconOption_);
        result = 0;
        return true;
    case TBN_RESET:
        ResetLayout();
        result = 0;
        return true;
    default:
        return false;
    }
}

void CSkinToolBar::ShowContextMenu() {
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return;
    const std::string text = framework::UiText("toolbar", "10000", "定制工具栏");
    ::AppendMenuA(menu, MF_STRING, kCustomizeCommand, text.c_str());
    POINT at{};
    ::GetCursorPos(&at);
    const UINT chosen =
        framework::TrackPopupAtPoint(menu, at, topLevel_ ? topLevel_ : bar_, TPM_RIGHTBUTTON | TPM_RETURNCMD);
    ::DestroyMenu(menu);
    if (chosen == kCustomizeCommand) Customize();
}

}  // namespace toolbar
