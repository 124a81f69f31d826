#include "mainframe/save_failed_dlg.h"

#include <commdlg.h>

#include "framework/ui_text.h"
#include "mainframe_res.h"
#include "text_fill.h"

namespace {
constexpr char kSection[] = "dlg_savefailed";
}

CSaveFailedDlg::CSaveFailedDlg(std::string file, std::string reason)
    : CTranslatedDialog(IDD_SAVEFAILED, kSection), file_(std::move(file)), reason_(std::move(reason)) {}

CSaveFailedDlg::Choice CSaveFailedDlg::Ask(HWND owner) {
    switch (DoModal(owner)) {
    case IDC_SAVE_ELSEWHERE:
        return Choice::kSaveElsewhere;
    case IDC_LOSE_CHANGES:
        return Choice::kLoseChanges;
    default:
        return Choice::kRetry;
    }
}

bool CSaveFailedDlg::OnOpen() {
    SetItemText(IDC_SAVEFAILED_TEXT,
                FillPlaceholders(framework::UiText(kSection, "10000",
                                                   "无法保存书签文件:\n%s\n\n原因:%s\n\n"
                                                   "关闭程序会丢失尚未保存的更改。您可以重试,"
                                                   "或者把书签保存到另一个文件。"),
                                 {file_, reason_}));
    ::SendMessageA(Item(IDC_SAVEFAILED_ICON), STM_SETICON,
                   reinterpret_cast<WPARAM>(::LoadIconA(nullptr, MAKEINTRESOURCEA(32515))), 0);  // IDI_WARNING
    ::SetFocus(Item(IDRETRY));
    return false;
}

bool CSaveFailedDlg::OnCommand(WORD id, WORD /*code*/, HWND /*control*/) {
    switch (id) {
    case IDRETRY:
    case IDCANCEL:
        EndDialog(IDRETRY);
        return true;
    case IDC_SAVE_ELSEWHERE:
    case IDC_LOSE_CHANGES:
        EndDialog(id);
        return true;
    default:
        return false;
    }
}

bool ChooseOtherBookmarkFile(HWND owner, std::string& path) {
    char file[MAX_PATH] = "bookmark.xml";
    const std::string title = framework::UiText(kSection, "10001", "把书签保存到另一个文件");
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "XML (*.xml)\0*.xml\0*.*\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = "xml";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!::GetSaveFileNameA(&ofn)) return false;
    path = file;
    return true;
}
