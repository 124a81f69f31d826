// The program's main window: the menu bar and the toolbar in a rebar, the
// status bar, the category pane left of the bookmark list and its remark
// pane, and the pin in the title bar. It routes every command to the view
// that carries it out, relays the views' private messages, saves the
// bookmark file on a timer, holds one lock on the process while it exists,
// answers a second start, restores and records its placement and pane
// layout, and shows its texts in the chosen language pack.
#pragma once

#include "framework/menu_bar.h"
#include "framework/message_loop.h"
#include "framework/pane_container.h"
#include "framework/splitter.h"
#include "framework/window_base.h"
#include "mainframe/pin_button.h"
#include "mainframe/status_bar.h"
#include "save_notice.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>


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

namespace toolbar {
class CSkinToolBar;
}

namespace searchui {
class CFindWindow;
class IFindHost;
}

namespace dropwindow {
class CDropWindow;
}

namespace tray {
class CTrayIcon;
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
    HWND Rebar() const { return rebar_; }
    HMENU MainMenu() const { return menuBar_.Menu(); }
    framework::CMenuBar& MenuBar() { return menuBar_; }
    toolbar::CSkinToolBar* ToolBar() const { return toolbar_.get(); }
    const framework::CSplitter& VerticalSplitter() const { return verSplitter_; }
    const framework::CSplitter& HorizontalSplitter() const { return horSplitter_; }
    HWND ClassPane() const { return classPane_.Hwnd(); }
    HWND RemarkPane() const { return remarkPane_.Hwnd(); }
    HWND RemarkEdit() const { return remark_; }
    const CPinButton& Pin() const { return pin_; }
    tray::CTrayIcon* Tray() const { return tray_.get(); }
    bool ClassPaneShown() const;
    bool RemarkPaneShown() const;

    // While a job changes the collection, the timer leaves the file alone;
    // the first tick after the last release saves.
    void HoldSaves() { ++saveHolds_; }
    void ReleaseSaves() {
        if (saveHolds_ > 0) --saveHolds_;
    }
    // The floating drop window (main_frame_drop_window.cpp): opened and
    // closed with "GUI.ShowDragWindow" following; tests give a module
    // without its picture.
    void SetDropWindowShown(bool shown);
    HWND DropWindow() const;
    void SetDropWindowPictureModule(HINSTANCE module) { dropWindowModule_ = module; }
    // Tests choose the backup folder instead of the system's folder browser.
    void SetFolderPicker(std::function<std::string(HWND)> picker) { folderPicker_ = std::move(picker); }

    bool PreTranslateMessage(MSG* msg) override;
    bool OnIdle(int idleCount) override;

    // Whether a menu command can be carried out now; the menu shows the
    // others greyed.
    bool CommandEnabled(WORD id) const;
    // The View menu's check marks.
    bool CommandChecked(WORD id) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT_PTR kSaveTimer = 1;
    // Posted at creation when the user should reopen the browser.
    static constexpr UINT kShowBrowserHint = WM_APP + 2;
    // The hint waits on this timer while another first-start box is open.
    static constexpr UINT_PTR kBrowserHintTimer = 4;
    // Posted by the file writer's thread after each write.
    static constexpr UINT kSaveWritten = WM_APP + 3;
    static constexpr UINT kSavePeriodMs = 5000;
    // While the bookmark file's text is built in slices: one slice of
    // kSaveSliceMs per tick of this timer, whose messages come after input
    // and painting.
    static constexpr UINT_PTR kSaveSliceTimer = 2;
    static constexpr UINT kSaveSliceMs = 8;
    // Saving the bookmark file (bookmark_saving.cpp).
    void SetUpBookmarkFile();
    void CreateStatusBar();
    void ApplyStatusBarText();
    void SaveBookmarksIfModified();
    bool SavesHeld() const;
    void OnSaveSlice();
    void SaveBookmarksNow();
    void TakeSaveOutcomes();
    void ReportSave(const SaveOutcome& outcome);
    void SaveBeforeClosing();

    LRESULT OnCreate();
    bool RefuseCloseDuringModal();
    void OnClose();
    void OnEndSession();
    void StoreWindowState();
    void OnDestroy();
    bool OnCommand(WORD id);
    void OnSize(WPARAM type);
    void OnSysCommand(WPARAM command);
    void OnAlreadyRunning();
    void OnInitMenuPopup(HMENU popup);
    void OnActivate(WPARAM state);
    void FocusActiveView();
    void ShowAbout();
    // The settings dialog (main_frame_settings.cpp).
    void ShowSettings();
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
    // Layout (main_frame_layout.cpp).
    void CreateBars();
    void AddBand(HWND bar, int width, bool newRow);
    void FitToolbarBand();
    void FitBand(UINT bandIndex, HWND bar);
    void PlaceSplitters();
    void StoreSplitters();
    void CreateViews();
    void SelectFirstCategory();
    void LayoutViews();
    void ApplyShowSettings();
    void SetClassPaneShown(bool shown);
    void SetRemarkPaneShown(bool shown);
    void SetPaneShown(framework::CSplitter& splitter, HWND pane, bool paneIsFirst, bool shown);
    void ShowToolbarBand(bool shown);
    // The toolbar's skin, layout and customisation (main_frame_toolbar.cpp).
    void SetUpToolbar();
    void CustomizeToolbar();
    // Edit > Find and Tools > Find duplicates (main_frame_find.cpp).
    class FindHost;
    void OpenFindWindow(bool duplicates);
    void ToggleToolbar();
    void ToggleStatusBar();
    void OnPaneClose(HWND pane);
    // Moves the keyboard focus to the next (or previous) shown pane of the
    // tree, the list and the remark pane; false when the focus is in none.
    bool FocusNextPane(bool forward);
    // Menu prompts and tool tips (main_frame_prompts.cpp).
    void OnMenuSelect(WPARAM wParam, LPARAM lParam);
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // The pin in the title bar.
    bool OnPinMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void RepaintFrame();
    // Closing: the drop window stores its place; the setting keeps saying
    // whether it is shown.
    void CloseDropWindow();
    void ToggleTopMost();
    void ApplyTopMost();
    // The tray icon and hiding to it (main_frame_tray.cpp).
    void SetUpTray();
    void ShowHideMainWindow();
    bool OnTraySysCommand(WPARAM command);
    void OnMinimized();
    bool CanHideToTray() const;
    bool BringModalForwardFor(WORD id);
    // Backup (backup_command.cpp).
    std::string BookmarkFilePath() const;
    void BackUpBookmarkFile();
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
    HWND rebar_ = nullptr;
    framework::CMenuBar menuBar_;
    std::unique_ptr<toolbar::CSkinToolBar> toolbar_;
    bool toolbarShown_ = true;
    framework::CSplitter verSplitter_{framework::CSplitter::Orientation::kVertical, false};
    framework::CSplitter horSplitter_{framework::CSplitter::Orientation::kHorizontal, true};
    framework::CPaneContainer classPane_;
    framework::CPaneContainer remarkPane_;
    bool splittersPlaced_ = false;
    CPinButton pin_;
    int saveHolds_ = 0;
    std::function<std::string(HWND)> folderPicker_;
    std::unique_ptr<dropwindow::CDropWindow> dropWindow_;
    std::unique_ptr<searchui::IFindHost> findHost_;
    std::unique_ptr<searchui::CFindWindow> find_;
    HINSTANCE dropWindowModule_ = nullptr;
    CStatusBar statusBar_;
    mainframe::CSaveNoticeRule saveNotice_;
    std::unique_ptr<tray::CTrayIcon> tray_;
};
