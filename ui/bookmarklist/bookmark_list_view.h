// CBookmarkListView: the bookmarks of the category on display, one row per
// bookmark in the category's order, right of the category tree. It owns the
// bookmark commands, the remark shown below it, links dropped on it and the
// queue of links that arrive from outside (the browser, drops on the tree).
//
// The list control holds no data of its own (owner data): row i is the i-th
// bookmark of the view's row vector, a copy of the category's list kept in
// step by every change the view makes, so that a category of 20,000
// bookmarks switches without filling the control. Like the tree, the view is
// a small window with the control as its only child.
#pragma once

#include "bookmark_store.h"
#include "framework/window_base.h"
#include "store_observer.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

namespace bookmarklist {

class CListDropTarget;

// Command ids of the bookmark commands.
enum ListCommand : WORD {
    kCmdOpenBookmarks = 32995,
    kCmdAddBookmark = 32805,
    kCmdEditBookmark = 32825,
    kCmdDeleteBookmark = 32815,
    kCmdMoveBookmarkUp = 32885,
    kCmdMoveBookmarkDown = 32860,
    kCmdSelectAll = 32905,
    kCmdToHomepageGroup = 32980,
    kCmdTitleColumn = 32865,
    kCmdUrlColumn = 32875,
};

class CBookmarkListView : public framework::CWindowBase, private IStoreObserver {
public:
    static constexpr const char kClassName[] = "quorva_BookmarkList";
    static constexpr UINT_PTR kDrainTimer = 1;
    static constexpr UINT kDrainDelayMs = 100;
    static constexpr DWORD kDrainSliceMs = 50;

    // `frame` receives the private messages (the main window relays them).
    explicit CBookmarkListView(HWND frame);
    ~CBookmarkListView() override;

    HWND CreateView(HWND parent, const RECT& rect);
    HWND List() const { return list_; }
    // The column headers in the texts of the language pack now active.
    void RefreshTexts();
    // The list's drop target (not counted for the caller), which the
    // floating drop window hands its drops to; none before creation.
    IDropTarget* DropTarget() const;

    // The category on display (none: the list is empty).
    ClassRecord* Current() const { return current_; }
    // The bookmarks shown, row by row.
    const std::vector<BookmarkRecord*>& Rows() const { return rows_; }
    int FocusedRow() const;
    std::size_t SelectedCount() const;
    std::vector<int> SelectedRows() const;
    // Selects and focuses the row of `bookmark` alone and scrolls it into
    // view; false when the category on display does not hold it.
    bool SelectOnly(const BookmarkRecord* bookmark);

    bool CommandEnabled(WORD id) const;
    // Column widths and the extended styles from the settings.
    void ApplyViewSettings();

    // Files one link: into `target`, else the category on display; through
    // the bookmark dialog when asked to or when a part is missing; a title
    // already in the category asks whether to replace.
    void AddIncomingLink(std::string title, std::string url, ClassRecord* target) {
        FileLink(std::move(title), std::move(url), target, nullptr);
    }

    // Tests replace the clock of the drag rules and the drag itself.
    using DragDropCall = std::function<HRESULT(IDataObject*, IDropSource*, DWORD, DWORD*)>;
    void SetTickSource(std::function<DWORD()> ticks) { ticks_ = std::move(ticks); }
    void SetDragDrop(DragDropCall call) { doDragDrop_ = std::move(call); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CListDropTarget;

    // The category leaves the store: the list must not show it any longer.
    void OnRemoved(ClassRecord* record, bool moving) override;

    LRESULT OnCreate();
    void OnDestroy();
    void ShowClass(ClassRecord* record, bool force);
    void SetRows(std::vector<BookmarkRecord*> rows);
    LRESULT OnNotify(const NMHDR& header);
    void OnGetDisplayInfo(NMLVDISPINFOA& info) const;
    void OnItemChanged(const NMLISTVIEW& change);
    void ShowRemarkOf(int row);
    void OnContextMenu(LPARAM screenPoint);
    void OnHeaderRightClick();
    void OnInitMenuPopup(HMENU popup);

    // The hooked control (keys, mouse and the double-click).
    bool OnListMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Commands (bookmark_list_commands.cpp).
    bool OnCommand(WORD id);
    void EditBookmark();
    void DeleteSelected();
    void MoveBookmark(bool up);
    void SelectAll();
    void AddSelectedToHomepageGroup();
    void OpenFocused(LPARAM clientPoint);
    // Each selected bookmark in the browser, as a double-click opens one.
    void OpenSelected();
    void ToggleUrlColumn();
    // Asks whether `found` in `category` takes the new URL and remark.
    bool AskReplace(const ClassRecord* category, const BookmarkRecord* found);

    // Dragging (bookmark_list_drag.cpp).
    int RowAt(LPARAM clientPoint) const;
    bool OnLeftButtonDown(LPARAM clientPoint);
    void OnMouseMove(LPARAM clientPoint);
    void OnLeftButtonUp();
    void DropBookmarks(DWORD effect, ClassRecord* target);
    DWORD Now() const { return ticks_ ? ticks_() : ::GetTickCount(); }

    // Links from outside. FileLink puts a link after `previous` when that is
    // a row of the list (the link filed before it in one drain), else after
    // the focused row; returns the bookmark added, none when none was.
    BookmarkRecord* FileLink(std::string title, std::string url, ClassRecord* target, BookmarkRecord* previous);
    // The top-level category for links that have nowhere else to go, made
    // when there is none, and shown when no category is.
    ClassRecord* ReceivedLinksCategory();
    void OnLinksPending();
    void DrainQueue();
    // True while a dialog or question of the view is open, or an import or
    // export holds the collection: links wait.
    bool Busy() const;

    // Rows.
    int RowOf(const BookmarkRecord* bookmark) const;
    void InsertRow(int row, BookmarkRecord* bookmark);
    void RemoveRow(int row);
    void RemoveRows(const std::vector<BookmarkRecord*>& leaving);
    void SyncRowCount();
    void RedrawRow(int row);
    void SelectOnly(int row);
    void ClearSelection();
    bool InStore(const ClassRecord* record) const;

    HWND Owner() const;
    void SendToFrame(UINT msg, WPARAM wParam, LPARAM lParam) const;

    HWND frame_;
    HWND list_ = nullptr;
    WNDPROC listProc_ = nullptr;
    CBookmarkStore* store_ = nullptr;
    ClassRecord* current_ = nullptr;
    std::vector<BookmarkRecord*> rows_;
    int modal_ = 0;  // dialogs and questions open now
    bool batching_ = false;  // rows inserted without telling the control yet
    CListDropTarget* dropper_ = nullptr;
    bool dropRegistered_ = false;

    // A press of the left button and the drag it may start.
    bool buttonDown_ = false;
    bool pressedOnSelection_ = false;
    bool dragStarted_ = false;
    bool dragging_ = false;  // inside the drag: the tree's drop may ask
    DWORD pressTime_ = 0;
    LPARAM pressPoint_ = 0;
    std::function<DWORD()> ticks_;
    DragDropCall doDragDrop_;
};

}  // namespace bookmarklist
