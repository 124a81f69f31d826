// The bookmark commands and the filing of links that arrive from outside.
//
// A dialog or question may run while links keep arriving (the browser, drops
// on the tree): the queue is not drained while one is open, and after every
// one the rows are found again by their bookmarks, never by remembered
// positions.
#include "bookmark_list_view.h"

#include "bookmark_dlg.h"
#include "framework/message_box.h"
#include "framework/ui_text.h"
#include "homepage_group.h"
#include "list_texts.h"
#include "pending_link_queue.h"
#include "setting.h"
#include "url_opener.h"
#include "transfer_job.h"

#include <memory>

namespace bookmarklist {

namespace {

// Counts a dialog or question of the view while it is open.
class ModalScope {
public:
    explicit ModalScope(int& count) : count_(count) { ++count_; }
    ~ModalScope() { --count_; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    int& count_;
};

}  // namespace

bool CBookmarkListView::OnCommand(WORD id) {
    if (!store_) return false;
    switch (id) {
    case kCmdAddBookmark:
        if (current_) AddIncomingLink({}, {}, nullptr);
        return true;
    case kCmdEditBookmark:
        EditBookmark();
        return true;
    case kCmdDeleteBookmark:
        DeleteSelected();
        return true;
    case kCmdMoveBookmarkUp:
    case kCmdMoveBookmarkDown:
        MoveBookmark(id == kCmdMoveBookmarkUp);
        return true;
    case kCmdSelectAll:
        SelectAll();
        return true;
    case kCmdOpenBookmarks:
        OpenSelected();
        return true;
    case kCmdToHomepageGroup:
        AddSelectedToHomepageGroup();
        return true;
    case kCmdUrlColumn:
        ToggleUrlColumn();
        return true;
    default:
        return false;
    }
}

bool CBookmarkListView::AskReplace(const ClassRecord* category, const BookmarkRecord* found) {
    const std::string pattern = framework::UiText("bookmarkview", "10002", kReplaceQuestion);
    const std::string text =
        SubstituteStrings(pattern, {category->name, found->title, found->url}, kReplaceQuestionLimit);
    SyncRowCount();  // the list behind the question shows every row
    ModalScope modal(modal_);
    return framework::ShowMessageBox(Owner(), text, framework::BoxKind::kWarning, MB_YESNO) == IDYES;
}

BookmarkRecord* CBookmarkListView::FileLink(std::string title, std::string url, ClassRecord* target,
                                            BookmarkRecord* previous) {
    ClassRecord* category = target ? target : current_;
    // With no category to go to, the link is not lost: it gets one.
    if (!category) category = ReceivedLinksCategory();
    if (!category) return nullptr;
    const int focused = FocusedRow();
    const BookmarkRecord* focusedBookmark =
        focused >= 0 && static_cast<std::size_t>(focused) < rows_.size() ? rows_[static_cast<std::size_t>(focused)]
                                                                         : nullptr;
    if (previous && RowOf(previous) >= 0) focusedBookmark = previous;
    std::string remark;
    if (CSetting::Instance()->Other_DisplayAddBookmarkDlg || title.empty() || url.empty()) {
        dialogs::CBookmarkDlg dialog;
        dialog.mode = 0;
        dialog.title = std::move(title);
        dialog.url = std::move(url);
        dialog.category = category;
        dialog.root = store_->Root();
        SyncRowCount();  // the list behind the dialog shows every row
        {
            ModalScope modal(modal_);
            if (dialog.DoModal(Owner()) != IDOK) return nullptr;
        }
        title = std::move(dialog.title);
        url = std::move(dialog.url);
        remark = std::move(dialog.remark);
        category = dialog.category;
        if (!InStore(category)) return nullptr;  // deleted while the dialog was open
    }

    auto record = std::make_unique<BookmarkRecord>(std::move(title), std::move(url), std::move(remark));
    if (BookmarkRecord* found = store_->FindBookmark(category, record.get(), nullptr)) {
        if (!AskReplace(category, found) || !InStore(category)) return nullptr;
        found->url = record->url;
        found->remark = record->remark;
        store_->SetModified(true);
        if (category == current_) {
            const int row = RowOf(found);
            RedrawRow(row);
            if (row >= 0 && row == FocusedRow()) ShowRemarkOf(row);
        }
        return nullptr;
    }

    // After the focused row of the list, when the link goes to the category
    // on display and that bookmark is still there.
    const bool shown = category == current_;
    const int afterRow = shown ? RowOf(focusedBookmark) : -1;
    BookmarkRecord* after = afterRow >= 0 ? rows_[static_cast<std::size_t>(afterRow)] : nullptr;
    BookmarkRecord* added = record.get();
    if (!store_->AddBookmark(category, after, added)) return nullptr;
    record.release();  // the category owns it
    if (shown) InsertRow(afterRow >= 0 ? afterRow + 1 : static_cast<int>(rows_.size()), added);
    return added;
}

ClassRecord* CBookmarkListView::ReceivedLinksCategory() {
    const std::string name = framework::UiText("bookmarkview", "10005", "收到的链接");
    ClassRecord* category = store_->AddTopClass(name);  // or the one of that name
    if (category && !current_) store_->SelectCaret(category);
    return category;
}

void CBookmarkListView::OnLinksPending() {
    if (Hwnd()) ::SetTimer(Hwnd(), kDrainTimer, kDrainDelayMs, nullptr);
}

bool CBookmarkListView::Busy() const { return modal_ > 0 || transfer::CTransferJob::CollectionHeld(); }

// Links are filed for at most one slice of time per tick, so that thousands
// of them never hold the window; the rest wait for the next tick.
void CBookmarkListView::DrainQueue() {
    ::KillTimer(Hwnd(), kDrainTimer);
    if (Busy()) {
        // A dialog of the list is open, or a job holds the collection: the
        // links wait for it.
        OnLinksPending();
        return;
    }
    PendingLinkQueue& queue = PendingLinkQueue::Instance();
    const DWORD start = ::GetTickCount();
    // The links of one drain follow each other after the focused row, in
    // their order of arrival; the control hears of the new rows once.
    BookmarkRecord* previous = nullptr;
    batching_ = true;
    // A question or dialog of one link may outlast the window (the program
    // closed meanwhile): the rest wait in the queue.
    while (Hwnd()) {
        if (::GetTickCount() - start >= kDrainSliceMs) {
            ::SetTimer(Hwnd(), kDrainTimer, USER_TIMER_MINIMUM, nullptr);
            break;
        }
        std::optional<PendingLink> link = queue.PopFront();
        if (!link) break;
        // A target deleted since the link was queued: file it as untargeted.
        ClassRecord* target = InStore(link->target) ? link->target : nullptr;
        if (BookmarkRecord* added = FileLink(std::move(link->title), std::move(link->url), target, previous)) {
            if (RowOf(added) >= 0) previous = added;
        }
    }
    batching_ = false;
    if (!Hwnd()) return;
    SyncRowCount();
    if (previous) SelectOnly(RowOf(previous));
}

void CBookmarkListView::EditBookmark() {
    const int row = FocusedRow();
    if (!current_ || row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
    ClassRecord* shownCategory = current_;
    BookmarkRecord* edited = rows_[static_cast<std::size_t>(row)];
    dialogs::CBookmarkDlg dialog;
    dialog.mode = 1;
    dialog.title = edited->title;
    dialog.url = edited->url;
    dialog.remark = edited->remark;
    dialog.category = current_;
    dialog.root = store_->Root();
    {
        ModalScope modal(modal_);
        if (dialog.DoModal(Owner()) != IDOK) return;
    }
    ClassRecord* chosen = dialog.category;
    if (!InStore(chosen) || current_ != shownCategory || RowOf(edited) < 0) return;

    auto record = std::make_unique<BookmarkRecord>(dialog.title, dialog.url, dialog.remark);
    if (BookmarkRecord* found = store_->FindBookmark(chosen, record.get(), edited)) {
        if (!AskReplace(chosen, found) || current_ != shownCategory || RowOf(edited) < 0) return;
        found->url = record->url;
        found->remark = record->remark;
        RemoveRow(RowOf(edited));
        store_->DiscardBookmark(current_, edited);
        store_->SetModified(true);
        if (chosen == current_) {
            const int foundRow = RowOf(found);
            RedrawRow(foundRow);
            SelectOnly(foundRow);
            ShowRemarkOf(foundRow);
        }
        return;
    }
    if (chosen == current_) {
        edited->title = record->title;
        edited->url = record->url;
        edited->remark = record->remark;
        store_->SetModified(true);
        const int editedRow = RowOf(edited);
        RedrawRow(editedRow);
        ShowRemarkOf(editedRow);
        return;
    }
    RemoveRow(RowOf(edited));
    store_->DiscardBookmark(current_, edited);
    if (store_->AddBookmark(chosen, nullptr, record.get())) record.release();
}

void CBookmarkListView::DeleteSelected() {
    if (!current_ || SelectedCount() == 0) return;
    if (CSetting::Instance()->Other_PromptWhenDelBookmark) {
        ModalScope modal(modal_);
        if (framework::ShowMessage(Owner(), "bookmarkview", "10004", "您确实想删除选中的书签吗?",
                                   framework::BoxKind::kWarning, MB_YESNO) != IDYES) {
            return;
        }
    }
    // The selection as it is now, after the question.
    const std::vector<int> selected = SelectedRows();
    if (selected.empty()) return;
    std::vector<BookmarkRecord*> doomed;
    for (int row : selected) doomed.push_back(rows_[static_cast<std::size_t>(row)]);
    RemoveRows(doomed);
    store_->DiscardBookmarks(current_, doomed);
    if (doomed.size() == 1 && !rows_.empty()) {
        SelectOnly(std::min(selected.front(), static_cast<int>(rows_.size()) - 1));
    }
}

void CBookmarkListView::MoveBookmark(bool up) {
    int row = FocusedRow();
    if (row < 0) {
        const std::vector<int> selected = SelectedRows();
        if (selected.empty()) return;
        row = selected.front();
    }
    const int count = static_cast<int>(rows_.size());
    const int other = up ? row - 1 : row + 1;
    if (!current_ || row >= count || other < 0 || other >= count) return;
    BookmarkRecord* a = rows_[static_cast<std::size_t>(row)];
    BookmarkRecord* b = rows_[static_cast<std::size_t>(other)];
    // The records keep their places; their contents change places.
    std::swap(a->title, b->title);
    std::swap(a->url, b->url);
    std::swap(a->remark, b->remark);
    store_->SetModified(true);
    RedrawRow(row);
    RedrawRow(other);
    // The selection goes with the contents: the moved row's to its new
    // place, the neighbour's to the old one; the rest of it stays.
    const UINT movedState = ListView_GetItemState(list_, row, LVIS_SELECTED);
    const UINT otherState = ListView_GetItemState(list_, other, LVIS_SELECTED);
    ListView_SetItemState(list_, row, otherState, LVIS_SELECTED);
    ListView_SetItemState(list_, other, movedState | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, other, FALSE);
}

void CBookmarkListView::SelectAll() {
    if (!list_ || rows_.empty()) return;
    ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
    ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, FALSE);
}

void CBookmarkListView::AddSelectedToHomepageGroup() {
    CHomepageGroup& group = CHomepageGroup::Instance();
    for (int row : SelectedRows()) {
        const BookmarkRecord* bookmark = rows_[static_cast<std::size_t>(row)];
        group.Add(bookmark->title, bookmark->url);
    }
}

void CBookmarkListView::OpenFocused(LPARAM clientPoint) {
    const int row = FocusedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!::SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect))) return;
    const POINT point{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    if (::PtInRect(&rect, point)) integration::OpenUrl(rows_[static_cast<std::size_t>(row)]->url, SW_SHOW);
}

void CBookmarkListView::OpenSelected() {
    for (int row : SelectedRows()) integration::OpenUrl(rows_[static_cast<std::size_t>(row)]->url, SW_SHOW);
}

void CBookmarkListView::ToggleUrlColumn() {
    CSetting* s = CSetting::Instance();
    s->GUI_BookmarkCol1Show = s->GUI_BookmarkCol1Show ? 0 : 1;
    ApplyViewSettings();
}

}  // namespace bookmarklist
