// Keeping the tree control in step with the store's category tree.
//
// The control is filled lazily: it holds the top level, and the
// sub-categories of a category only once that category has been opened (or
// something below it was selected). Under Wine every insertion costs a search
// of all the control's items, so a large collection would otherwise take
// most of its loading time in the control. A category whose sub-categories
// are not in the control yet is always closed and shows the button of a
// category with children exactly when it has some in the store.
#include "class_tree_view.h"

#include "transfer_job.h"

#include "framework/private_messages.h"

#include <vector>

namespace classtree {

HTREEITEM CClassTreeView::ItemOf(const ClassRecord* record) const {
    const auto found = items_.find(record);
    return found == items_.end() ? nullptr : found->second.item;
}

bool CClassTreeView::InStore(const ClassRecord* record) const {
    if (!store_ || !record) return false;
    // Compares pointers only: `record` may be gone already.
    const ClassRecord* root = store_->Root();
    for (const ClassRecord* node = root->FirstChild(); node; node = NextInPreOrder(node, root)) {
        if (node == record) return true;
    }
    return false;
}

HTREEITEM CClassTreeView::EnsureItem(ClassRecord* record) {
    if (!tree_ || !store_ || !record || record == store_->Root()) return nullptr;
    if (HTREEITEM item = ItemOf(record)) return item;
    // The categories above it, up to the nearest one in the control.
    std::vector<ClassRecord*> path;
    ClassRecord* node = record->Parent();
    while (node && node != store_->Root() && !ItemOf(node)) {
        path.push_back(node);
        node = node->Parent();
    }
    if (!node) return nullptr;  // not in the store's tree
    if (node != store_->Root()) Fill(node);
    for (auto it = path.rbegin(); it != path.rend(); ++it) Fill(*it);
    return ItemOf(record);
}

HTREEITEM CClassTreeView::InsertItem(ClassRecord* record, HTREEITEM parentItem, HTREEITEM after) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parentItem;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(record->name.c_str());
    insert.item.iImage = 0;
    insert.item.iSelectedImage = 1;
    insert.item.cChildren = record->HasChildren() ? 1 : 0;
    insert.item.lParam = reinterpret_cast<LPARAM>(record);
    HTREEITEM item = TreeView_InsertItem(tree_, &insert);
    if (item) items_[record] = Shown{item, false, record->HasChildren()};
    return item;
}

// Inserts the sub-categories of `top`, and below them those of every
// category the store has open, which are opened too.
void CClassTreeView::Fill(ClassRecord* top) {
    const auto found = items_.find(top);
    if (found == items_.end() || found->second.filled) return;
    found->second.filled = true;
    std::vector<HTREEITEM> opened;
    ++mirroring_;
    ShowButton(top, top->HasChildren());
    ClassRecord* node = top->FirstChild();
    while (node) {
        HTREEITEM parentItem = ItemOf(node->Parent());
        HTREEITEM item = parentItem ? InsertItem(node, parentItem, TVI_LAST) : nullptr;
        if (item && node->HasChildren() && node->IsExpanded()) {
            items_[node].filled = true;
            opened.push_back(item);
            node = node->FirstChild();
            continue;
        }
        while (node != top && !node->NextSibling()) node = node->Parent();
        node = node == top ? nullptr : node->NextSibling();
    }
    // Children before their parents, as the store reports expanded states.
    for (auto it = opened.rbegin(); it != opened.rend(); ++it) TreeView_Expand(tree_, *it, TVE_EXPAND);
    --mirroring_;
}

