// The page of the homepage group: one row per entry, in the group's order.
#include "option_pages.h"

#include "dpi_images.h"
#include "homepage_dlg.h"
#include "homepage_group.h"
#include "option_rules.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>

namespace settings {

namespace {

constexpr int kTitleColumnWidth = 340;  // pixels at 96 dpi, as wide as the list there

}  // namespace

CHomepagePage::CHomepagePage(CHomepageGroup* group)
    : COptionsPage(IDD_OPTIONS_HOMEPAGE, "dlg_settingpage2"), group_(group) {}

void CHomepagePage::OnInit() {
    if (!group_) group_ = &CHomepageGroup::Instance();
    HWND list = List();
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const std::string header = Text("10000", "标题");
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(header.c_str());
    column.cx = ScaleFor(list, kTitleColumnWidth);
    ::SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    rows_ = group_->Items();
    ListView_SetItemCountEx(list, static_cast<int>(rows_.size()), 0);
    if (!rows_.empty()) SelectRow(0);
}

int CHomepagePage::SelectedRow() const {
    const int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
    return row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
}

void CHomepagePage::SelectRow(int row) {
    HWND list = List();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
}

bool CHomepagePage::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_HOMEPAGE_ADD:
        AddEntry();
        return true;
    case IDC_HOMEPAGE_EDIT:
        EditEntry();
        return true;
    case IDC_HOMEPAGE_DELETE:
        DeleteEntry();
        return true;
    default:
        return false;
    }
}

bool CHomepagePage::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != kListId) return false;
    result = 0;
    if (header.code == LVN_GETDISPINFOA || header.code == LVN_GETDISPINFOW) {
        // The same place in both forms of the record; only the text differs.
        auto& info = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header));
        const int row = info.item.iItem;
        if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return true;
        static const std::string kNone;
        const std::string& title =
            row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)]->title : kNone;
        if (header.code == LVN_GETDISPINFOA) {
            const std::size_t size = std::min(title.size(), static_cast<std::size_t>(info.item.cchTextMax - 1));
            title.copy(info.item.pszText, size);
            info.item.pszText[size] = '\0';
        } else {
            auto* wide = reinterpret_cast<wchar_t*>(info.item.pszText);
            const int written = ::MultiByteToWideChar(CP_ACP, 0, title.data(), static_cast<int>(title.size()), wide,
                                                      info.item.cchTextMax - 1);
            wide[written > 0 ? written : 0] = L'\0';
        }
        return true;
    }
    if (header.code == NM_DBLCLK) {
        EditEntry();
        return true;
    }
    return false;
}

void CHomepagePage::AddEntry() {
    dialogs::CHomepageDlg dialog;
    dialog.mode = 0;
    if (dialog.DoModal(::GetParent(Hwnd())) != IDOK) return;
    HomepageItem* entry = group_->Add(dialog.title, dialog.url);
    if (!entry) return;
    rows_.push_back(entry);
    ListView_SetItemCountEx(List(), static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
    SelectRow(static_cast<int>(rows_.size()) - 1);
}

void CHomepagePage::EditEntry() {
    const int row = SelectedRow();
    if (row < 0) return;
    HomepageItem* entry = rows_[static_cast<std::size_t>(row)];
    dialogs::CHomepageDlg dialog;
    dialog.mode = 1;
    dialog.title = entry->title;
    dialog.url = entry->url;
    if (dialog.DoModal(::GetParent(Hwnd())) != IDOK) return;
    entry->title = dialog.title;
    entry->url = dialog.url;
    group_->SetModified();
    ListView_RedrawItems(List(), row, row);
}

void CHomepagePage::DeleteEntry() {
    const int row = SelectedRow();
    if (row < 0) return;
    group_->Remove(rows_[static_cast<std::size_t>(row)]);
    rows_.erase(rows_.begin() + row);
    HWND list = List();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list, static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
    ::InvalidateRect(list, nullptr, FALSE);
    SelectRow(RowAfterDelete(row, static_cast<int>(rows_.size())));
}

}  // namespace settings
