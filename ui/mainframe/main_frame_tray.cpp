// The main window and its tray icon: the icon from creation to closing,
// hiding to it instead of minimising (and, when the settings ask for it,
// instead of closing), and the click that shows or hides the window.
#include "mainframe/main_frame.h"

#include "framework/ui_text.h"
#include "resource.h"
#include "setting.h"
#include "tray_icon.h"

namespace {

constexpr int kFrameTypeMaximized = 3;

}  // namespace

void CMainFrame::SetUpTray() {
    tray_ = std::make_unique<tray::CTrayIcon>(Hwnd(), instance_);
    tray_->InstallTrayIcon(framework::UiText("mainframe", "10003", "岚舟链匣"), IDR_TRAY_MENU);
    tray_->SetDefaultCommand(ID_TRAY_SHOWHIDE);
}

// Without an icon a hidden window could not be found again: it stays on the
// taskbar instead.
bool CMainFrame::CanHideToTray() const { return tray_ && tray_->Installed(); }

void CMainFrame::ShowHideMainWindow() {
    // A window minimised to the taskbar counts as put away: a click brings
    // it back.
    if (::IsWindowVisible(Hwnd()) && !::IsIconic(Hwnd())) {
        ::ShowWindow(Hwnd(), SW_HIDE);
        return;
    }
    const bool maximized = CSetting::Instance()->GUI_MainFrameType == kFrameTypeMaximized;
    ::ShowWindow(Hwnd(), maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    if (!shownOnce_) {
        // Started hidden: the panes get their stored sizes now.
        PlaceSplitters();
        shownOnce_ = true;
    }
    ::SetForegroundWindow(Hwnd());
}

// Minimise, and close when the settings say so, hide the window to the tray.
bool CMainFrame::OnTraySysCommand(WPARAM command) {
    const WPARAM which = command & 0xFFF0;
    if (which == SC_CLOSE && !CSetting::Instance()->Other_CloseToTray) return false;
    if (which != SC_MINIMIZE && which != SC_CLOSE) return false;
    if (!CanHideToTray()) {
        if (which == SC_MINIMIZE) return false;
        ::ShowWindow(Hwnd(), SW_MINIMIZE);
        return true;
    }
    ::ShowWindow(Hwnd(), SW_HIDE);
    RefreshPlacement();
    return true;
}

// Minimised some other way (the taskbar, another program): hidden all the
// same.
void CMainFrame::OnMinimized() {
    if (!CanHideToTray() || !::IsWindowVisible(Hwnd())) return;
    ::ShowWindow(Hwnd(), SW_HIDE);
    RefreshPlacement();
}

// The tray's commands while a dialog, a message box or the wizard holds the
// window disabled: a second dialog, or closing the window beneath the first,
// would come of them. They only bring the open one forward.
bool CMainFrame::BringModalForwardFor(WORD id) {
    if (::IsWindowEnabled(Hwnd())) return false;
    if (id != ID_TRAY_SHOWHIDE && id != ID_TOOLS_OPTIONS && id != ID_APP_ABOUT && id != ID_APP_EXIT) return false;
    // The enabled window it owns, the dialog (or the box over it) that takes
    // the input now.
    struct Search {
        HWND owner;
        HWND found;
    } search{Hwnd(), nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (window == s->owner || !::IsWindowVisible(window) || !::IsWindowEnabled(window)) return TRUE;
            for (HWND up = ::GetWindow(window, GW_OWNER); up; up = ::GetWindow(up, GW_OWNER)) {
                if (up == s->owner) {
                    s->found = window;
                    return FALSE;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    HWND popup = search.found ? search.found : ::GetLastActivePopup(Hwnd());
    if (popup && popup != Hwnd() && ::IsWindowVisible(popup)) ::SetForegroundWindow(popup);
    return true;
}
