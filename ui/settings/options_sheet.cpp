#include "options_sheet.h"

#include "dpi_images.h"
#include "resource.h"

namespace settings {

namespace {

constexpr std::string_view kSheetSection = "dlg_setting";

thread_local COptionsSheet* t_open = nullptr;

}  // namespace

COptionsSheet::COptionsSheet() : CTranslatedDialog(IDD_OPTIONS, kSheetSection) {
    // The homepage page's list, beside the controls every dialog registers.
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

COptionsSheet::~COptionsSheet() {
    if (t_open == this) t_open = nullptr;
    if (images_) ImageList_Destroy(images_);
}

COptionsSheet* COptionsSheet::Open() { return t_open; }

void COptionsSheet::AddPage(COptionsPage* page, std::string title, int image, COptionsPage* parent) {
    if (!page) return;
    pages_.push_back(PageRecord{page, std::move(title), image, parent});
}

int COptionsSheet::IndexOf(const COptionsPage* page) const {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i].page == page) return static_cast<int>(i);
    }
    return -1;
}

bool COptionsSheet::OnOpen() {
    t_open = this;
    banner_.Attach(Item(IDC_OPTIONS_BANNER));
    if (HWND placeholder = Item(IDC_OPTIONS_PLACEHOLDER)) {
        ::GetWindowRect(placeholder, &pageRect_);
        ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&pageRect_), 2);
    }
    tree_ = Item(IDC_OPTIONS_TREE);
    images_ = LoadImageStrip(::GetModuleHandleA(nullptr), IDB_OPTION_PAGES, tree_);
    if (images_ && tree_) TreeView_SetImageList(tree_, images_, TVSIL_NORMAL);

    for (const PageRecord& record : pages_) {
        TVINSERTSTRUCTA insert{};
        const auto parent = items_.find(record.parent);
        insert.hParent = parent == items_.end() ? TVI_ROOT : parent->second;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(record.title.c_str());
        insert.item.iImage = insert.item.iSelectedImage = record.image;
        insert.item.lParam = reinterpret_cast<LPARAM>(record.page);
        items_[record.page] =
            reinterpret_cast<HTREEITEM>(::SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    for (HTREEITEM item = TreeView_GetRoot(tree_); item; item = TreeView_GetNextSibling(tree_, item)) {
        TreeView_Expand(tree_, item, TVE_EXPAND);
    }
    const int start = startPage_ >= 0 && startPage_ < static_cast<int>(pages_.size()) ? startPage_ : 0;
    if (!pages_.empty()) SelectPage(start);
    return false;  // the page has the focus
}

void COptionsSheet::SelectPage(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    banner_.SetText("");
    if (current_ >= 0 && current_ != index) {
        if (HWND old = pages_[static_cast<std::size_t>(current_)].page->Hwnd()) ::ShowWindow(old, SW_HIDE);
    }
    const PageRecord& record = pages_[static_cast<std::size_t>(index)];
    banner_.SetText(record.title.c_str());
    HWND window = record.page->Hwnd();
    if (!window) window = record.page->Create(Hwnd(), ::GetModuleHandleA(nullptr));
    current_ = index;
    if (window) {
        // Below the buttons in the tab order, after the page tree.
        ::SetWindowPos(window, tree_, pageRect_.left, pageRect_.top, pageRect_.right - pageRect_.left,
                       pageRect_.bottom - pageRect_.top, SWP_NOACTIVATE);
        ::ShowWindow(window, SW_SHOW);
        HWND first = ::GetNextDlgTabItem(window, nullptr, FALSE);
        ::SetFocus(first ? first : window);
    }
    const auto item = items_.find(record.page);
    if (item != items_.end() && TreeView_GetSelection(tree_) != item->second) TreeView_SelectItem(tree_, item->second);
}

INT_PTR COptionsSheet::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DRAWITEM && wParam == IDC_OPTIONS_BANNER) {
        banner_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    if (msg == WM_NCDESTROY && t_open == this) t_open = nullptr;
    return CTranslatedDialog::HandleMessage(msg, wParam, lParam);
}

bool COptionsSheet::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_OPTIONS_DEFAULTS) return true;  // offered by no page
    return CTranslatedDialog::OnCommand(id, code, control);
}

LRESULT COptionsSheet::OnNotify(const NMHDR& header, bool& handled) {
    handled = false;
    if (header.hwndFrom != tree_ || (header.code != TVN_SELCHANGEDA && header.code != TVN_SELCHANGEDW)) return 0;
    const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
    const int index = IndexOf(reinterpret_cast<const COptionsPage*>(change.itemNew.lParam));
    if (index >= 0 && index != current_) SelectPage(index);
    handled = true;
    return 0;
}

void COptionsSheet::OnOK() {
    for (const PageRecord& record : pages_) {
        if (record.page->Hwnd()) record.page->OnApply();
    }
    EndDialog(IDOK);
}

void COptionsSheet::OnCancel() {
    for (const PageRecord& record : pages_) {
        if (record.page->Hwnd()) record.page->OnCancel();
    }
    EndDialog(IDCANCEL);
}

}  // namespace settings
