// The floating drop window of the main frame.
#include "main_frame.h"

#include "bookmark_list_view.h"
#include "drop_window.h"
#include "resource.h"
#include "setting.h"

void CMainFrame::SetDropWindowShown(bool shown) {
    if (shown && !dropWindow_) {
        IDropTarget* target = bookmarkList_ ? bookmarkList_->DropTarget() : nullptr;
        dropWindow_ = dropwindow::CDropWindow::Open(Hwnd(), dropWindowModule_ ? dropWindowModule_ : instance_,
                                                    IDB_DROP_WINDOW, target);
    } else if (!shown) {
        dropWindow_.reset();
    }
    // A window that could not be made is not said to be shown.
    CSetting::Instance()->GUI_ShowDragWindow = dropWindow_ ? 1 : 0;
}

HWND CMainFrame::DropWindow() const { return dropWindow_ ? dropWindow_->Hwnd() : nullptr; }

void CMainFrame::CloseDropWindow() { dropWindow_.reset(); }
