#include "homepage_dlg.h"

#include "framework/data_exchange.h"
#include "framework/unicode_edit.h"
#include "resource.h"
#include "validation.h"

namespace dialogs {

CHomepageDlg::CHomepageDlg() : CTranslatedDialog(IDD_ADDHOMEPAGE, kHomepageSection) {}

bool CHomepageDlg::OnOpen() {
    const ModeTexts texts = HomepageModeTexts(mode);
    SetTitleAndTab(Text(texts.title), IDC_DIALOG_TAB);
    if (texts.okIsUpdate) SetItemText(IDOK, Text(kUpdateButton));
    for (int id : {IDC_TITLE_EDIT, IDC_URL_EDIT}) framework::MakeUnicodeEdit(Hwnd(), id);
    framework::CDataExchange dx(Hwnd(), false);
    dx.Text(IDC_TITLE_EDIT, title);
    dx.Text(IDC_URL_EDIT, url);  // skipped after a failure
    MakeTopmost();
    return true;
}

void CHomepageDlg::OnOK() {
    std::string newTitle, newUrl;
    framework::CDataExchange dx(Hwnd(), true);
    if (!dx.Text(IDC_TITLE_EDIT, newTitle) || !dx.Address(IDC_URL_EDIT, newUrl)) return;
    if (const auto refusal = CheckHomepageItem(newTitle, newUrl)) {
        Refuse(refusal->message, refusal->field == Field::kUrl ? IDC_URL_EDIT : IDC_TITLE_EDIT);
        return;
    }
    title = std::move(newTitle);
    url = std::move(newUrl);
    EndDialog(IDOK);
}

}  // namespace dialogs
