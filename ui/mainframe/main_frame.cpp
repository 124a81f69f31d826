#include "mainframe/main_frame.h"

#include "about_dlg.h"
#include "bookmark_list_view.h"
#include "drop_window.h"
#include "find_window.h"
#include "bookmark_store.h"
#include "browser_entries.h"
#include "class_tree_view.h"
#include "framework/private_messages.h"
#include "framework/program_folder.h"
#include "framework/server_module.h"
#include "framework/unique_handle.h"
#include "homepage_group.h"
#include "language.h"
#include "mainframe/placement.h"
#include "url_opener.h"
#include "toolbar/skin_toolbar.h"
#include "tray_icon.h"
#include "transfer_job.h"
#include "resource.h"
#include "setting.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr int kNotStored = -1;
constexpr int kFrameTypeMaximized = 3;
constexpr int kFrameTypeNormal = 1;

}  // namespace

CMainFrame::CMainFrame(framework::CServerModule& module, UINT alreadyRunningMessage)
    : module_(module), alreadyRunningMessage_(alreadyRunningMessage) {
    placement_.length = sizeof placement_;
}

CMainFrame::~CMainFrame() {
    // Destroy while the derived part still exists, so that WM_DESTROY gives
    // the lock back and leaves the message loop.
    if (Hwnd()) ::DestroyWindow(Hwnd());
    bookmarkList_.reset();
    classTree_.reset();
}

bool CMainFrame::CreateMainWindow(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                 LR_SHARED));
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterWindowClass(wc)) return false;

    instance_ = instance;
    char title[256] = "";
    ::LoadStringA(instance, IDR_MAINFRAME, title, sizeof title);
    framework::UniqueMenu menu(::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME)));
    accelerators_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));

    const RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    if (!Create(instance, kClassName, nullptr, title, style, exStyle, rect, menu.get())) return false;
    menu.release();  // the window destroys its menu
    return true;
}

void CMainFrame::HoldProcessLock() {
    if (holdsLock_ || !Hwnd()) return;
    module_.Lock();
    holdsLock_ = true;
}

LRESULT CMainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == alreadyRunningMessage_ && msg != 0) {
        OnAlreadyRunning();
        return 0;
    }
    if (tray_ && tray_->HandleMessage(msg, wParam, lParam)) return 0;
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_CLOSE:
        if (RefuseCloseDuringModal()) return 0;
        OnClose();
        break;  // the default handling destroys the window
    case WM_ENDSESSION:
        if (wParam) OnEndSession();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_COMMAND:
        // An accelerator of a command that cannot be carried out now does
        // nothing.
        if (HIWORD(wParam) == 1 && !lParam && !CommandEnabled(LOWORD(wParam))) return 0;
        if (BringModalForwardFor(LOWORD(wParam))) return 0;
        if (LOWORD(wParam) == ID_PANE_CLOSE) {
            OnPaneClose(reinterpret_cast<HWND>(lParam));
            return 0;
        }
        if (OnCommand(LOWORD(wParam))) return 0;
        if (RelayCategoryCommand(LOWORD(wParam))) return 0;
        if (RelayBookmarkCommand(LOWORD(wParam))) return 0;
        break;
    case WM_MOVE:
        RefreshPlacement();
        break;
    case WM_TIMER:
        // Nothing is saved while an import or export changes the
        // collection; the first tick after it saves.
        if (wParam == kSaveTimer && !SavesHeld()) {
            SaveBookmarksIfModified();
            SaveHomepageGroupIfModified();
        }
        if (wParam == kSaveSliceTimer) OnSaveSlice();
        if (wParam == kBrowserHintTimer) {
            ::KillTimer(Hwnd(), kBrowserHintTimer);
            ShowBrowserHint();
        }
        break;
    case kSaveWritten:
        TakeSaveOutcomes();
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) OnMinimized();
        OnSize(wParam);
        LayoutViews();
        // The title bar is drawn again after a size change, the pin with it.
        pin_.Place(Hwnd());
        return 0;
    case WM_THEMECHANGED:
        pin_.Place(Hwnd());
        RepaintFrame();
        break;
    case WM_MENUSELECT:
        OnMenuSelect(wParam, lParam);
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
        break;
    }
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCMOUSELEAVE: {
        LRESULT result = 0;
        if (OnPinMessage(msg, wParam, lParam, result)) return result;
        break;
    }
    case framework::UWM_TOOLBAR_CHANGED:
        FitToolbarBand();
        return 1;
    case WM_SYSCOMMAND:
        if (OnTraySysCommand(wParam)) return 0;
        OnSysCommand(wParam);
        break;
    case kShowBrowserHint:
        ShowBrowserHint();
        return 0;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_ACTIVATE:
        OnActivate(wParam);
        break;  // the default handling gives the window the focus when activated
    case WM_SETFOCUS:
        FocusActiveView();
        return 0;
    case framework::UWM_TREE_TO_TOP:
        if (classTree_ && classTree_->Hwnd()) ::SendMessageA(classTree_->Hwnd(), msg, wParam, lParam);
        return 1;
    case framework::UWM_TREE_AUTOSCROLL:
        if (classTree_ && classTree_->Hwnd()) classTree_->OleAutoScroll(wParam);
        return 1;
    case framework::UWM_CLASS_CHANGED:
    case framework::UWM_LINKS_PENDING:
    case framework::UWM_DROP_BOOKMARKS:
        if (bookmarkList_ && bookmarkList_->Hwnd()) ::SendMessageA(bookmarkList_->Hwnd(), msg, wParam, lParam);
        return msg == framework::UWM_LINKS_PENDING ? 0 : 1;
    case framework::UWM_SHOW_REMARK:
        ShowRemark(reinterpret_cast<const BookmarkRecord*>(wParam));
        return 1;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

