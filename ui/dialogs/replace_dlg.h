// The replace question (resource 202) asked by the import and export jobs:
// a bookmark of that name exists; replace it, all, keep it, keep all, or
// cancel. Returns the pressed button's id; Enter returns IDOK (1).
#pragma once

#include "translated_dialog.h"

#include <string>

namespace dialogs {

class CReplaceDlg : public CTranslatedDialog {
public:
    // What DoModal returns besides IDOK (Enter) and IDCANCEL.
    enum Answer { kYes = 1006, kAll = 1001, kNo = 1007, kNone = 1004 };

    CReplaceDlg();

    // Inputs.
    std::string name;
    std::string existingUrl;
    std::string newUrl;

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnOpen() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
};

// Asks the replace question owned by `owner` (on the calling thread, which
// may be a transfer worker) and returns the pressed button's id.
int AskReplaceQuestion(HWND owner, const std::string& name, const std::string& existingUrl,
                       const std::string& newUrl);

}  // namespace dialogs
