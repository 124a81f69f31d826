#include "find_window.h"

#include <commctrl.h>

#include <algorithm>

#include "bookmark_record.h"
#include "bookmark_store.h"
#include "class_record.h"
#include "framework/context_popup.h"
#include "framework/control_hook.h"
#include "framework/ui_text.h"
#include "url_opener.h"
#include "resource.h"
#include "text_fill.h"
#include "transfer_job.h"

namespace searchui {
namespace {

constexpr char kSection[] = "dlg_find";
constexpr int kListId = 100;
constexpr UINT kOpenCommand = 1;
constexpr UINT kShowCommand = 2;

std::string Text(std::string_view key, std::string_view builtin) { return framework::UiText(kSection, key, builtin); }

void AddColumn(HWND list, int index, const std::string& title, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = width;
    column.pszText = const_cast<char*>(title.c_str());
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

}  // namespace

void CFindWindow::Open(HWND owner, Mode mode) {
    if (!Hwnd()) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hIcon = ::LoadIconA(wc.hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
        if (!RegisterWindowClass(wc)) return;
        // A third of the owner's width and most of its height, beside its left edge.
        RECT frame{};
        ::GetWindowRect(owner, &frame);
        const int width = std::max(480, static_cast<int>(frame.right - frame.left) * 3 / 4);
        const int height = std::max(360, static_cast<int>(frame.bottom - frame.top) * 3 / 4);
        const RECT rect{frame.left + 40, frame.top + 60, frame.left + 40 + width, frame.top + 60 + height};
        if (!Create(wc.hInstance, kClassName, owner, "", WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, 0, rect, nullptr)) {
            return;
        }
        CreateControls();
    }
    mode_ = mode;
    ApplyMode();
    ::ShowWindow(Hwnd(), ::IsIconic(Hwnd()) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(Hwnd());
    ::SetFocus(mode_ == Mode::kSearch ? box_ : list_);
    if (mode_ == Mode::kSearch) ::SendMessageA(box_, EM_SETSEL, 0, -1);
}

void CFindWindow::Close() {
    if (Hwnd()) Destroy();
}

void CFindWindow::CreateControls() {
    font_ = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    label_ = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE, 0, 0, 0, 0, Hwnd(), nullptr,
                               instance, nullptr);
    box_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0,
                             0, Hwnd(), nullptr, instance, nullptr);
    count_ = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_CENTERIMAGE, 0, 0, 0, 0,
                               Hwnd(), nullptr, instance, nullptr);
    list_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                                  LVS_SINGLESEL,
                              0, 0, 0, 0, Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance,
                              nullptr);
    for (HWND control : {label_, box_, count_, list_}) {
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    ::SendMessageA(box_, EM_LIMITTEXT, 255, 0);
    framework::HookControl<CFindWindow, &CFindWindow::OnBoxMessage, &CFindWindow::boxProc_>(box_, this);
    ::SetTimer(Hwnd(), kRefreshTimer, kRefreshMs, nullptr);
}

void CFindWindow::ApplyMode() {
    const bool searching = mode_ == Mode::kSearch;
    ::SetWindowTextA(Hwnd(), searching ? Text("title0", "查找书签").c_str() : Text("title1", "重复的书签").c_str());
    ::SetWindowTextA(label_, Text("10000", "查找:").c_str());
    ::ShowWindow(label_, searching ? SW_SHOW : SW_HIDE);
    ::ShowWindow(box_, searching ? SW_SHOW : SW_HIDE);
    while (::SendMessageA(list_, LVM_DELETECOLUMN, 0, 0)) {
    }
    int column = 0;
    if (!searching) AddColumn(list_, column++, Text("10006", "组"), 0);
    AddColumn(list_, column++, Text("10003", "标题"), 0);
    AddColumn(list_, column++, Text("10004", "网址"), 0);
    AddColumn(list_, column, Text("10005", "分类"), 0);
    Layout();
    Refresh();
}

