// The homepage item dialog (resource 163): title and URL of an entry of the
// homepage group. Both must be non-empty; the characters are not checked.
#pragma once

#include "translated_dialog.h"

#include <string>

namespace dialogs {

class CHomepageDlg : public CTranslatedDialog {
public:
    CHomepageDlg();

    // Inputs; title and URL are also the outputs after OK.
    int mode = 0;  // 0 add, 1 edit
    std::string title;
    std::string url;

protected:
    bool OnOpen() override;
    void OnOK() override;
};

}  // namespace dialogs