LRESULT CMainFrame::OnCreate() {
    closing_ = false;
    shownOnce_ = false;
    placement_.length = sizeof placement_;
    openersStop_ = std::make_shared<std::atomic<bool>>(false);
    CHomepageGroup::Instance().Load(framework::ProgramFolder() + "HomepageGroup.xml");
    LoadLanguagePacks();
    SetUpBrowserEntries();
    CreateBars();
    CreateStatusBar();
    CreateViews();
    ApplyShowSettings();
    SetUpTray();
    loop_ = module_.GetMessageLoop();
    if (loop_) {
        loop_->AddMessageFilter(this);
        loop_->AddIdleHandler(this);
    }
    ::SetTimer(Hwnd(), kSaveTimer, kSavePeriodMs, nullptr);
    const bool topMost = CSetting::Instance()->Other_TopMost != 0;
    pin_.Create(instance_, IDB_PIN, topMost ? CPinButton::kChecked : CPinButton::kNormal);
    pin_.Place(Hwnd());
    RepaintFrame();
    ApplyTopMost();
    ApplyTexts();
    SelectFirstCategory();
    if (CSetting::Instance()->GUI_ShowDragWindow) SetDropWindowShown(true);
    // Right from the start, also while a first question holds the loop.
    OnIdle(0);
    return 0;
}

void CMainFrame::ShowRemark(const BookmarkRecord* bookmark) {
    if (!remark_) return;
    // The edit shows line breaks only as CR LF.
    std::string text;
    if (bookmark) {
        for (char c : bookmark->remark) {
            if (c == '\n' && (text.empty() || text.back() != '\r')) text += '\r';
            text += c;
        }
    }
    ::SetWindowTextA(remark_, text.c_str());
}

// Bookmark commands go to the list; the generic move up and down only while
// the list has the keyboard focus.
bool CMainFrame::RelayBookmarkCommand(WORD id) {
    if (!bookmarkList_ || !bookmarkList_->Hwnd()) return false;
    WORD relayed = 0;
    switch (id) {
    case bookmarklist::kCmdAddBookmark:
    case bookmarklist::kCmdEditBookmark:
    case bookmarklist::kCmdDeleteBookmark:
        relayed = id;
        break;
    case ID_EDIT_MOVEUP:
    case ID_EDIT_MOVEDOWN:
        if (::GetFocus() != bookmarkList_->List()) return false;
        relayed = id == ID_EDIT_MOVEUP ? bookmarklist::kCmdMoveBookmarkUp : bookmarklist::kCmdMoveBookmarkDown;
        break;
    default:
        return false;
    }
    ::PostMessageA(bookmarkList_->Hwnd(), WM_COMMAND, relayed, 0);
    return true;
}