void CFindWindow::Layout() {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    HDC dc = ::GetDC(Hwnd());
    HGDIOBJ old = ::SelectObject(dc, font_);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    SIZE label{};
    const std::string labelText = Text("10000", "查找:");
    ::GetTextExtentPoint32A(dc, labelText.c_str(), static_cast<int>(labelText.size()), &label);
    ::SelectObject(dc, old);
    ::ReleaseDC(Hwnd(), dc);
    const int margin = metrics.tmHeight / 2;
    const int row = metrics.tmHeight + margin;
    int y = margin;
    if (mode_ == Mode::kSearch) {
        ::MoveWindow(label_, margin, y, label.cx, row, TRUE);
        ::MoveWindow(box_, 2 * margin + label.cx, y, client.right - 3 * margin - label.cx, row, TRUE);
        y += row + margin / 2;
    }
    ::MoveWindow(count_, margin, y, client.right - 2 * margin, row, TRUE);
    y += row;
    ::MoveWindow(list_, margin, y, client.right - 2 * margin, std::max(0, static_cast<int>(client.bottom) - y - margin),
                 TRUE);
    // The columns share the list's width: the group number narrow, then
    // title, URL and category as 35, 40 and 25 parts of the rest.
    RECT inside{};
    ::GetClientRect(list_, &inside);
    int width = std::max(0, static_cast<int>(inside.right) - ::GetSystemMetrics(SM_CXVSCROLL));
    int column = 0;
    if (mode_ == Mode::kDuplicates) {
        const int group = 8 * metrics.tmAveCharWidth;
        ListView_SetColumnWidth(list_, column++, group);
        width = std::max(0, width - group);
    }
    ListView_SetColumnWidth(list_, column++, width * 35 / 100);
    ListView_SetColumnWidth(list_, column++, width * 40 / 100);
    ListView_SetColumnWidth(list_, column, width - width * 35 / 100 - width * 40 / 100);
}

bool CFindWindow::ResultsCurrent() const {
    return !transfer::CTransferJob::CollectionHeld() && store_.ChangeCount() == change_;
}

void CFindWindow::Refresh() {
    if (transfer::CTransferJob::CollectionHeld()) return;
    change_ = store_.ChangeCount();
    results_.clear();
    groupOf_.clear();
    std::string count;
    if (mode_ == Mode::kSearch) {
        const std::string typed = framework::WindowTextOf(box_);
        results_ = search::FindBookmarks(*store_.Root(), typed);
        if (!typed.empty()) {
            count = FillPlaceholders(Text("10001", "找到 %s 个书签。"), {std::to_string(results_.size())});
        }
    } else {
        const auto groups = search::FindDuplicates(*store_.Root());
        for (std::size_t g = 0; g < groups.size(); ++g) {
            for (const search::Found& found : groups[g]) {
                results_.push_back(found);
                groupOf_.push_back(g + 1);
            }
        }
        count = FillPlaceholders(Text("10002", "%s 组重复的书签, 共 %s 个。"),
                                 {std::to_string(groups.size()), std::to_string(results_.size())});
    }
    ::SetWindowTextA(count_, count.c_str());
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ::SendMessageA(list_, LVM_SETITEMCOUNT, results_.size(), LVSICF_NOSCROLL);
    ::InvalidateRect(list_, nullptr, TRUE);
}

void CFindWindow::OnGetDisplayInfo(NMLVDISPINFOA& info) {
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
    info.item.pszText[0] = '\0';
    const auto row = static_cast<std::size_t>(info.item.iItem);
    if (info.item.iItem < 0 || row >= results_.size() || !ResultsCurrent()) return;
    const search::Found& found = results_[row];
    int column = info.item.iSubItem;
    if (mode_ == Mode::kDuplicates) {
        if (column == 0) {
            text_ = std::to_string(groupOf_[row]);
            lstrcpynA(info.item.pszText, text_.c_str(), info.item.cchTextMax);
            return;
        }
        --column;
    }
    if (column == 0) text_ = found.bookmark->title;
    else if (column == 1) text_ = found.bookmark->url;
    else text_ = search::CategoryPath(found.category, store_.Root());
    lstrcpynA(info.item.pszText, text_.c_str(), info.item.cchTextMax);
}

