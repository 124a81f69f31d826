// The category dialog (resource 162): the name of a new or edited category or
// sub-category. An empty name is accepted; the nine characters not allowed in
// file names are refused.
#pragma once

#include "translated_dialog.h"

#include <string>

namespace dialogs {

class CClassDlg : public CTranslatedDialog {
public:
    enum Mode { kAddClass = 0, kAddSubClass = 1, kEditClass = 2, kEditSubClass = 3 };

    CClassDlg();

    // Inputs; `name` is also the output after OK.
    int mode = kAddClass;
    std::string name;

protected:
    bool OnOpen() override;
    void OnOK() override;
};

}  // namespace dialogs
