// The toolbar's skin and arrangement, as the settings give them, and the
// command that opens its Customize dialog.
#include "mainframe/main_frame.h"

#include "framework/program_folder.h"
#include "setting.h"
#include "toolbar/skin_toolbar.h"

// After the toolbar is made with its buttons: the skin's strips, the layout
// Reset goes back to, then the user's layout.
void CMainFrame::SetUpToolbar() {
    if (!toolbar_) return;
    CSetting* s = CSetting::Instance();
    if (s->GUI_ToolbarSkin.empty()) s->GUI_ToolbarSkin = "Skin\\Toolbar\\Normal\\";
    toolbar_->SetSkinFolder(framework::ProgramFolder() + s->GUI_ToolbarSkin);
    toolbar_->SetDefaultLayout(s->GUI_DefaultToolbarData);
    toolbar_->RestoreLayout();
}

void CMainFrame::CustomizeToolbar() {
    if (!toolbar_) return;
    toolbar_->Customize();
    FitToolbarBand();
}