int CFindWindow::SelectedRow() const {
    return static_cast<int>(::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CFindWindow::ShowSelected() {
    int row = SelectedRow();
    if (row < 0 && !results_.empty()) row = 0;
    if (row < 0 || static_cast<std::size_t>(row) >= results_.size() || !ResultsCurrent()) return;
    host_.ShowBookmark(results_[static_cast<std::size_t>(row)].category, results_[static_cast<std::size_t>(row)].bookmark);
}

void CFindWindow::OnResultMenu() {
    const int row = SelectedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= results_.size() || !ResultsCurrent()) return;
    const search::Found found = results_[static_cast<std::size_t>(row)];
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, kOpenCommand, Text("10007", "打开").c_str());
    ::AppendMenuA(menu, MF_STRING, kShowCommand, Text("10010", "在分类中显示").c_str());
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, ID_BOOKMARK_EDIT, Text("10008", "编辑").c_str());
    ::AppendMenuA(menu, MF_STRING, ID_BOOKMARK_DELETE, Text("10009", "删除").c_str());
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const UINT chosen = framework::TrackPopupAtPoint(menu, cursor, Hwnd(), TPM_RIGHTBUTTON | TPM_RETURNCMD);
    ::DestroyMenu(menu);
    if (!chosen || !ResultsCurrent()) return;
    if (chosen == kOpenCommand) {
        integration::OpenUrl(found.bookmark->url, SW_SHOW);
        return;
    }
    // The list's own commands work on its selection: the bookmark is
    // selected there first.
    if (!host_.ShowBookmark(found.category, found.bookmark)) return;
    if (chosen != kShowCommand) host_.RunListCommand(static_cast<WORD>(chosen));
}

bool CFindWindow::OnBoxMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        ShowSelected();
        return true;
    }
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) {
        ::PostMessageA(Hwnd(), WM_CLOSE, 0, 0);  // hidden, as by its close box
        return true;
    }
    if (msg == WM_KEYDOWN && wParam == VK_DOWN && !results_.empty()) {
        ::SetFocus(list_);
        ListView_SetItemState(list_, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        return true;
    }
    if (msg == WM_CHAR && (wParam == '\r' || wParam == '\n' || wParam == 0x1B)) return true;  // no beep
    return false;
}

LRESULT CFindWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == box_ && HIWORD(wParam) == EN_CHANGE) Refresh();
        return 0;
    case WM_TIMER:
        if (wParam == kRefreshTimer && !transfer::CTransferJob::CollectionHeld() && store_.ChangeCount() != change_) {
            Refresh();
        }
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom != list_) break;
        if (header->code == LVN_GETDISPINFOA) OnGetDisplayInfo(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
        if (header->code == NM_DBLCLK) ShowSelected();
        if (header->code == NM_RCLICK) OnResultMenu();
        if (header->code == LVN_KEYDOWN) {
            const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
            if (key == VK_RETURN) ShowSelected();
            if (key == VK_ESCAPE) ::PostMessageA(Hwnd(), WM_CLOSE, 0, 0);
            if (key == VK_DELETE && SelectedRow() >= 0 && ResultsCurrent()) {
                const search::Found found = results_[static_cast<std::size_t>(SelectedRow())];
                if (host_.ShowBookmark(found.category, found.bookmark)) host_.RunListCommand(ID_BOOKMARK_DELETE);
            }
        }
        return 0;
    }
    case WM_CLOSE:
        ::ShowWindow(Hwnd(), SW_HIDE);  // kept with its results for the next Ctrl+F
        return 0;
    case WM_DESTROY:
        ::KillTimer(Hwnd(), kRefreshTimer);
        break;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

}  // namespace searchui
