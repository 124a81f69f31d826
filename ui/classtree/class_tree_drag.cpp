// Dragging a category inside the tree: the drag image, the drop highlight,
// opening a category the cursor rests on, scrolling near the edges and the
// move when the button is released.
#include "class_tree_view.h"

#include "auto_scroll.h"

namespace classtree {

HTREEITEM CClassTreeView::HitTest(POINT client) const {
    TVHITTESTINFO hit{};
    hit.pt = client;
    return TreeView_HitTest(tree_, &hit);
}

void CClassTreeView::HighlightDropTarget(HTREEITEM item) {
    TreeView_SelectDropTarget(tree_, item);
    dropTarget_ = item;
}

void CClassTreeView::ClearDropHighlight() {
    // Some tree controls keep the mark when asked for no drop target: take
    // it off the item too.
    HTREEITEM marked = TreeView_GetDropHilight(tree_);
    TreeView_SelectDropTarget(tree_, nullptr);
    if (marked) TreeView_SetItemState(tree_, marked, 0, TVIS_DROPHILITED);
    dropTarget_ = nullptr;
}

void CClassTreeView::OnBeginDrag(const NMTREEVIEWA& info) {
    if (dragging_) return;
    if (Now() - lastPress_ < kMinDragDelay) return;  // a click, not a drag
    HTREEITEM item = HitTest(info.ptDrag);
    if (!item) return;
    draggedItem_ = item;
    dropTarget_ = nullptr;
    dragging_ = true;
    dragImage_ = TreeView_CreateDragImage(tree_, item);
    POINT screen = info.ptDrag;
    ::ClientToScreen(tree_, &screen);
    if (dragImage_) {
        ::ImageList_BeginDrag(dragImage_, 0, 8, 8);
        ::ImageList_DragEnter(::GetDesktopWindow(), screen.x, screen.y);
    }
    ::SetCapture(tree_);
    ::SetTimer(Hwnd(), kScrollTimer, kScrollPeriod, nullptr);
    RECT client{};
    ::GetClientRect(tree_, &client);
    ::MapWindowPoints(tree_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    clientTop_ = client.top;
    clientLeft_ = client.left;
    clientBottom_ = client.bottom;
    clientRight_ = client.right;
}

void CClassTreeView::OnMouseMove(LPARAM clientPoint) {
    ::KillTimer(Hwnd(), kHoverTimer);
    ::SetTimer(Hwnd(), kHoverTimer, kHoverDelay, nullptr);
    lastMouse_ = POINT{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    if (!dragging_) return;
    POINT screen = lastMouse_;
    ::ClientToScreen(tree_, &screen);
    if (dragImage_) {
        ::ImageList_DragMove(screen.x, screen.y);
        ::ImageList_DragShowNolock(FALSE);
    }
    if (HTREEITEM item = HitTest(lastMouse_)) HighlightDropTarget(item);
    if (dragImage_) ::ImageList_DragShowNolock(TRUE);
    // Close to the left edge the category goes to the top level.
    if (screen.x < clientLeft_ + kTopLevelZone) dropTarget_ = nullptr;
}

void CClassTreeView::OnTimer(UINT_PTR id) {
    if (id == kHoverTimer) OnHoverTimer();
    else if (id == kScrollTimer) OnScrollTimer();
    else if (id == kJobRedrawTimer) OnJobRedrawTimer();
}

void CClassTreeView::OnHoverTimer() {
    ::KillTimer(Hwnd(), kHoverTimer);
    if (!dragging_) return;
    if (HTREEITEM item = HitTest(lastMouse_)) {
        ClassRecord* record = RecordOf(item);
        TreeView_SelectItem(tree_, item);
        KeepAncestorsOpen(item);
        if (record && record->HasChildren()) store_->SetExpanded(record, true);
    }
}

void CClassTreeView::ScrollOneLine(bool up) {
    if (dragImage_) ::ImageList_DragShowNolock(FALSE);
    ::SendMessageA(tree_, WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
    HTREEITEM item = TreeView_GetFirstVisible(tree_);
    if (!up && item) {
        const UINT visible = TreeView_GetVisibleCount(tree_);
        for (UINT i = 1; i < visible; ++i) {
            HTREEITEM next = TreeView_GetNextVisible(tree_, item);
            if (!next) break;
            item = next;
        }
    }
    if (item) HighlightDropTarget(item);
    if (dragImage_) ::ImageList_DragShowNolock(TRUE);
}

void CClassTreeView::OnScrollTimer() {
    ++scrollTicks_;
    const POINT cursor = CursorPos();
    if (cursor.y < clientTop_ + 10) {
        if (ScrollsOnTick(scrollTicks_, clientTop_ - cursor.y + 10)) ScrollOneLine(true);
    } else if (cursor.y > clientBottom_ - 10) {
        if (ScrollsOnTick(scrollTicks_, cursor.y - clientBottom_ + 10)) ScrollOneLine(false);
    }
}

void CClassTreeView::DropHere() {
    ClassRecord* dragged = RecordOf(draggedItem_);
    if (!dragged) {
        ::MessageBeep(0);
        return;
    }
    bool moved = false;
    bool duplicate = false;
    ClassRecord* target = RecordOf(dropTarget_);
    if (target) {
        // Onto itself or below itself the store refuses.
        moved = store_->MoveClassTo(duplicate, dragged, target, InsertPos::Last());
        if (moved || duplicate) store_->SetExpanded(target, true);
    } else {
        // To the top level, after the top-level category of the selection.
        ClassRecord* after = SelectedClass();
        while (after && after->Parent() && after->Parent() != store_->Root()) after = after->Parent();
        moved = store_->MoveClassTo(duplicate, dragged, store_->Root(), after ? InsertPos(after) : InsertPos::Last());
    }
    if (!moved) ::MessageBeep(0);
}

void CClassTreeView::ReleaseDragImage() {
    if (!dragImage_) return;
    ::ImageList_DragLeave(::GetDesktopWindow());
    ::ImageList_EndDrag();
    ::ImageList_Destroy(dragImage_);
    dragImage_ = nullptr;
}

void CClassTreeView::OnLeftButtonUp() {
    ReleaseDragImage();
    DropHere();
    EndDrag();
}

void CClassTreeView::EndDrag() {
    dragging_ = false;  // first: the capture going now is no cancel
    ::ReleaseCapture();
    ::KillTimer(Hwnd(), kScrollTimer);
    draggedItem_ = nullptr;
    ClearDropHighlight();
}

void CClassTreeView::CancelDrag() {
    ReleaseDragImage();
    EndDrag();
}

// Edge scrolling while something is dragged over the tree through OLE: also
// called while the cursor is outside the tree, so that the tree keeps
// scrolling towards where the cursor went.
void CClassTreeView::OleAutoScroll(WPARAM what) {
    if (!tree_) return;
    if (what == 1) {
        ClearDropHighlight();
        if (savedSelection_) TreeView_SelectItem(tree_, savedSelection_);
        savedSelection_ = nullptr;
        return;
    }
    if (what != 0 || !oleEntered_) return;
    const POINT cursor = CursorPos();
    RECT client{};
    ::GetClientRect(tree_, &client);
    ::MapWindowPoints(tree_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    int zone = EdgeZone(cursor.x, cursor.y, client.left, client.top, client.right, client.bottom);
    if (zone == 0) zone = lastZone_;
    switch (zone) {
    case 1:
        ++scrollTicks_;
        if (ScrollsOnTick(scrollTicks_, client.top - cursor.y + 10)) ScrollOneLine(true);
        break;
    case 2:
        ++scrollTicks_;
        if (ScrollsOnTick(scrollTicks_, cursor.y - client.bottom + 10)) ScrollOneLine(false);
        break;
    case 3:
        ::SendMessageA(tree_, WM_HSCROLL, SB_LINELEFT, 0);
        break;
    case 4:
        ::SendMessageA(tree_, WM_HSCROLL, SB_LINERIGHT, 0);
        break;
    default:
        break;
    }
    lastZone_ = zone;
}

}  // namespace classtree
