// The three pages that are trees of options.
#include "option_pages.h"

#include "browser_entries.h"
#include "framework/ui_text.h"
#include "option_rules.h"
#include "resource.h"
#include "setting.h"

namespace settings {

void COptionTreePage::OnInit() {
    tree_.Attach(Item(IDC_OPTIONS_TREE), Instance());
    Build();
}

bool COptionTreePage::OnNotify(const NMHDR& header, LRESULT& result) { return tree_.OnNotify(header, result); }

CGeneralPage::CGeneralPage() : COptionTreePage(IDD_OPTIONS_GENERAL, "dlg_settingpage0") {}

void CGeneralPage::Build() {
    values_ = ReadGeneral(*CSetting::Instance());
    const CheckVersionTexts builtin = BuiltinCheckVersionTexts();
    versionTexts_ = {Text("10005", builtin[0]), Text("10006", builtin[1]), Text("10007", builtin[2])};

    HTREEITEM autoRun = tree_.AddGroup(Text("10000", "自动运行"), kGroupImage);
    autoRun_ = tree_.AddCheck(Text("10001", "系统启动后自动运行"), autoRun, values_.autoRun);
    autoRunHidden_ = tree_.AddCheck(Text("10002", "系统启动后自动运行时最小化到系统托盘中"), autoRun, values_.autoRunHidden);
    HTREEITEM update = tree_.AddGroup(Text("10003", "在线升级"), kGroupImage);
    checkVersion_ = tree_.AddGroup(Text("10004", "检查新版本的频率"), kGroupImage, update);
    tree_.AttachInPlaceClass(checkVersion_, &MakeEditor<CCheckNewVersionComboBox>);
    tree_.SetValueText(checkVersion_, CheckVersionText(values_.checkVersionMode, versionTexts_));
    tree_.Expand(autoRun);
    tree_.Expand(update);
}

void CGeneralPage::OnApply() {
    tree_.CloseEditor();
    values_.autoRun = tree_.IsChecked(autoRun_);
    values_.autoRunHidden = tree_.IsChecked(autoRunHidden_);
    // A text that is none of the three leaves the mode as it was.
    if (const auto mode = CheckVersionMode(tree_.GetValueText(checkVersion_), versionTexts_)) {
        values_.checkVersionMode = *mode;
    }
    WriteGeneral(values_, *CSetting::Instance());
}

CInterfacePage::CInterfacePage() : COptionTreePage(IDD_OPTIONS_INTERFACE, "dlg_settingpage1") {}

void CInterfacePage::Build() {
    values_ = ReadInterface(*CSetting::Instance());
    HTREEITEM window = tree_.AddGroup(Text("10000", "窗口"), kGroupImage);
    closeToTray_ = tree_.AddCheck(Text("10001", "主窗口关闭时缩小到系统托盘中"), window, values_.closeToTray);
    HTREEITEM list = tree_.AddGroup(Text("10002", "书签列表"), kGroupImage);
    HTREEITEM columns = tree_.AddGroup(Text("10003", "列表栏显示"), kGroupImage, list);
    // The title column is always shown.
    HTREEITEM title = tree_.AddCheck(Text("10004", "标题"), columns, true);
    tree_.EnableCheck(title, false);
    urlColumn_ = tree_.AddCheck(Text("10005", "网址"), columns, values_.urlColumn);
    HTREEITEM general = tree_.AddGroup(Text("10006", "常规"), kGroupImage, list);
    fullRowSelect_ = tree_.AddCheck(Text("10007", "整行选择"), general, values_.fullRowSelect);
    gridLines_ = tree_.AddCheck(Text("10008", "显示网格"), general, values_.gridLines);
    for (HTREEITEM group : {window, columns, general, list}) tree_.Expand(group);
}

void CInterfacePage::OnApply() {
    tree_.CloseEditor();
    values_.closeToTray = tree_.IsChecked(closeToTray_);
    values_.urlColumn = tree_.IsChecked(urlColumn_);
    values_.fullRowSelect = tree_.IsChecked(fullRowSelect_);
    values_.gridLines = tree_.IsChecked(gridLines_);
    WriteInterface(values_, *CSetting::Instance());
}

CMiscPage::CMiscPage() : COptionTreePage(IDD_OPTIONS_MISC, "dlg_settingpage5") {}

void CMiscPage::Build() {
    values_ = ReadMisc(*CSetting::Instance());
    HTREEITEM confirm = tree_.AddGroup(Text("10000", "确认"), kGroupImage);
    promptClass_ = tree_.AddCheck(Text("10001", "在删除书签类别前提示我"), confirm, values_.promptDeleteClass);
    promptBookmark_ = tree_.AddCheck(Text("10002", "在删除书签前提示我"), confirm, values_.promptDeleteBookmark);
    HTREEITEM advanced = tree_.AddGroup(Text("10003", "高级"), kGroupImage);
    addLinks_ = tree_.AddGroup(Text("10004", "加入书签选项"), kGroupImage, advanced);
    tree_.AddRadio(Text("10005", "直接加入当前分类"), addLinks_, !values_.addBookmarkDialog);
    tree_.AddRadio(Text("10006", "显示加入对话框"), addLinks_, values_.addBookmarkDialog);
    randomCount_ = tree_.AddGroup(Text("10007", "随机打开网页个数"), kGroupImage, advanced);
    tree_.AttachInPlaceClass(randomCount_, &MakeEditor<CDemoEdit>);
    tree_.SetValueText(randomCount_, FormatRandomOpenCount(values_.randomOpenCount));
    toolbarButton_ = tree_.AddCheck(Text("10008", "在IE工具栏上增加书签按钮"), advanced, values_.toolbarButton);
    for (HTREEITEM group : {confirm, addLinks_, randomCount_, advanced}) tree_.Expand(group);
}

void CMiscPage::OnApply() {
    tree_.CloseEditor();
    values_.promptDeleteClass = tree_.IsChecked(promptClass_);
    values_.promptDeleteBookmark = tree_.IsChecked(promptBookmark_);
    values_.addBookmarkDialog = tree_.SelectedRadio(addLinks_) == 1;
    values_.randomOpenCount = RandomOpenCountAfterEdit(values_.randomOpenCount, tree_.GetValueText(randomCount_));
    const bool buttonBefore = CSetting::Instance()->Other_IEToolbarButton != 0;
    values_.toolbarButton = tree_.IsChecked(toolbarButton_);
    WriteMisc(values_, *CSetting::Instance());
    // The browser's button follows at once, and only when it changed.
    integration::ApplyToolbarButtonChange(buttonBefore, values_.toolbarButton,
                                          framework::UiText("common", "10001", "岚舟链匣"));
}

}  // namespace settings