void CClassTreeView::ShowButton(const ClassRecord* record, bool hasChildren) {
    const auto found = items_.find(record);
    if (found == items_.end() || found->second.button == hasChildren) return;
    found->second.button = hasChildren;
    TVITEMA info{};
    info.mask = TVIF_CHILDREN;
    info.hItem = found->second.item;
    info.cChildren = hasChildren ? 1 : 0;
    ::SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

// Shows what the store already holds when the view attaches to it.
void CClassTreeView::Replay() {
    ClassRecord* root = store_->Root();
    for (ClassRecord* node = root->FirstChild(); node; node = NextInPreOrder(node, root)) {
        OnInserted(node->Parent(), node->PrevSibling(), node);
    }
    for (ClassRecord* node = root->FirstChild(); node; node = NextInPreOrder(node, root)) {
        if (node->IsExpanded() && node->HasChildren()) OnExpanded(node, true);
    }
}

void CClassTreeView::OnInserted(ClassRecord* parent, ClassRecord* after, ClassRecord* record) {
    // Already there when an open parent was filled ahead of this event.
    if (!tree_ || !record || ItemOf(record)) return;
    HoldRedrawDuringJob();
    const bool topLevel = !parent || parent == store_->Root();
    HTREEITEM parentItem = TVI_ROOT;
    if (!topLevel) {
        const auto found = items_.find(parent);
        if (found == items_.end()) return;  // below a category not yet filled
        parentItem = found->second.item;
        if (!found->second.filled) {
            // An open category shows its sub-categories at once; a closed
            // one only its button until it is opened.
            if (parent->IsExpanded()) {
                OnExpanded(parent, true);
            } else {
                ShowButton(parent, true);
            }
            return;
        }
    }
    // The control checks a handle given as the place by searching all its
    // items; the ends need no handle.
    HTREEITEM place = TVI_LAST;
    if (!after) {
        place = TVI_FIRST;
    } else if (record->NextSibling()) {
        place = ItemOf(after);
        if (!place) place = TVI_LAST;
    }
    ++mirroring_;
    HTREEITEM item = InsertItem(record, parentItem, place);
    if (item && !topLevel) {
        ShowButton(parent, true);
        // A category shown expanded before it had children stays expanded.
        if (parent->IsExpanded() && !(TreeView_GetItemState(tree_, parentItem, TVIS_EXPANDED) & TVIS_EXPANDED)) {
            TreeView_Expand(tree_, parentItem, TVE_EXPAND);
        }
    }
    --mirroring_;
}

void CClassTreeView::OnRemoved(ClassRecord* record, bool moving) {
    // Still linked: whether its parent keeps other sub-categories.
    ClassRecord* parent = record->Parent();
    const bool parentKeepsChildren = parent && (parent->FirstChild() != record || record->NextSibling());
    HTREEITEM item = ItemOf(record);
    if (!item) {
        if (parent) ShowButton(parent, parentKeepsChildren);
        return;
    }
    const HTREEITEM selectedBefore = TreeView_GetSelection(tree_);
    for (ClassRecord* node = record; node; node = NextInPreOrder(node, record)) items_.erase(node);
    if (dropTarget_ && !RecordOf(dropTarget_)) dropTarget_ = nullptr;
    ++mirroring_;
    TreeView_DeleteItem(tree_, item);
    if (dropTarget_ == item) dropTarget_ = nullptr;
    if (parent) ShowButton(parent, parentKeepsChildren);
    --mirroring_;
    if (draggedItem_ && !ItemOf(RecordOf(draggedItem_))) draggedItem_ = nullptr;
    if (savedSelection_ && !ItemOf(RecordOf(savedSelection_))) savedSelection_ = nullptr;
    // A move selects the category at its new place at once; a deletion tells
    // the list what is selected now, once the control has settled.
    if (!moving && mirroring_ == 0) {
        HTREEITEM selected = TreeView_GetSelection(tree_);
        if (!selected) {
            SendToFrame(framework::UWM_CLASS_CHANGED, 0, 1);
        } else if (selected != selectedBefore) {
            OnSelectionChanged(selected);
        }
    }
}

void CClassTreeView::OnRenamed(ClassRecord* record) {
    HTREEITEM item = ItemOf(record);
    if (!item) return;  // takes its name when it is inserted
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = const_cast<char*>(record->name.c_str());
    ::SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

void CClassTreeView::OnExpanded(ClassRecord* record, bool expanded) {
    HTREEITEM item = ItemOf(record);
    if (!item) return;  // opened as the store says when it is inserted
    ++mirroring_;
    if (expanded) Fill(record);
    TreeView_Expand(tree_, item, expanded ? TVE_EXPAND : TVE_COLLAPSE);
    --mirroring_;
}

void CClassTreeView::OnCaret(ClassRecord* record) {
    if (HTREEITEM item = EnsureItem(record)) {
        TreeView_SelectItem(tree_, item);
        KeepAncestorsOpen(item);
    }
}

// Selecting an item opens the categories above it so that it can be seen;
// the store keeps that state too.
void CClassTreeView::KeepAncestorsOpen(HTREEITEM item) {
    if (!store_) return;
    ++mirroring_;
    for (HTREEITEM parent = TreeView_GetParent(tree_, item); parent; parent = TreeView_GetParent(tree_, parent)) {
        const bool open = (TreeView_GetItemState(tree_, parent, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        ClassRecord* record = RecordOf(parent);
        if (record && record->IsExpanded() != open) store_->SetExpanded(record, open);
    }
    --mirroring_;
}

// An import adds its categories one request at a time; drawing the control
// after each would cost more than the insertions themselves.
void CClassTreeView::HoldRedrawDuringJob() {
    if (redrawHeld_ || !transfer::CTransferJob::CollectionHeld()) return;
    redrawHeld_ = true;
    ::SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
    ::SetTimer(Hwnd(), kJobRedrawTimer, kJobRedrawMs, nullptr);
}

void CClassTreeView::OnJobRedrawTimer() {
    if (!tree_) return;
    ::SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(tree_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    if (transfer::CTransferJob::CollectionHeld()) {
        ::SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
        return;
    }
    ::KillTimer(Hwnd(), kJobRedrawTimer);
    redrawHeld_ = false;
}

void CClassTreeView::OnRepaint() {
    if (tree_) ::RedrawWindow(tree_, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

}  // namespace classtree
