// Dragging the selected bookmarks onto a category of the tree, and what the
// tree's drop asks of the list afterwards.
#include "bookmark_list_view.h"

#include "framework/private_messages.h"
#include "list_drag_objects.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

namespace bookmarklist {

namespace {

constexpr DWORD kMinDragDelayMs = 60;

}  // namespace

int CBookmarkListView::RowAt(LPARAM clientPoint) const {
    LVHITTESTINFO hit{};
    hit.pt = POINT{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    const int row = static_cast<int>(::SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 && (hit.flags & LVHT_ONITEM) ? row : -1;
}

// A press on a selected row keeps a selection of several rows: it may be the
// start of a drag.
bool CBookmarkListView::OnLeftButtonDown(LPARAM clientPoint) {
    buttonDown_ = true;
    dragStarted_ = false;
    pressedOnSelection_ = false;
    pressTime_ = Now();
    pressPoint_ = clientPoint;
    const int row = RowAt(clientPoint);
    if (row < 0 || !(ListView_GetItemState(list_, row, LVIS_SELECTED) & LVIS_SELECTED)) return false;
    ::SetFocus(list_);
    ListView_SetItemState(list_, row, LVIS_FOCUSED, LVIS_FOCUSED);
    pressedOnSelection_ = true;
    return true;
}

void CBookmarkListView::OnMouseMove(LPARAM clientPoint) {
    if (!buttonDown_ || !pressedOnSelection_ || dragStarted_) return;
    if (Now() - pressTime_ < kMinDragDelayMs || clientPoint == pressPoint_) return;
    dragStarted_ = true;
    auto* data = new CListDataObject;
    auto* source = new CListDropSource(frame_);
    FORMATETC format{BookmarkClipboardFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    data->SetData(&format, &medium, TRUE);
    DWORD effect = DROPEFFECT_NONE;
    dragging_ = true;
    const HRESULT result = doDragDrop_ ? doDragDrop_(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect)
                                       : ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    dragging_ = false;
    data->Release();
    source->Release();
    // The tree puts back its selection and drop highlight.
    if (SUCCEEDED(result)) SendToFrame(framework::UWM_TREE_AUTOSCROLL, 1, 0);
    buttonDown_ = false;
}

void CBookmarkListView::OnLeftButtonUp() {
    if (!dragStarted_ && pressedOnSelection_ && list_) {
        const int row = RowAt(pressPoint_);
        if (row >= 0) SelectOnly(row);
    }
    buttonDown_ = pressedOnSelection_ = dragStarted_ = false;
}

// The tree took the list's selected bookmarks: into `target`, moved or
// copied. Only during the list's own drag, and dropping on the category on
// display changes nothing.
void CBookmarkListView::DropBookmarks(DWORD effect, ClassRecord* target) {
    if (!dragging_ || !current_ || !target || target == current_ || !InStore(target)) return;
    const bool move = effect == DROPEFFECT_MOVE;
    ClassRecord* shown = current_;
    std::vector<BookmarkRecord*> dragged;
    for (int row : SelectedRows()) dragged.push_back(rows_[static_cast<std::size_t>(row)]);
    // Only a question lets the list or the store change: after one, the
    // target is checked again and the rows are found again by their
    // bookmarks (a bookmark no longer shown is left alone).
    bool asked = false;
    bool checkShown = false;
    std::unordered_set<const BookmarkRecord*> shownAfterQuestion;
    std::vector<BookmarkRecord*> leaving;
    for (BookmarkRecord* bookmark : dragged) {
        if (asked) {
            if (current_ != shown || !InStore(target)) break;
            shownAfterQuestion = std::unordered_set<const BookmarkRecord*>(rows_.begin(), rows_.end());
            checkShown = true;
            asked = false;
        }
        if (checkShown && shownAfterQuestion.count(bookmark) == 0) continue;
        auto copy = std::make_unique<BookmarkRecord>(bookmark->title, bookmark->url, bookmark->remark);
        if (BookmarkRecord* found = store_->FindBookmark(target, copy.get(), bookmark)) {
            asked = true;
            if (!AskReplace(target, found) || current_ != shown || !InStore(target)) continue;
            found->url = copy->url;
            found->remark = copy->remark;
            store_->SetModified(true);
            if (move) leaving.push_back(bookmark);
            continue;
        }
        if (!store_->AddBookmark(target, nullptr, copy.get())) continue;
        copy.release();
        if (move) leaving.push_back(bookmark);
    }
    if (current_ != shown || leaving.empty()) return;
    // A later question may have taken some of them off the list already.
    const std::unordered_set<const BookmarkRecord*> stillShown(rows_.begin(), rows_.end());
    leaving.erase(std::remove_if(leaving.begin(), leaving.end(),
                                 [&](const BookmarkRecord* b) { return stillShown.count(b) == 0; }),
                  leaving.end());
    if (leaving.empty()) return;
    RemoveRows(leaving);
    store_->DiscardBookmarks(current_, leaving);
}

}  // namespace bookmarklist
