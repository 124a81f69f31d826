// The move-to dialog (resource 210): where to move a category, as a
// sub-category or as a sibling of the category selected in a copy of the tree.
// OK is enabled only while the move would be accepted.
#pragma once

#include "class_tree_copy.h"
#include "translated_dialog.h"

#include <string>

namespace dialogs {

class CMoveClassDlg : public CTranslatedDialog {
public:
    CMoveClassDlg();

    // Inputs.
    ClassRecord* root = nullptr;         // the category tree to copy
    ClassRecord* classToMove = nullptr;  // selected when the dialog opens
    bool asChild = true;                 // placement; also an output

    // Outputs, recorded when the dialog closes (OK or Cancel): the selected
    // category and its name, none and an empty name without a selection.
    ClassRecord* chosen = nullptr;
    std::string chosenName;

protected:
    bool OnOpen() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    LRESULT OnNotify(const NMHDR& header, bool& handled) override;

private:
    bool Accepted() const;
    void UpdateOk();
    void Record();

    CImageList images_;
};

}  // namespace dialogs
