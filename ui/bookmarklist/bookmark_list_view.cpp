#include "bookmark_list_view.h"

#include "classtree_res.h"
#include "framework/context_popup.h"
#include "framework/control_hook.h"
#include "framework/private_messages.h"
#include "framework/ui_text.h"
#include "language.h"
#include "list_drop_target.h"
#include "pending_link_queue.h"
#include "setting.h"

#include <ole2.h>

#include <algorithm>
#include <unordered_set>

namespace bookmarklist {

namespace {

// "Normal_List" and "List_Head", the second and third popups of the context
// menus.
constexpr int kListPopup = 1;
constexpr int kHeaderPopup = 2;
constexpr int kUrlColumnWidthAtInsertion = 380;
constexpr int kNotStored = -1;

HINSTANCE ProgramModule() { return ::GetModuleHandleA(nullptr); }

}  // namespace

CBookmarkListView::CBookmarkListView(HWND frame) : frame_(frame) {}

CBookmarkListView::~CBookmarkListView() {
    if (Hwnd()) ::DestroyWindow(Hwnd());
    if (dropper_) {
        dropper_->Detach();
        dropper_->Release();
    }
}

IDropTarget* CBookmarkListView::DropTarget() const { return dropper_; }

HWND CBookmarkListView::CreateView(HWND parent, const RECT& rect) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    return CreatePaneHost(kClassName, parent, rect);
}

LRESULT CBookmarkListView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_SIZE:
        if (list_) ::MoveWindow(list_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (list_) ::SetFocus(list_);
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam))) return 0;
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && list_ && (header->hwndFrom == list_ || ::GetParent(header->hwndFrom) == list_)) {
            return OnNotify(*header);
        }
        break;
    }
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kDrainTimer) DrainQueue();
        return 0;
    case framework::UWM_CLASS_CHANGED:
        ShowClass(reinterpret_cast<ClassRecord*>(wParam), lParam != 0);
        return 0;
    case framework::UWM_LINKS_PENDING:
        OnLinksPending();
        return 0;
    case framework::UWM_DROP_BOOKMARKS:
        DropBookmarks(static_cast<DWORD>(wParam), reinterpret_cast<ClassRecord*>(lParam));
        return 1;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

LRESULT CBookmarkListView::OnCreate() {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                        LVS_OWNERDATA;
    list_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, 0, 0, client.right, client.bottom, Hwnd(),
                              nullptr, ProgramModule(), nullptr);
    if (!list_) return -1;
    framework::HookControl<CBookmarkListView, &CBookmarkListView::OnListMessage, &CBookmarkListView::listProc_>(list_,
                                                                                                            this);

    CSetting* s = CSetting::Instance();
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = s->GUI_BookmarkCol0Width != kNotStored ? s->GUI_BookmarkCol0Width : 200;
    ::SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = kUrlColumnWidthAtInsertion;
    ::SendMessageA(list_, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    RefreshTexts();
    ApplyViewSettings();

    store_ = &CBookmarkStore::Instance();
    store_->AddObserver(this);
    dropper_ = new CListDropTarget(*this);
    dropRegistered_ = SUCCEEDED(::RegisterDragDrop(list_, dropper_));
    // Links that arrived before the list existed are taken now, not only
    // when the next one comes.
    if (!PendingLinkQueue::Instance().Empty()) OnLinksPending();
    return 0;
}

