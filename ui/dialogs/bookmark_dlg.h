// The bookmark dialog (resource 217): title, URL, remark and category of a new
// or edited bookmark. OK refuses an empty title, then an empty URL, then a
// title holding a character not allowed in file names.
#pragma once

#include "translated_dialog.h"

#include "class_record.h"

#include <string>

namespace dialogs {

class CBookmarkDlg : public CTranslatedDialog {
public:
    CBookmarkDlg();

    // Inputs; all but `mode` and `root` are also the outputs after OK.
    int mode = 0;                   // 0 add, 1 edit
    std::string title;
    std::string url;
    std::string remark;
    ClassRecord* category = nullptr;
    ClassRecord* root = nullptr;    // the category tree offered by "browse"

protected:
    bool OnOpen() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    void BrowseCategory();

    ClassRecord* shownCategory_ = nullptr;
};

}  // namespace dialogs