// Category commands go to the tree; the generic move up and down only while
// the tree has the keyboard focus.
bool CMainFrame::RelayCategoryCommand(WORD id) {
    if (!classTree_ || !classTree_->Hwnd()) return false;
    WORD relayed = 0;
    switch (id) {
    case ID_CLASS_ADD:
    case ID_CLASS_ADDSUB:
    case ID_CLASS_EDIT:
    case ID_CLASS_DELETE:
    case ID_CLASS_MOVETO:
    case ID_FILE_IMPORT:
    case ID_FILE_EXPORT:
        relayed = id;
        break;
    case ID_EDIT_MOVEUP:
    case ID_EDIT_MOVEDOWN:
        if (::GetFocus() != classTree_->Tree()) return false;
        relayed = id == ID_EDIT_MOVEUP ? ID_CLASS_MOVEUP : ID_CLASS_MOVEDOWN;
        break;
    default:
        return false;
    }
    ::PostMessageA(classTree_->Hwnd(), WM_COMMAND, relayed, 0);
    return true;
}

// A dialog or the import wizard open on the window would lose the views
// beneath it: closing waits until it is done, and it comes forward.
bool CMainFrame::RefuseCloseDuringModal() {
    if (::IsWindowEnabled(Hwnd())) return false;
    HWND popup = ::GetLastActivePopup(Hwnd());
    if (popup && popup != Hwnd()) ::SetForegroundWindow(popup);
    return true;
}

void CMainFrame::StoreWindowState() {
    StorePlacement();
    StoreSplitters();
    CSetting::Instance()->General_Language = CLanguage::Instance()->CurrentName();
}

void CMainFrame::OnClose() {
    closing_ = true;
    *openersStop_ = true;
    ::KillTimer(Hwnd(), kSaveTimer);
    StoreWindowState();
    CloseDropWindow();
    SaveBeforeClosing();
    if (tray_) tray_->RemoveTrayIcon();
}

// Logging off ends the process without WM_CLOSE: what closing and the end
// of the program would write is written now.
void CMainFrame::OnEndSession() {
    closing_ = true;
    *openersStop_ = true;
    ::KillTimer(Hwnd(), kSaveTimer);
    // An import must not change the collection while it is saved.
    transfer::CTransferJob::StopHolder();
    StoreWindowState();
    CloseDropWindow();
    SaveBookmarksNow();
    if (CHomepageGroup::Instance().IsModified()) CHomepageGroup::Instance().Save();  // here, not on the writer
    const CSetting* s = CSetting::Instance();
    integration::UpdateAutoRunEntry(s->General_AutoRun != 0, s->General_AutoRunMinToTry != 0);
    CSetting::Instance()->Save();
}

void CMainFrame::OnDestroy() {
    *openersStop_ = true;
    ::KillTimer(Hwnd(), kSaveTimer);
    CHomepageGroup::DestroyInstance();  // saves it when changed
    tray_.reset();  // also when the window goes without being closed
    if (loop_) {
        loop_->RemoveMessageFilter(this);
        loop_->RemoveIdleHandler(this);
        loop_ = nullptr;
    }
    if (holdsLock_) {
        // The last lock: nothing else keeps the process, so it ends at once.
        if (module_.LockCount() == 1) {
            module_.SetGracePeriod(0);
            module_.SetFinalPause(0);
        }
        holdsLock_ = false;
        module_.Unlock();
    }
    // Clients holding automation objects do not keep a process without a
    // window: every later start would hand over to it.
    module_.EndWithoutWindow();
}

