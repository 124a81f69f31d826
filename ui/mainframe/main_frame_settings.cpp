// The settings dialog opened from the main window (menu "选项", tray menu
// "系统设置"): over the active window, one at a time; after OK the bookmark
// list takes its column and style settings again.
#include "mainframe/main_frame.h"

#include "bookmark_list_view.h"
#include "setting.h"
#include "settings_dialog.h"

#include <commctrl.h>

void CMainFrame::ShowSettings() {
    HWND active = ::GetActiveWindow();
    const settings::SettingsOutcome outcome = settings::RunSettingsDialog(active ? active : Hwnd());
    if (outcome != settings::SettingsOutcome::kOk || !bookmarkList_ || !bookmarkList_->List()) return;
    // The URL column's width is recorded only when the list goes: a width
    // the user gave it meanwhile is taken now, not thrown back to the old one.
    const int width = ListView_GetColumnWidth(bookmarkList_->List(), 1);
    if (width > 0) CSetting::Instance()->GUI_BookmarkCol1Width = width;
    bookmarkList_->ApplyViewSettings();
}
