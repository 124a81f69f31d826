// The program's main window. For now a frame with the main menu and the
// category tree: it holds one lock on the process while it exists, answers a
// second start, restores and records its placement, takes the accelerator
// keys of its table, shows its texts in the chosen language pack and keeps
// the keyboard focus in its view.
#pragma once

#include "framework/message_loop.h"
#include "framework/window_base.h"
#include "mainframe/status_bar.h"
#include "save_notice.h"

#include <windows.h>

#include <atomic>
#include <memory>


namespace classtree {
class CClassTreeView;
}
class CFileWriter;
struct SaveOutcome;

namespace bookmarklist {
class CBookmarkListView;
}

namespace framework {
class CServerModule;
}

struct BookmarkRecord;

class CMainFrame : public framework::CWindowBase,
                   public framework::CMessageFilter,
                   public framework::CIdleHandler {
public:
    static constexpr const char kClassName[] = "quorva_MainFrame";

    // `alreadyRunningMessage` is the registered message a second start
    // broadcasts.
    CMainFrame(framework::CServerModule& module, UINT alreadyRunningMessage);
    ~CMainFrame() override;

    // Creates the window with the title (string 128), menu and accelerator
    // table (128) of `instance`. False when the window could not be made.
    bool CreateMainWindow(HINSTANCE instance);

    // The lock on the process that the window holds until it is destroyed.
    void HoldProcessLock();

    // Shows the window the first time, from the stored placement if complete.
    void InitialShow();

    bool Closing() const { return closing_; }
    bool ShownOnce() const { return shownOnce_; }
    const WINDOWPLACEMENT& Placement() const { return placement_; }
    HWND StatusBar() const { return statusBar_.Hwnd(); }

    bool PreTranslateMessage(MSG* msg) override;
    bool OnIdle(int idleCount) override;

    // Whether a menu command can be carried out now; the menu shows the
    // others greyed.
    bool CommandEnabled(WORD id) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT_PTR kSaveTimer = 1;
    // Posted at creation when the user should reopen the browser.
    static constexpr UINT kShowBrowserHint = WM_APP + 2;
    // Posted by the file writer's thread after each write.
    static constexpr UINT kSaveWritten = WM_APP + 3;
    static constexpr UINT kSavePeriodMs = 5000;
    // Saving the bookmark file (bookmark_saving.cpp).
    void SetUpBookmarkFile();
    void CreateStatusBar();
    void ApplyStatusBarText();
    void SaveBookmarksIfModified();
    void TakeSaveOutcomes();
    void ReportSave(const SaveOutcome& outcome);
    void SaveBeforeClosing();

    LRESULT OnCreate();
    void OnClose();
    void OnDestroy();
    bool OnCommand(WORD id);
    void OnSize(WPARAM type);
    void OnSysCommand(WPARAM command);
    void OnAlreadyRunning();
    void OnInitMenuPopup(HMENU popup);
    void OnActivate(WPARAM state);
    void FocusActiveView();
    void ShowAbout();
    // Language packs (main_frame_texts.cpp): loading them, the main menu
    // with its language submenu and the window title in the active pack, and
    // switching to another pack.
    void LoadLanguagePacks();
    void SetUpBrowserEntries();
    void ShowBrowserHint();
    void ApplyTexts();
    void SelectLanguage(WORD id);
    // Opening many bookmarks (main_frame_opening.cpp).
    void OpenHomepageGroup();
    void OpenRandomBookmarks();
    void SaveHomepageGroupIfModified();
    void RefreshPlacement();
    void StorePlacement();
    void PlaceSplitters();
    void CreateViews();
    void LayoutViews();
    bool RelayCategoryCommand(WORD id);
    bool RelayBookmarkCommand(WORD id);
    void ShowRemark(const BookmarkRecord* bookmark);

    framework::CServerModule& module_;
    const UINT alreadyRunningMessage_;
    HINSTANCE instance_ = nullptr;    // holds the menu and the texts
    HACCEL accelerators_ = nullptr;  // from the resources: freed with the process
    framework::CMessageLoop* loop_ = nullptr;
    bool holdsLock_ = false;
    bool closing_ = false;
    bool shownOnce_ = false;
    WINDOWPLACEMENT placement_{};
    // Set when the window starts to close; every opener thread holds it too
    // and stops at it, also after the window is gone.
    std::shared_ptr<std::atomic<bool>> openersStop_ = std::make_shared<std::atomic<bool>>(false);
    // The child that had the keyboard focus when the window was deactivated.
    HWND lastFocus_ = nullptr;
    // Writes the bookmark file for the periodic save, so that a slow disk
    // never freezes the window. Declared before the views: the tree saves
    // through it until it is destroyed.
    std::unique_ptr<CFileWriter> writer_;
    // The category tree in the left part of the window; right of it the
    // bookmark list above the remark of its selected bookmark.
    std::unique_ptr<classtree::CClassTreeView> classTree_;
    std::unique_ptr<bookmarklist::CBookmarkListView> bookmarkList_;
    HWND remark_ = nullptr;
    CStatusBar statusBar_;
    mainframe::CSaveNoticeRule saveNotice_;
};
