// The question when the window closes and the bookmark file cannot be
// saved: try again, save the collection to another file, or close and lose
// the changes. Trying again is the default (also for Esc and the close box).
#pragma once

#include "translated_dialog.h"

#include <string>

class CSaveFailedDlg : public dialogs::CTranslatedDialog {
public:
    enum class Choice { kRetry, kSaveElsewhere, kLoseChanges };

    CSaveFailedDlg(std::string file, std::string reason);
    Choice Ask(HWND owner);

protected:
    bool OnOpen() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    std::string file_;
    std::string reason_;
};

// The save dialog for "save to another file"; false when cancelled.
bool ChooseOtherBookmarkFile(HWND owner, std::string& path);
