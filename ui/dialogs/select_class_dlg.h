// The select-category dialog (resource 209): picks a category from a copy of
// the category tree, or the top level through its check box.
#pragma once

#include "class_tree_copy.h"
#include "translated_dialog.h"

#include <string>

namespace dialogs {

class CSelectClassDlg : public CTranslatedDialog {
public:
    CSelectClassDlg();

    // Inputs.
    ClassRecord* root = nullptr;           // the category tree to copy
    ClassRecord* initial = nullptr;        // preselected; none: `treeSelection`
    ClassRecord* treeSelection = nullptr;  // the category selected in the category tree
    bool offerTopLevel = true;             // show the "top level" check box
    int topLevelState = 0;                 // its initial state; also an output

    // Outputs, recorded when the dialog closes (OK or Cancel): a category,
    // `root` for the top level, or none; and its name (empty but for a category).
    ClassRecord* chosen = nullptr;
    std::string chosenName;

protected:
    bool OnOpen() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void Record();

    CImageList images_;
};

}  // namespace dialogs
