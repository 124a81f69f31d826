// The settings dialog (template 101): the tree of pages on the left, the
// title banner over the selected page on the right. Pages are made when
// they are first shown; OK applies, in order, every page that was shown.
// One settings dialog is open at a time.
#pragma once

#include "options_page.h"
#include "title_banner.h"
#include "translated_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

namespace settings {

class COptionsSheet : public dialogs::CTranslatedDialog {
public:
    COptionsSheet();
    ~COptionsSheet() override;

    // Adds `page` (not owned; it must outlive the dialog) under `parent`
    // (none: at the top level) with `title` and picture `image` of the page
    // pictures. Before DoModal.
    void AddPage(COptionsPage* page, std::string title, int image, COptionsPage* parent = nullptr);
    // The page selected first (by default the first).
    void SetStartPage(int index) { startPage_ = index; }

    std::size_t PageCount() const { return pages_.size(); }
    int CurrentPage() const { return current_; }
    // Shows page `index`, making its window if needed.
    void SelectPage(int index);

    // The settings dialog open now on this thread, if any.
    static COptionsSheet* Open();

protected:
    bool OnOpen() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT OnNotify(const NMHDR& header, bool& handled) override;

private:
    struct PageRecord {
        COptionsPage* page = nullptr;
        std::string title;
        int image = 0;
        COptionsPage* parent = nullptr;
    };

    int IndexOf(const COptionsPage* page) const;

    std::vector<PageRecord> pages_;
    std::map<const COptionsPage*, HTREEITEM> items_;
    RECT pageRect_{};
    int current_ = -1;
    int startPage_ = -1;
    HWND tree_ = nullptr;
    HIMAGELIST images_ = nullptr;
    CTitleBanner banner_;
};

}  // namespace settings
