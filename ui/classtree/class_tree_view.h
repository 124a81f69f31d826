// CClassTreeView: the category tree on the left of the main window. The
// bookmark store owns the tree; this view mirrors it into a tree-view control
// through the store's observer events and keeps a record -> item map. Every
// category command, the in-tree drag of a category and drops of links and of
// the list's bookmarks are handled here.
//
// The view is a small window of its own with the tree control as its only
// child, so that the control's notifications reach the view directly; the
// control is subclassed for its keys, mouse and context menu.
#pragma once

#include "background_save.h"
#include "bookmark_file_keeper.h"
#include "bookmark_store.h"
#include "framework/window_base.h"

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace classtree {

class CTreeDropTarget;

// Command ids of the category commands.
enum ClassCommand : WORD {
    kCmdAddClass = 32770,
    kCmdAddSubClass = 32775,
    kCmdEditClass = 32820,
    kCmdDeleteClass = 32795,
    kCmdMoveClassTo = 32965,
    kCmdImport = 32910,
    kCmdExport = 32915,
    kCmdMoveClassUp = 32845,
    kCmdMoveClassDown = 32850,
};

class CClassTreeView : public framework::CWindowBase, private IStoreObserver {
public:
    static constexpr const char kClassName[] = "quorva_ClassTree";
    static constexpr UINT_PTR kHoverTimer = 1;
    static constexpr UINT kHoverDelay = 800;
    static constexpr UINT_PTR kScrollTimer = 2;
    // While an import adds categories, the control is drawn this often
    // instead of after every insertion.
    static constexpr UINT_PTR kJobRedrawTimer = 3;
    static constexpr UINT kJobRedrawMs = 500;
    static constexpr UINT kScrollPeriod = 40;
    static constexpr DWORD kMinDragDelay = 60;
    static constexpr int kTopLevelZone = 16;
    // Posted to the view when it is created: the first-run questions are
    // asked once the message loop runs and the main window is up.
    static constexpr UINT kAskFirstRunMessage = WM_APP + 1;

    // `frame` receives the private messages (the main window, which relays
    // them); `bookmarkFile` is loaded on creation and saved on destruction.
    CClassTreeView(HWND frame, std::string bookmarkFile);
    ~CClassTreeView() override;

    // Creates the view as a child of `parent`.
    HWND CreateView(HWND parent, const RECT& rect);

    // The bookmark file (class_tree_file.cpp). The options (daily backups,
    // clock) are set before the view is created; without them there are no
    // backups. Saving writes the collection when it is modified; saving to
    // another file is the way out when the file itself cannot be written.
    void SetFileOptions(CBookmarkFileKeeper::Options options);
    const BookmarkLoadReport& LoadReport() const { return loadReport_; }
    // With a writer, the periodic save builds the text here and the writer
    // writes it; `writer` must outlive the view. Without one the periodic
    // save is synchronous.
    void SetFileWriter(CFileWriter* writer);
    // The periodic save: hands the changes to the writer (or saves them) and
    // returns the outcomes of the writes that ended, oldest first. With a
    // writer and a `slice`, the text is built for about that long per call:
    // while BookmarkSaveUnderway(), call again soon to go on; drop the half
    // text before anything else may change the collection off this thread.
    std::vector<SaveOutcome> SaveBookmarksInBackground(
        CBackgroundSave::Clock::duration slice = CBackgroundSave::Clock::duration::max());
    bool BookmarkSaveUnderway() const { return background_ && background_->Building(); }
    void AbandonBookmarkSave() {
        if (background_) background_->Abandon();
    }
    // Only the outcomes of the writes that ended.
    std::vector<SaveOutcome> CollectBookmarkSaves();
    // Waits for the writer, then saves synchronously what it did not.
    SaveOutcome SaveBookmarks();
    SaveOutcome SaveBookmarksTo(const std::string& path);
    // Gives up the changes not yet saved (the user chose to lose them).
    void DiscardChanges();

    HWND Tree() const { return tree_; }
    // The selected category, none without a selection.
    ClassRecord* SelectedClass() const;
    // The item of a category when the control holds one. The control holds
    // the top level and the sub-categories of every category that has been
    // opened; the rest is inserted when it is first needed.
    HTREEITEM ItemOf(const ClassRecord* record) const;
    // The item of `record`, a category of the store, inserting the
    // sub-categories of the categories above it first where needed.
    HTREEITEM EnsureItem(ClassRecord* record);
    ClassRecord* RecordOf(HTREEITEM item) const;

    // Enabled state of a context-menu command for the current selection.
    bool CommandEnabled(WORD id) const;

    // Edge scrolling of an OLE drag (wParam 0) and the end of the list's drag
    // (wParam 1); the main window relays UWM_TREE_AUTOSCROLL here.
    void OleAutoScroll(WPARAM what);

    // Tests replace the clock of the drag rules, and the cursor position
    // (screen coordinates) read by the right-click and the edge scrolling.
    void SetTickSource(std::function<DWORD()> ticks) { ticks_ = std::move(ticks); }
    void SetCursorSource(std::function<POINT()> cursor) { cursor_ = std::move(cursor); }

    // In-tree drag state, readable for tests.
    bool Dragging() const { return dragging_; }
    HTREEITEM DropTarget() const { return dropTarget_; }
    int ScrollTicks() const { return scrollTicks_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CTreeDropTarget;

    // Store events.
    void OnInserted(ClassRecord* parent, ClassRecord* after, ClassRecord* record) override;
    void OnRemoved(ClassRecord* record, bool moving) override;
    void OnRenamed(ClassRecord* record) override;
    void OnExpanded(ClassRecord* record, bool expanded) override;
    void OnCaret(ClassRecord* record) override;
    void OnRepaint() override;

    // Filling the control (class_tree_mirror.cpp).
    void Replay();
    HTREEITEM InsertItem(ClassRecord* record, HTREEITEM parentItem, HTREEITEM after);
    void Fill(ClassRecord* record);
    void ShowButton(const ClassRecord* record, bool hasChildren);
    bool InStore(const ClassRecord* record) const;
    void KeepAncestorsOpen(HTREEITEM item);
    void HoldRedrawDuringJob();
    void OnJobRedrawTimer();

    // Creation and destruction.
    LRESULT OnCreate();
    void OnDestroy();
    void AskFirstRunQuestions();
public:
    // Until the first-run questions are answered and the imports they
    // started have closed: other first-start boxes wait for it.
    bool FirstRunPending() const { return firstRunSteps_ > 0; }
private:
    void LoadBookmarkFile();
    void OnStartUp();

    // The subclassed control's messages; true when handled (`result` set).
    bool OnTreeMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnNotify(const NMHDR& header);
    void OnSelectionChanged(HTREEITEM item);
    void OnContextMenu(LPARAM screenPoint);
    void OnInitMenuPopup(HMENU popup);
    void OnKeyDown(WPARAM key);

    // Commands (class_tree_commands.cpp).
    bool OnCommand(WORD id, LPARAM lParam);
    void AddClass(bool asChild);
    void EditClass();
    void DeleteClass();
    void MoveClassTo();
    void ShowExistsMessage();
    void Expand(ClassRecord* record);
    HWND Owner() const;
    // Import and export (class_tree_transfer.cpp): the wizard, one at a time;
    // a request made while one is open runs after it, in order.
    void RunTransferWizard(bool exporting, LPARAM preset);
    void RunWaitingWizard();

    // In-tree drag (class_tree_drag.cpp).
    void OnBeginDrag(const NMTREEVIEWA& info);
    void OnMouseMove(LPARAM clientPoint);
    void OnLeftButtonUp();
    void OnTimer(UINT_PTR id);
    void OnHoverTimer();
    void OnScrollTimer();
    void ReleaseDragImage();
    void EndDrag();
    void CancelDrag();
    void ScrollOneLine(bool up);
    HTREEITEM HitTest(POINT client) const;
    void HighlightDropTarget(HTREEITEM item);
    void ClearDropHighlight();
    void DropHere();

    void SendToFrame(UINT msg, WPARAM wParam, LPARAM lParam) const;
    DWORD Now() const { return ticks_ ? ticks_() : ::GetTickCount(); }
    POINT CursorPos() const;

    HWND frame_;
    std::string bookmarkFile_;
    bool redrawHeld_ = false;  // by a job's changes (HoldRedrawDuringJob)
    // Wizard requests (command id, preset) that came while one was open.
    std::deque<std::pair<WORD, LPARAM>> waitingWizards_;
    // The questions (1) while they wait, then the wizards they started.
    int firstRunSteps_ = 0;
    std::unique_ptr<CBookmarkFileKeeper> file_;
    CFileWriter* writer_ = nullptr;
    std::unique_ptr<CBackgroundSave> background_;  // over `file_` through `writer_`
    BookmarkLoadReport loadReport_;
    HWND tree_ = nullptr;
    WNDPROC treeProc_ = nullptr;  // the control's own window procedure
    HIMAGELIST images_ = nullptr;
    CBookmarkStore* store_ = nullptr;
    // A category in the control: its item, whether its sub-categories are in
    // the control too, and whether the item shows the button of a category
    // with sub-categories.
    struct Shown {
        HTREEITEM item;
        bool filled;
        bool button;
    };
    std::unordered_map<const ClassRecord*, Shown> items_;
    // Set while a store event changes the control, so that the control's
    // own notifications are not taken for the user's.
    int mirroring_ = 0;
    CTreeDropTarget* dropper_ = nullptr;
    bool dropRegistered_ = false;

    // In-tree drag.
    bool dragging_ = false;
    HTREEITEM draggedItem_ = nullptr;
    HTREEITEM dropTarget_ = nullptr;
    HIMAGELIST dragImage_ = nullptr;
    POINT lastMouse_{};
    DWORD lastPress_ = 0;
    int clientTop_ = 0, clientLeft_ = 0, clientBottom_ = 0, clientRight_ = 0;
    int scrollTicks_ = 0;
    std::function<DWORD()> ticks_;
    std::function<POINT()> cursor_;

    // OLE drag over the tree.
    DWORD oleHoverStart_ = 0;
    HTREEITEM savedSelection_ = nullptr;
    bool oleEntered_ = false;
    int lastZone_ = 0;
};

}  // namespace classtree
