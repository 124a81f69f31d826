// The pages of the settings dialog. Three are trees of options; the
// homepage page lists the homepage group. Each page reads its values when it
// is built and writes them in OnApply.
#pragma once

#include "option_tree.h"
#include "option_values.h"
#include "options_page.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CHomepageGroup;
struct HomepageItem;

namespace settings {

// A page holding only an option tree (control 1013).
class COptionTreePage : public COptionsPage {
public:
    using COptionsPage::COptionsPage;
    COptionTree& Tree() { return tree_; }

protected:
    void OnInit() final;
    // Fills the tree.
    virtual void Build() = 0;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

    COptionTree tree_;
};

// "常规设置": auto-run and the new-version check.
class CGeneralPage : public COptionTreePage {
public:
    CGeneralPage();
    void OnApply() override;

private:
    void Build() override;
    GeneralValues values_;
    CheckVersionTexts versionTexts_;
    HTREEITEM autoRun_ = nullptr;
    HTREEITEM autoRunHidden_ = nullptr;
    HTREEITEM checkVersion_ = nullptr;
};

// "用户界面": closing to the tray and the bookmark list's look.
class CInterfacePage : public COptionTreePage {
public:
    CInterfacePage();
    void OnApply() override;

private:
    void Build() override;
    InterfaceValues values_;
    HTREEITEM closeToTray_ = nullptr;
    HTREEITEM urlColumn_ = nullptr;
    HTREEITEM fullRowSelect_ = nullptr;
    HTREEITEM gridLines_ = nullptr;
};

// "杂项": confirmations, how arriving links are filed, the random-open
// count and the browser's toolbar button (registered or removed at once).
class CMiscPage : public COptionTreePage {
public:
    CMiscPage();
    void OnApply() override;

private:
    void Build() override;
    MiscValues values_;
    HTREEITEM promptClass_ = nullptr;
    HTREEITEM promptBookmark_ = nullptr;
    HTREEITEM addLinks_ = nullptr;
    HTREEITEM randomCount_ = nullptr;
    HTREEITEM toolbarButton_ = nullptr;
};

// "主页组": the homepage group's entries, added, edited and deleted at once
// (Cancel keeps the changes).
class CHomepagePage : public COptionsPage {
public:
    // `group`: by default the program's.
    explicit CHomepagePage(CHomepageGroup* group = nullptr);

    HWND List() const { return Item(kListId); }
    // The entry each row shows.
    const std::vector<HomepageItem*>& Rows() const { return rows_; }

private:
    static constexpr int kListId = 1013;
    void OnInit() override;
    bool OnCommand(WORD id, WORD code) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    int SelectedRow() const;
    void SelectRow(int row);
    void AddEntry();
    void EditEntry();
    void DeleteEntry();

    CHomepageGroup* group_;
    // Row i shows entry i of this list; the control holds no data of its
    // own, so a group of 10,000 entries shows at once.
    std::vector<HomepageItem*> rows_;
};

}  // namespace settings
