#include "class_tree_view.h"

#include "classtree_res.h"
#include "dialogs_res.h"
#include "framework/context_popup.h"
#include "framework/control_hook.h"
#include "framework/message_box.h"
#include "framework/private_messages.h"
#include "language.h"
#include "setting.h"
#include "tree_drop_target.h"

#include <ole2.h>

#include <vector>

namespace classtree {

namespace {

constexpr DWORD kTreeStyles = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
// Presets of the import wizard after the first-run questions.
constexpr LPARAM kImportFavorites = 1;
constexpr LPARAM kImportDefaults = 2;
// "Normal_Tree", the first popup of the context menus.
constexpr int kTreePopup = 0;

HINSTANCE ProgramModule() { return ::GetModuleHandleA(nullptr); }

}  // namespace

CClassTreeView::CClassTreeView(HWND frame, std::string bookmarkFile)
    : frame_(frame), bookmarkFile_(std::move(bookmarkFile)) {}

CClassTreeView::~CClassTreeView() {
    if (Hwnd()) ::DestroyWindow(Hwnd());
    if (dropper_) dropper_->Release();
}

HWND CClassTreeView::CreateView(HWND parent, const RECT& rect) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    return CreatePaneHost(kClassName, parent, rect);
}

ClassRecord* CClassTreeView::RecordOf(HTREEITEM item) const {
    if (!item || !tree_) return nullptr;
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    if (!::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) return nullptr;
    return reinterpret_cast<ClassRecord*>(info.lParam);
}

ClassRecord* CClassTreeView::SelectedClass() const {
    return tree_ ? RecordOf(TreeView_GetSelection(tree_)) : nullptr;
}

void CClassTreeView::SendToFrame(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (frame_ && ::IsWindow(frame_)) ::SendMessageA(frame_, msg, wParam, lParam);
}

POINT CClassTreeView::CursorPos() const {
    POINT point{};
    if (cursor_) return cursor_();
    ::GetCursorPos(&point);
    return point;
}

HWND CClassTreeView::Owner() const { return frame_ && ::IsWindow(frame_) ? frame_ : Hwnd(); }

// --- creation and destruction ---------------------------------------------------

LRESULT CClassTreeView::OnCreate() {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    tree_ = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | kTreeStyles, 0, 0,
                              client.right, client.bottom, Hwnd(), nullptr, ProgramModule(), nullptr);
    if (!tree_) return -1;
    // Subclassed by replacing its window procedure rather than through the
    // common controls' subclass chain, which looks the chain up by window
    // property on every message: under Wine a round trip to the server each,
    // ten times the cost of the insertion itself when a large file is loaded.
    framework::HookControl<CClassTreeView, &CClassTreeView::OnTreeMessage, &CClassTreeView::treeProc_>(tree_, this);

    images_ = ::ImageList_Create(16, 16, ILC_COLORDDB | ILC_MASK, 5, 1);
    for (int id : {IDI_CLASS, IDI_CLASS_OPEN}) {
        auto icon = static_cast<HICON>(::LoadImageA(ProgramModule(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
        ::ImageList_AddIcon(images_, icon);
        if (icon) ::DestroyIcon(icon);
    }
    TreeView_SetImageList(tree_, images_, TVSIL_NORMAL);

    // Filling the control item by item with repainting off keeps a large
    // collection from showing every insertion.
    ::SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
    store_ = &CBookmarkStore::Instance(this);
    Replay();
    LoadBookmarkFile();
    ::SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(tree_, nullptr, TRUE);

    dropper_ = new CTreeDropTarget(*this);
    dropRegistered_ = SUCCEEDED(::RegisterDragDrop(tree_, dropper_));

    firstRunSteps_ = 1;
    ::PostMessageA(Hwnd(), kAskFirstRunMessage, 0, 0);
    return 0;
}

// The imports the user accepts are posted once both questions are answered,
// so that the first wizard never opens over the second question.
void CClassTreeView::AskFirstRunQuestions() {
    firstRunSteps_ = 0;
    CSetting* settings = CSetting::Instance();
    if (!settings->Other_InDefaultBookmark && !settings->Other_InIEBookmark) return;
    if (store_->TotalBookmarks() != 0) return;
    std::vector<LPARAM> imports;
    if (settings->Other_InDefaultBookmark) {
        const int answer = framework::ShowMessage(Owner(), "mainview", "10000",
                                                  "您是否希望运行导入向导导入默认分类和书签?",
                                                  framework::BoxKind::kHint, MB_YESNO);
        if (!Hwnd()) return;  // the program closed meanwhile
        if (answer == IDYES) imports.push_back(kImportDefaults);
        else settings->Other_InDefaultBookmark = 0;
    }
    if (settings->Other_InIEBookmark) {
        const int answer = framework::ShowMessage(Owner(), "mainview", "10001",
                                                  "您是否希望运行导入向导导入您的IE书签?",
                                                  framework::BoxKind::kHint, MB_YESNO);
        if (!Hwnd()) return;
        if (answer == IDYES) imports.push_back(kImportFavorites);
        else settings->Other_InIEBookmark = 0;
    }
    firstRunSteps_ = static_cast<int>(imports.size());
    for (LPARAM preset : imports) ::PostMessageA(Hwnd(), WM_COMMAND, kCmdImport, preset);
}

void CClassTreeView::OnDestroy() {
    if (dragging_) CancelDrag();
    if (dropRegistered_) ::RevokeDragDrop(tree_);
    dropRegistered_ = false;
    ::KillTimer(Hwnd(), kHoverTimer);
    ::KillTimer(Hwnd(), kJobRedrawTimer);
    if (!store_) return;
    // The control goes with the window: no need to take its items out one by
    // one, and nothing it reports from now on concerns the list.
    ++mirroring_;
    store_->RemoveObserver(this);
    SaveBookmarks();
    store_->ReleaseAll();
    CBookmarkStore::DestroyInstance();
    store_ = nullptr;
    items_.clear();
    TreeView_DeleteAllItems(tree_);
    TreeView_SetImageList(tree_, nullptr, TVSIL_NORMAL);
    if (images_) ::ImageList_Destroy(images_);
    images_ = nullptr;
}

// --- messages -----------------------------------------------------------------------

LRESULT CClassTreeView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_SIZE:
        if (tree_) ::MoveWindow(tree_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (tree_) ::SetFocus(tree_);
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), lParam)) return 0;
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->hwndFrom == tree_ && tree_) return OnNotify(*header);
        break;
    }
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case kAskFirstRunMessage:
        OnStartUp();
        return 0;
    case framework::UWM_TREE_TO_TOP:
        if (tree_) ::SendMessageA(tree_, WM_VSCROLL, SB_TOP, 0);
        return 1;
    case framework::UWM_TREE_AUTOSCROLL:
        OleAutoScroll(wParam);
        return 1;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

