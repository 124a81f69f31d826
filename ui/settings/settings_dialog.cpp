#include "settings_dialog.h"

#include "framework/ui_text.h"
#include "option_pages.h"
#include "options_sheet.h"

namespace settings {

SettingsOutcome RunSettingsDialog(HWND owner, CHomepageGroup* group) {
    if (COptionsSheet* open = COptionsSheet::Open()) {
        // The one open comes forward, with any box it shows.
        HWND popup = ::GetLastActivePopup(open->Hwnd());
        ::SetForegroundWindow(popup && ::IsWindowVisible(popup) ? popup : open->Hwnd());
        return SettingsOutcome::kAlreadyOpen;
    }
    CGeneralPage general;
    CInterfacePage face;
    CHomepagePage homepage(group);
    CMiscPage misc;
    COptionsSheet sheet;
    sheet.AddPage(&general, framework::UiText("mainframe", "10004", "常规设置"), 0);
    sheet.AddPage(&face, framework::UiText("mainframe", "10005", "用户界面"), 1);
    sheet.AddPage(&homepage, framework::UiText("mainframe", "10006", "主页组"), 2);
    sheet.AddPage(&misc, framework::UiText("mainframe", "10007", "杂项"), 3);
    switch (sheet.DoModal(owner)) {
    case IDOK:
        return SettingsOutcome::kOk;
    case IDCANCEL:
        return SettingsOutcome::kCancel;
    default:
        return SettingsOutcome::kFailed;
    }
}

}  // namespace settings