bool CMainFrame::OnCommand(WORD id) {
    switch (id) {
    case ID_APP_EXIT:
        ::PostMessageA(Hwnd(), WM_CLOSE, 0, 0);
        return true;
    case ID_APP_ABOUT:
        ShowAbout();
        return true;
    case ID_TOOLS_OPTIONS:
        ShowSettings();
        return true;
    case ID_TOOLS_HOMEPAGE_GROUP:
        OpenHomepageGroup();
        return true;
    case ID_TOOLS_RANDOM_OPEN:
        OpenRandomBookmarks();
        return true;
    case ID_TOOLS_BACKUP:
        BackUpBookmarkFile();
        return true;
    case ID_EDIT_FIND:
    case ID_TOOLS_FIND_DUPLICATES:
        OpenFindWindow(id == ID_TOOLS_FIND_DUPLICATES);
        return true;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        FocusNextPane(id == ID_NEXT_PANE);
        return true;
    case ID_HELP_BLOG:
        integration::OpenUrl(dialogs::kHomepageUrl, SW_SHOWNORMAL);
        return true;
    case ID_VIEW_TOOLBAR:
        ToggleToolbar();
        return true;
    case ID_VIEW_CUSTOMIZE:
        CustomizeToolbar();
        return true;
    case ID_VIEW_STATUS_BAR:
        ToggleStatusBar();
        return true;
    case ID_VIEW_CLASSPANE:
        SetClassPaneShown(!ClassPaneShown());
        return true;
    case ID_VIEW_REMARKPANE:
        SetRemarkPaneShown(!RemarkPaneShown());
        return true;
    case ID_PIN_BUTTON:
        ToggleTopMost();
        return true;
    case ID_VIEW_DRAGWINDOW:
        SetDropWindowShown(!dropWindow_);
        return true;
    case ID_DRAGWINDOW_HIDE:
        SetDropWindowShown(false);
        return true;
    case ID_TRAY_SHOWHIDE:
        ShowHideMainWindow();
        return true;
    default:
        if (id >= ID_LANGUAGE_FIRST && id <= ID_LANGUAGE_LAST) {
            SelectLanguage(id);
            return true;
        }
        return false;
    }
}

void CMainFrame::OnSize(WPARAM type) {
    CSetting* settings = CSetting::Instance();
    if (type == SIZE_MAXIMIZED) {
        settings->GUI_MainFrameType = kFrameTypeMaximized;
    } else if (type != SIZE_MINIMIZED) {
        RefreshPlacement();
        if (shownOnce_) settings->GUI_MainFrameType = kFrameTypeNormal;
    }
}

void CMainFrame::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_MAXIMIZE:
        CSetting::Instance()->GUI_MainFrameType = kFrameTypeMaximized;
        break;
    case SC_RESTORE:
        CSetting::Instance()->GUI_MainFrameType = kFrameTypeNormal;
        break;
    default:
        break;
    }
}

void CMainFrame::OnAlreadyRunning() {
    // A dialog open on the window comes forward with it, not behind another
    // program's window. Asked first: showing the window activates it, which
    // makes it its own last active popup.
    HWND popup = ::GetLastActivePopup(Hwnd());
    ::ShowWindow(Hwnd(), SW_SHOWNORMAL);
    if (!shownOnce_) {
        PlaceSplitters();
        shownOnce_ = true;
    }
    ::SetForegroundWindow(popup && ::IsWindowVisible(popup) ? popup : Hwnd());
}

bool CMainFrame::CommandEnabled(WORD id) const {
    const bool tree = classTree_ && classTree_->Hwnd();
    switch (id) {
    case ID_APP_EXIT:
    case ID_APP_ABOUT:
    case ID_TOOLS_HOMEPAGE_GROUP:
    case ID_TOOLS_RANDOM_OPEN:
    case ID_TOOLS_BACKUP:
    case ID_HELP_BLOG:
    case ID_EDIT_FIND:
    case ID_TOOLS_FIND_DUPLICATES:
    case ID_VIEW_STATUS_BAR:
    case ID_VIEW_CLASSPANE:
    case ID_VIEW_REMARKPANE:
    case ID_VIEW_DRAGWINDOW:
    case ID_DRAGWINDOW_HIDE:
    case ID_PIN_BUTTON:
    case ID_TRAY_SHOWHIDE:
    case ID_TOOLS_OPTIONS:
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        return true;
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_CUSTOMIZE:
        return toolbar_ != nullptr;
    case ID_CLASS_ADD:
    case ID_CLASS_ADDSUB:
    case ID_CLASS_EDIT:
    case ID_CLASS_DELETE:
    case ID_CLASS_MOVETO:
    case ID_FILE_IMPORT:
    case ID_FILE_EXPORT:
        return tree && classTree_->CommandEnabled(id);
    case ID_BOOKMARK_ADD:
    case ID_BOOKMARK_EDIT:
    case ID_BOOKMARK_DELETE:
        return bookmarkList_ && bookmarkList_->CommandEnabled(id);
    case ID_EDIT_MOVEUP:
    case ID_EDIT_MOVEDOWN:
        if (tree && ::GetFocus() == classTree_->Tree()) {
            return classTree_->CommandEnabled(id == ID_EDIT_MOVEUP ? ID_CLASS_MOVEUP : ID_CLASS_MOVEDOWN);
        }
        if (bookmarkList_ && ::GetFocus() == bookmarkList_->List()) {
            return bookmarkList_->CommandEnabled(id == ID_EDIT_MOVEUP ? bookmarklist::kCmdMoveBookmarkUp
                                                                      : bookmarklist::kCmdMoveBookmarkDown);
        }
        return false;
    default:
        // The language packs.
        return id >= ID_LANGUAGE_FIRST && id <= ID_LANGUAGE_LAST;
    }
}