void CBookmarkListView::RefreshTexts() {
    if (!list_) return;
    const std::string texts[] = {framework::UiText("bookmarkview", "10000", "标题"),
                                 framework::UiText("bookmarkview", "10001", "网址")};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<char*>(texts[i].c_str());
        ::SendMessageA(list_, LVM_SETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

void CBookmarkListView::OnDestroy() {
    ::KillTimer(Hwnd(), kDrainTimer);
    if (dropRegistered_) ::RevokeDragDrop(list_);
    dropRegistered_ = false;
    if (store_) store_->RemoveObserver(this);
    CSetting* s = CSetting::Instance();
    if (list_) {
        s->GUI_BookmarkCol0Width = ListView_GetColumnWidth(list_, 0);
        if (s->GUI_BookmarkCol1Show) s->GUI_BookmarkCol1Width = ListView_GetColumnWidth(list_, 1);
    }
    rows_.clear();
    current_ = nullptr;
}

void CBookmarkListView::ApplyViewSettings() {
    if (!list_) return;
    CSetting* s = CSetting::Instance();
    ListView_SetColumnWidth(list_, 1, s->GUI_BookmarkCol1Show ? s->GUI_BookmarkCol1Width : 0);
    DWORD extended = 0;
    if (s->GUI_BookmarkViewFullRowSel) extended |= LVS_EX_FULLROWSELECT;
    if (s->GUI_BoolmarkViewShowLine) extended |= LVS_EX_GRIDLINES;
    ListView_SetExtendedListViewStyleEx(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, extended);
}

void CBookmarkListView::OnRemoved(ClassRecord* record, bool moving) {
    if (moving || !current_) return;
    for (const ClassRecord* c = current_; c; c = c->Parent()) {
        if (c == record) {
            ShowClass(nullptr, true);
            return;
        }
    }
}

void CBookmarkListView::ShowClass(ClassRecord* record, bool force) {
    if (!force && record == current_) return;
    current_ = record;
    SetRows(record ? record->bookmarks : std::vector<BookmarkRecord*>{});
    SendToFrame(framework::UWM_SHOW_REMARK, 0, 0);
    if (!rows_.empty()) SelectOnly(0);
}

void CBookmarkListView::SetRows(std::vector<BookmarkRecord*> rows) {
    rows_ = std::move(rows);
    if (!list_) return;
    // Emptied first, the control drops its selection and focus at once
    // instead of row by row.
    ::SendMessageA(list_, LVM_SETITEMCOUNT, 0, 0);
    ::SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

LRESULT CBookmarkListView::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOA:
        OnGetDisplayInfo(*reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header)));
        return 0;
    case LVN_ITEMCHANGED:
        OnItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
        return 0;
    case LVN_ODSTATECHANGED:
        ShowRemarkOf(FocusedRow());
        return 0;
    case NM_RCLICK:
        if (header.hwndFrom != list_) {
            OnHeaderRightClick();
            return 1;
        }
        return 0;
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW: {
        // The hidden URL column cannot be dragged open.
        const auto& track = reinterpret_cast<const NMHEADERA&>(header);
        return track.iItem == 1 && !CSetting::Instance()->GUI_BookmarkCol1Show ? TRUE : FALSE;
    }
    default:
        return 0;
    }
}

void CBookmarkListView::OnGetDisplayInfo(NMLVDISPINFOA& info) const {
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
    const int row = info.item.iItem;
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) {
        info.item.pszText[0] = '\0';
        return;
    }
    const std::string& text = info.item.iSubItem == 0 ? rows_[static_cast<std::size_t>(row)]->title
                                                      : rows_[static_cast<std::size_t>(row)]->url;
    const std::size_t room = static_cast<std::size_t>(info.item.cchTextMax) - 1;
    std::size_t length = std::min(text.size(), room);
    // A cut never leaves half a character behind.
    if (length < text.size()) {
        std::size_t whole = 0;
        for (const char* p = text.data(); p < text.data() + length;) {
            const char* next = ::CharNextA(p);
            if (next > text.data() + length || next == p) break;
            whole = static_cast<std::size_t>(next - text.data());
            p = next;
        }
        length = whole;
    }
    text.copy(info.item.pszText, length);
    info.item.pszText[length] = '\0';
}

// The remark shown is that of the row that became selected; none when a row
// (or, for item -1, every row) lost its selection.
void CBookmarkListView::OnItemChanged(const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE)) return;
    const bool nowSelected = (change.uNewState & LVIS_SELECTED) != 0;
    const bool wasSelected = (change.uOldState & LVIS_SELECTED) != 0;
    if (nowSelected == wasSelected) return;
    if (nowSelected && change.iItem >= 0) {
        ShowRemarkOf(change.iItem);
    } else {
        SendToFrame(framework::UWM_SHOW_REMARK, 0, 0);
    }
}

void CBookmarkListView::ShowRemarkOf(int row) {
    const bool valid = row >= 0 && static_cast<std::size_t>(row) < rows_.size();
    SendToFrame(framework::UWM_SHOW_REMARK, valid ? reinterpret_cast<WPARAM>(rows_[static_cast<std::size_t>(row)]) : 0,
                0);
}

int CBookmarkListView::FocusedRow() const {
    return list_ ? static_cast<int>(::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED))
                 : -1;
}