bool CClassTreeView::OnTreeMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_KEYDOWN:
        if (wParam == VK_DELETE) {
            OnCommand(kCmdDeleteClass, 0);
            return true;
        }
        if (wParam == VK_F2) {
            OnCommand(kCmdEditClass, 0);
            return true;
        }
        if (wParam == VK_ESCAPE && dragging_) {
            CancelDrag();
            return true;
        }
        return false;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (Alt+Tab, a dialog): the drag ends
        // here, or the next click would drop a category the user let go of.
        if (dragging_) CancelDrag();
        return false;
    case WM_LBUTTONDOWN:
        lastPress_ = Now();
        return false;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return false;
    case WM_LBUTTONUP:
        if (!dragging_) return false;
        OnLeftButtonUp();
        return true;
    case WM_RBUTTONDOWN:
        // The control keeps the release to itself; a posted copy reaches the
        // default handling, which raises the context menu.
        ::PostMessageA(tree_, WM_RBUTTONUP, wParam, lParam);
        return false;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        result = 0;
        return true;
    default:
        return false;
    }
}

LRESULT CClassTreeView::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (mirroring_ == 0) OnSelectionChanged(reinterpret_cast<const NMTREEVIEWA&>(header).itemNew.hItem);
        return 0;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        // A category opened for the first time gets its sub-categories now.
        const auto& info = reinterpret_cast<const NMTREEVIEWA&>(header);
        if (info.action & TVE_EXPAND) Fill(RecordOf(info.itemNew.hItem));
        return FALSE;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
        if (mirroring_ == 0 && store_) {
            // The user opened or closed a category: the store keeps that state.
            HTREEITEM item = reinterpret_cast<const NMTREEVIEWA&>(header).itemNew.hItem;
            const bool expanded = (TreeView_GetItemState(tree_, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
            ++mirroring_;
            store_->SetExpanded(RecordOf(item), expanded);
            --mirroring_;
        }
        return 0;
    case NM_RCLICK: {
        POINT point = CursorPos();
        ::ScreenToClient(tree_, &point);
        // Below the last item the menu applies to no category: only the
        // commands that need none are offered.
        TreeView_SelectItem(tree_, HitTest(point));
        return 1;
    }
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
        OnBeginDrag(reinterpret_cast<const NMTREEVIEWA&>(header));
        return 0;
    default:
        return 0;
    }
}

void CClassTreeView::OnSelectionChanged(HTREEITEM item) {
    if (item) KeepAncestorsOpen(item);
    if (ClassRecord* record = RecordOf(item)) {
        SendToFrame(framework::UWM_CLASS_CHANGED, reinterpret_cast<WPARAM>(record), 0);
    } else {
        SendToFrame(framework::UWM_CLASS_CHANGED, 0, 1);
    }
}

// --- context menu and keys -------------------------------------------------------------

bool CClassTreeView::CommandEnabled(WORD id) const {
    ClassRecord* selected = SelectedClass();
    switch (id) {
    case kCmdAddClass:
    case kCmdImport:
        return true;
    case kCmdAddSubClass:
    case kCmdEditClass:
    case kCmdDeleteClass:
    case kCmdMoveClassTo:
    case kCmdExport:
        return selected != nullptr;
    case kCmdMoveClassUp:
        return selected && selected->PrevSibling();
    case kCmdMoveClassDown:
        return selected && selected->NextSibling();
    default:
        return true;
    }
}

void CClassTreeView::OnInitMenuPopup(HMENU popup) {
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and sub-menus
        ::EnableMenuItem(popup, i, MF_BYPOSITION | (CommandEnabled(static_cast<WORD>(id)) ? MF_ENABLED : MF_GRAYED));
    }
}

void CClassTreeView::OnContextMenu(LPARAM screenPoint) {
    POINT point{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) point = CursorPos();  // from the keyboard
    HMENU menu = ::LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(IDR_CONTEXT_MENUS));
    if (!menu) return;
    HMENU popup = ::GetSubMenu(menu, kTreePopup);
    if (popup) {
        CLanguage::Instance()->TranslateMenu(popup);
        framework::TrackPopupAtPoint(popup, point, Hwnd());
    }
    ::DestroyMenu(menu);
}

}  // namespace classtree
