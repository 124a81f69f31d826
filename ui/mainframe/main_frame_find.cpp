// Edit > Find and Tools > Find duplicates: one find window, owned by the
// main window, which shows a result by selecting its category in the tree
// and the bookmark in the list, where the list's own commands act on it.
#include "mainframe/main_frame.h"

#include <commctrl.h>

#include "bookmark_list_view.h"
#include "bookmark_store.h"
#include "class_tree_view.h"
#include "find_window.h"
#include "transfer_job.h"

class CMainFrame::FindHost final : public searchui::IFindHost {
public:
    explicit FindHost(CMainFrame& frame) : frame_(frame) {}

    bool ShowBookmark(const ClassRecord* category, const BookmarkRecord* bookmark) override {
        if (!frame_.classTree_ || !frame_.bookmarkList_ || transfer::CTransferJob::CollectionHeld()) return false;
        // The tree's items know the records as changeable; the record itself is not changed here.
        HTREEITEM item = frame_.classTree_->EnsureItem(const_cast<ClassRecord*>(category));
        if (!item) return false;
        HWND tree = frame_.classTree_->Tree();
        TreeView_EnsureVisible(tree, item);
        TreeView_SelectItem(tree, item);
        if (!frame_.bookmarkList_->SelectOnly(bookmark)) return false;
        ::SetFocus(frame_.bookmarkList_->List());
        return true;
    }

    void RunListCommand(WORD id) override { ::SendMessageA(frame_.Hwnd(), WM_COMMAND, id, 0); }

private:
    CMainFrame& frame_;
};

void CMainFrame::OpenFindWindow(bool duplicates) {
    if (!find_) {
        findHost_ = std::make_unique<FindHost>(*this);
        find_ = std::make_unique<searchui::CFindWindow>(CBookmarkStore::Instance(), *findHost_);
    }
    find_->Open(Hwnd(), duplicates ? searchui::CFindWindow::Mode::kDuplicates : searchui::CFindWindow::Mode::kSearch);
}