std::size_t CBookmarkListView::SelectedCount() const {
    return list_ ? static_cast<std::size_t>(::SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

std::vector<int> CBookmarkListView::SelectedRows() const {
    std::vector<int> rows;
    if (!list_) return rows;
    const std::size_t count = SelectedCount();
    rows.reserve(count);
    if (count == rows_.size()) {
        // Everything (select all): no need to ask row by row.
        for (std::size_t row = 0; row < count; ++row) rows.push_back(static_cast<int>(row));
        return rows;
    }
    for (int row = -1; rows.size() < count &&
                       (row = static_cast<int>(
                            ::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;) {
        rows.push_back(row);
    }
    return rows;
}

bool CBookmarkListView::CommandEnabled(WORD id) const {
    if (!current_) return false;
    const bool anySelected = SelectedCount() > 0;
    const int first = anySelected ? static_cast<int>(::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                                     LVNI_SELECTED))
                                  : -1;
    const int count = static_cast<int>(rows_.size());
    switch (id) {
    case kCmdAddBookmark:
        return true;
    case kCmdOpenBookmarks:
    case kCmdEditBookmark:
    case kCmdDeleteBookmark:
    case kCmdToHomepageGroup:
        return anySelected;
    case kCmdMoveBookmarkUp:
        return first > 0;
    case kCmdMoveBookmarkDown:
        return first >= 0 && count >= 2 && first < count - 1;
    case kCmdSelectAll:
        return count > 0;
    default:
        return false;
    }
}

void CBookmarkListView::OnInitMenuPopup(HMENU popup) {
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;
        bool enabled = CommandEnabled(static_cast<WORD>(id));
        if (id == kCmdUrlColumn) enabled = true;
        if (id == kCmdTitleColumn) enabled = false;
        ::EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

namespace {

// Shows popup `index` of the context menus at `point`, x kept inside the
// nearest monitor's work area, owned by `owner`.
void TrackContextPopup(HWND owner, int index, POINT point, bool checkUrlColumn) {
    HMENU menu = ::LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(IDR_CONTEXT_MENUS));
    if (!menu) return;
    if (HMENU popup = ::GetSubMenu(menu, index)) {
        CLanguage::Instance()->TranslateMenu(popup);
        // "Open" is what a double-click does: the menu's default, in bold.
        if (!checkUrlColumn) ::SetMenuDefaultItem(popup, kCmdOpenBookmarks, FALSE);
        if (checkUrlColumn) {
            ::CheckMenuItem(popup, kCmdUrlColumn,
                            MF_BYCOMMAND | (CSetting::Instance()->GUI_BookmarkCol1Show ? MF_CHECKED : MF_UNCHECKED));
        }
        framework::TrackPopupAtPoint(popup, point, owner);
    }
    ::DestroyMenu(menu);
}

}  // namespace

void CBookmarkListView::OnContextMenu(LPARAM screenPoint) {
    POINT point{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) ::GetCursorPos(&point);
    // A right-click on the header has its own menu.
    HWND header = ListView_GetHeader(list_);
    RECT headerRect{};
    if (header && ::GetWindowRect(header, &headerRect) && ::PtInRect(&headerRect, point)) return;
    TrackContextPopup(Hwnd(), kListPopup, point, false);
}

void CBookmarkListView::OnHeaderRightClick() {
    HWND header = ListView_GetHeader(list_);
    if (!header) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    HDHITTESTINFO hit{};
    hit.pt = cursor;
    ::ScreenToClient(header, &hit.pt);
    hit.pt.x += ::GetScrollPos(list_, SB_HORZ);
    if (::SendMessageA(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || !(hit.flags & HHT_ONHEADER)) {
        return;
    }
    TrackContextPopup(Hwnd(), kHeaderPopup, cursor, true);
}

bool CBookmarkListView::OnListMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_NCDESTROY:
        list_ = nullptr;
        return false;
    case WM_KEYDOWN:
        if (wParam == VK_DELETE) {
            OnCommand(kCmdDeleteBookmark);
            return true;
        }
        if (wParam == 'A' && (::GetKeyState(VK_CONTROL) & 0x8000)) {
            OnCommand(kCmdSelectAll);
            return true;
        }
        if (wParam == VK_RETURN) {
            OpenSelected();
            return true;
        }
        if (wParam == VK_F2) {
            OnCommand(kCmdEditBookmark);
            return true;
        }
        return false;
    case WM_CHAR:
        return wParam == '\r';  // no beep after Enter
    case WM_LBUTTONDOWN:
        if (OnLeftButtonDown(lParam)) {
            result = 0;
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return false;
    case WM_LBUTTONUP:
        OnLeftButtonUp();
        return false;
    case WM_LBUTTONDBLCLK:
        result = ::CallWindowProcA(listProc_, list_, msg, wParam, lParam);
        OpenFocused(lParam);
        return true;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        result = 0;
        return true;
    default:
        return false;
    }
}

bool CBookmarkListView::SelectOnly(const BookmarkRecord* bookmark) {
    const int row = RowOf(bookmark);
    if (row < 0 || !list_) return false;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, row, FALSE);
    return true;
}

int CBookmarkListView::RowOf(const BookmarkRecord* bookmark) const {
    const auto found = std::find(rows_.begin(), rows_.end(), bookmark);
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

void CBookmarkListView::InsertRow(int row, BookmarkRecord* bookmark) {
    row = std::clamp(row, 0, static_cast<int>(rows_.size()));
    rows_.insert(rows_.begin() + row, bookmark);
    if (!list_) return;
    // The control keeps selection and focus by row: LVM_INSERTITEM on an
    // owner-data list moves them along.
    LVITEMA item{};
    item.iItem = row;
    ::SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    // Setting the count costs the control a walk of every row: a batch of
    // insertions sets it once at its end (SyncRowCount).
    if (!batching_) SyncRowCount();
}

void CBookmarkListView::SyncRowCount() {
    if (!list_) return;
    ::SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    ::InvalidateRect(list_, nullptr, FALSE);
}

void CBookmarkListView::RemoveRow(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
    rows_.erase(rows_.begin() + row);
    if (!list_) return;
    ListView_DeleteItem(list_, row);
    ::InvalidateRect(list_, nullptr, FALSE);
}

// Many rows at once: the control is emptied and given the new count, which
// drops its selection and focus in one step instead of row by row; the
// rows at the top of the view stay where they were.
void CBookmarkListView::RemoveRows(const std::vector<BookmarkRecord*>& leaving) {
    const std::unordered_set<const BookmarkRecord*> gone(leaving.begin(), leaving.end());
    rows_.erase(std::remove_if(rows_.begin(), rows_.end(), [&](const BookmarkRecord* b) { return gone.count(b) != 0; }),
                rows_.end());
    if (!list_) return;
    const int top = ListView_GetTopIndex(list_);
    RECT first{LVIR_BOUNDS, 0, 0, 0};
    const bool measured = ::SendMessageA(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)) != 0;
    ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list_, LVM_SETITEMCOUNT, 0, 0);
    ::SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
    const int keepTop = std::min(top, static_cast<int>(rows_.size()) - 1);
    const int nowTop = ListView_GetTopIndex(list_);
    if (measured && keepTop >= 0 && keepTop != nowTop) {
        ListView_Scroll(list_, 0, (keepTop - nowTop) * (first.bottom - first.top));
    }
    ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
    SendToFrame(framework::UWM_SHOW_REMARK, 0, 0);
}

// Clears the selection: a single selected row by itself, since on an
// owner-data list the control's "every row" walks all of them.
void CBookmarkListView::ClearSelection() {
    if (::SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0) > 1) {
        ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
        ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list_, nullptr, FALSE);
        return;
    }
    for (int row; (row = static_cast<int>(::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                           LVNI_SELECTED))) >= 0;) {
        ListView_SetItemState(list_, row, 0, LVIS_SELECTED);
        if (ListView_GetItemState(list_, row, LVIS_SELECTED) & LVIS_SELECTED) break;  // the control refused
    }
}

void CBookmarkListView::RedrawRow(int row) {
    if (list_ && row >= 0) ListView_RedrawItems(list_, row, row);
}

void CBookmarkListView::SelectOnly(int row) {
    if (!list_) return;
    ClearSelection();
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, row, FALSE);
}

// Compares pointers only: `record` may be gone already (a queued link's
// target deleted before the link was taken).
bool CBookmarkListView::InStore(const ClassRecord* record) const {
    if (!store_ || !record) return false;
    const ClassRecord* root = store_->Root();
    for (const ClassRecord* node = root->FirstChild(); node; node = NextInPreOrder(node, root)) {
        if (node == record) return true;
    }
    return false;
}

HWND CBookmarkListView::Owner() const {
    HWND root = ::GetAncestor(Hwnd(), GA_ROOT);
    return root ? root : Hwnd();
}

void CBookmarkListView::SendToFrame(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (frame_ && ::IsWindow(frame_)) ::SendMessageA(frame_, msg, wParam, lParam);
}

}  // namespace bookmarklist