void CMainFrame::OnInitMenuPopup(HMENU popup) {
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
        const bool enabled = CommandEnabled(static_cast<WORD>(id));
        ::EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
        if (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR || id == ID_VIEW_CLASSPANE ||
            id == ID_VIEW_REMARKPANE || id == ID_VIEW_DRAGWINDOW) {
            const bool checked = CommandChecked(static_cast<WORD>(id));
            ::CheckMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

// Remembers which child had the focus when another window becomes active
// (a dialog, a message box, another program), so that it gets it back.
void CMainFrame::OnActivate(WPARAM state) {
    if (LOWORD(state) != WA_INACTIVE) return;
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(Hwnd(), focus)) lastFocus_ = focus;
}

void CMainFrame::FocusActiveView() {
    HWND target = lastFocus_;
    if (!target || !::IsWindow(target) || !::IsChild(Hwnd(), target) || !::IsWindowVisible(target)) {
        target = classTree_ && classTree_->Tree() ? classTree_->Tree() : nullptr;
    }
    if (target) ::SetFocus(target);
}

void CMainFrame::ShowAbout() {
    dialogs::CAboutDlg dialog;
    HWND active = ::GetActiveWindow();
    dialog.DoModal(active ? active : Hwnd());
}

void CMainFrame::RefreshPlacement() {
    placement_.length = sizeof placement_;
    ::GetWindowPlacement(Hwnd(), &placement_);
}

void CMainFrame::StorePlacement() {
    // A window never moved nor sized has no record yet; an empty one stored
    // would bring the window back with no size at all.
    if (::IsRectEmpty(&placement_.rcNormalPosition)) RefreshPlacement();
    CSetting* s = CSetting::Instance();
    s->GUI_MainFrameFlags = static_cast<std::int32_t>(placement_.flags);
    s->GUI_MainFrameShowCmd = static_cast<std::int32_t>(placement_.showCmd);
    s->GUI_MainFrameX1 = placement_.rcNormalPosition.left;
    s->GUI_MainFrameY1 = placement_.rcNormalPosition.top;
    s->GUI_MainFrameX2 = placement_.rcNormalPosition.right;
    s->GUI_MainFrameY2 = placement_.rcNormalPosition.bottom;
    // The splitter positions join these once the panes exist.
}

void CMainFrame::InitialShow() {
    CSetting* s = CSetting::Instance();
    const bool stored = s->GUI_MainFrameFlags != kNotStored && s->GUI_MainFrameShowCmd != kNotStored &&
                        s->GUI_MainFrameX1 != kNotStored && s->GUI_MainFrameY1 != kNotStored &&
                        s->GUI_MainFrameX2 != kNotStored && s->GUI_MainFrameY2 != kNotStored;
    if (!stored) {
        // First run: shown even when asked to start hidden.
        ::ShowWindow(Hwnd(), SW_SHOW);
        PlaceSplitters();
        RefreshPlacement();
        shownOnce_ = true;
        return;
    }

    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.flags = static_cast<UINT>(s->GUI_MainFrameFlags);
    wp.showCmd = SW_HIDE;  // nothing is shown yet
    wp.rcNormalPosition = RECT{s->GUI_MainFrameX1, s->GUI_MainFrameY1, s->GUI_MainFrameX2, s->GUI_MainFrameY2};

    // Keep the window reachable whatever the settings file holds.
    wp.rcNormalPosition = ReachableNormalRect(wp.rcNormalPosition);
    ::SetWindowPlacement(Hwnd(), &wp);

    int show = SW_SHOW;
    if (s->StartHidden) {
        show = SW_HIDE;
    } else if (s->GUI_MainFrameType == kFrameTypeMaximized) {
        show = SW_SHOWMAXIMIZED;
    }
    ::ShowWindow(Hwnd(), show);
    if (show != SW_HIDE) {
        PlaceSplitters();
        shownOnce_ = true;
    }
}

namespace {

// The clipboard and undo keys of an edit control, which the accelerator
// table also maps to the program's own (bookmark) commands: with the focus
// in an edit control (the find box, the remark pane, an in-place editor)
// they belong to the control.
bool IsEditControlKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    char className[16] = "";
    if (!::GetClassNameA(msg.hwnd, className, sizeof className) || ::lstrcmpiA(className, "Edit") != 0) return false;
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    const bool alt = msg.message == WM_SYSKEYDOWN || ::GetKeyState(VK_MENU) < 0;
    switch (msg.wParam) {
    case 'Z':
    case 'X':
    case 'C':
    case 'V':
        return control && !alt;
    case VK_INSERT:
        return (control || shift) && !alt;
    case VK_DELETE:
        return shift && !control && !alt;
    case VK_BACK:
        return alt;
    default:
        return false;
    }
}

}  // namespace

bool CMainFrame::PreTranslateMessage(MSG* msg) {
    if (!Hwnd()) return false;
    if (menuBar_.PreTranslateMessage(*msg)) return true;
    if (!accelerators_) return false;
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
    if (IsEditControlKey(*msg)) return false;
    // Tab moves between the panes as F6 does, only from a pane: the find
    // window's controls keep their own Tab.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && ::GetKeyState(VK_CONTROL) >= 0 &&
        ::GetKeyState(VK_MENU) >= 0 && ::IsChild(Hwnd(), msg->hwnd)) {
        return FocusNextPane(::GetKeyState(VK_SHIFT) >= 0);
    }
    return ::TranslateAcceleratorA(Hwnd(), accelerators_, msg) != 0;
}

bool CMainFrame::OnIdle(int /*idleCount*/) {
    if (toolbar_) toolbar_->UpdateStates([this](WORD id) { return CommandEnabled(id); });
    return false;
}

void CMainFrame::RepaintFrame() {
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DRAWFRAME | SWP_NOSENDCHANGING);
}

// Without the owned windows' order: Wine puts a window that owns hidden
// popups (tool tips) just below them, outside the topmost band, otherwise.
void CMainFrame::ApplyTopMost() {
    ::SetWindowPos(Hwnd(), CSetting::Instance()->Other_TopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void CMainFrame::ToggleTopMost() {
    CSetting* s = CSetting::Instance();
    s->Other_TopMost = s->Other_TopMost ? 0 : 1;
    pin_.SetState(s->Other_TopMost ? CPinButton::kChecked : CPinButton::kNormal);
    RepaintFrame();
    ApplyTopMost();
}

// The pin's share of the non-client messages; the rest go on to the
// default handling. A press on the pin must not reach it: it would start
// moving the window and swallow the release.
bool CMainFrame::OnPinMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_NCPAINT:
        result = DefaultHandling(msg, wParam, lParam);
        pin_.Paint(Hwnd());
        return true;
    case WM_NCACTIVATE:
    case WM_SETTEXT:  // the caption is drawn anew with the title, over the pin
        result = DefaultHandling(msg, wParam, lParam);
        pin_.Paint(Hwnd());
        return true;
    case WM_NCMOUSEMOVE:
        if (pin_.OnMouseMove(Hwnd(), WindowPointOf(Hwnd(), lParam))) pin_.Paint(Hwnd());
        return false;
    case WM_NCLBUTTONDOWN: {
        const POINT at = WindowPointOf(Hwnd(), lParam);
        if (pin_.OnButtonDown(at)) pin_.Paint(Hwnd());
        if (!pin_.Contains(at)) return false;
        result = 0;
        return true;
    }
    case WM_NCLBUTTONUP: {
        bool clicked = false;
        if (pin_.OnButtonUp(WindowPointOf(Hwnd(), lParam), clicked)) pin_.Paint(Hwnd());
        if (!clicked) return false;
        ::SendMessageA(Hwnd(), WM_COMMAND, ID_PIN_BUTTON, 0);
        result = 0;
        return true;
    }
    case WM_NCLBUTTONDBLCLK:
        if (!pin_.Contains(WindowPointOf(Hwnd(), lParam))) return false;
        result = 0;
        return true;
    case WM_NCMOUSELEAVE:
        if (pin_.OnMouseLeave()) pin_.Paint(Hwnd());
        return false;
    default:
        return false;
    }
}
