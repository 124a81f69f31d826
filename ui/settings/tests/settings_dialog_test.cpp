// The settings dialog driven through its real controls: the page tree, the
// option trees with their clicks, keys and in-place editors, and what OK
// and Cancel leave in the settings.
#include "settings_fixture.h"

#include "option_values.h"

#include <gtest/gtest.h>

#include <vector>

namespace settings_test {
namespace {

using Outcome = settings::SettingsOutcome;

// Every key the dialog edits, away from its default where it can be.
const char kNonDefaults[] =
    "<General.AutoRun>0</General.AutoRun><General.AutoRunMinToTry>0</General.AutoRunMinToTry>"
    "<General.CheckVerMode>1</General.CheckVerMode><GUI.BookmarkCol1Show>0</GUI.BookmarkCol1Show>"
    "<GUI.BookmarkViewFullRowSel>0</GUI.BookmarkViewFullRowSel><GUI.BoolmarkViewShowLine>1</GUI.BoolmarkViewShowLine>"
    "<Other.CloseToTray>0</Other.CloseToTray><Other.RandOpenCount>-5</Other.RandOpenCount>"
    "<Other.PromptWhenDelClass>0</Other.PromptWhenDelClass><Other.PromptWhenDelBookmark>0</Other.PromptWhenDelBookmark>"
    "<Other.DisplayAddBookmarkDlg>0</Other.DisplayAddBookmarkDlg><Other.IEToolbarButton>0</Other.IEToolbarButton>";

int PageWindows(HWND sheet) {
    int count = 0;
    for (HWND child = ::GetWindow(sheet, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = "";
        ::GetClassNameA(child, name, sizeof name);
        count += std::string(name) == "#32770";
    }
    return count;
}

void ShowPage(HWND sheet, int index) {
    HWND tree = PageTree(sheet);
    HTREEITEM item = TreeView_GetRoot(tree);
    for (int i = 0; i < index && item; ++i) item = TreeView_GetNextSibling(tree, item);
    Click(tree, item);
}

TEST_F(SettingsDialogTest, OpensOnTheFirstPageAloneAndOkAtOnceChangesNothing) {
    LoadSettings(kNonDefaults);
    const auto before = Snapshot(*CSetting::Instance());
    std::vector<std::string> pages;
    std::string title, banner, ok, cancel;
    bool defaultsHidden = false, defaultsDisabled = false;
    int pageWindows = 0;
    HWND focusPage = nullptr;
    EXPECT_EQ(Run([&](HWND sheet) {
                  title = TextOf(sheet);
                  pages = Describe(PageTree(sheet));
                  banner = TextOf(::GetDlgItem(sheet, IDC_OPTIONS_BANNER));
                  ok = TextOf(::GetDlgItem(sheet, IDOK));
                  cancel = TextOf(::GetDlgItem(sheet, IDCANCEL));
                  HWND defaults = ::GetDlgItem(sheet, IDC_OPTIONS_DEFAULTS);
                  defaultsHidden = defaults && !::IsWindowVisible(defaults);
                  defaultsDisabled = defaults && !::IsWindowEnabled(defaults);
                  // Its command does nothing.
                  ::SendMessageA(sheet, WM_COMMAND, IDC_OPTIONS_DEFAULTS, 0);
                  pageWindows = PageWindows(sheet);
                  focusPage = ::GetParent(::GetFocus());
                  EXPECT_EQ(focusPage, ShownPage(sheet)) << "the page has the focus";
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    EXPECT_EQ(title, "设置中心");
    EXPECT_EQ(pages, (std::vector<std::string>{"0:常规设置[0]", "0:用户界面[1]", "0:主页组[2]", "0:杂项[3]"}));
    EXPECT_EQ(banner, "常规设置");
    EXPECT_EQ(ok, "确定");
    EXPECT_EQ(cancel, "取消");
    EXPECT_TRUE(defaultsHidden);
    EXPECT_TRUE(defaultsDisabled);
    EXPECT_EQ(pageWindows, 1) << "only the first page is made";
    EXPECT_EQ(Snapshot(*CSetting::Instance()), before);
    EXPECT_FALSE(ButtonValue("Exec")) << "the button, off, is not registered by an unchanged OK";
}

// Page "常规设置" from settings away from their defaults; a click and the
// space bar on the checks; the drop-down list opened by selection and by a
// click, written back on a selection change, on focus loss and on OK.
TEST_F(SettingsDialogTest, GeneralPageShowsTogglesAndEditsItsValues) {
    LoadSettings(kNonDefaults);
    std::vector<std::string> shown;
    std::string listShown, captionWhileOpen, afterSelectionChange, afterFocusLoss;
    bool closedLater = false, reopenedByClick = false;
    EXPECT_EQ(Run([&](HWND sheet) {
                  HWND tree = OptionTree(sheet);
                  shown = Describe(tree);
                  Click(tree, Find(tree, "系统启动后自动运行").handle);                       // off -> on
                  Click(tree, Find(tree, "系统启动后自动运行时").handle, Part::kIcon);       // off -> on
                  Select(tree, Find(tree, "系统启动后自动运行时").handle);
                  PressSpace(tree);                                                          // on -> off
                  PressSpace(tree);                                                          // off -> on
                  PressSpace(tree);                                                          // on -> off

                  // Selecting the value item opens its list over the item.
                  Select(tree, Find(tree, "检查新版本的频率").handle);
                  HWND list = Editor(tree, "ComboBox");
                  if (!list) {
                      ADD_FAILURE() << "no list";
                      return dialog_test::Click(sheet, IDCANCEL);
                  }
                  listShown = ComboSelection(list);
                  captionWhileOpen = CaptionOf(tree, "检查新版本的频率");
                  ::SendMessageA(list, CB_SETCURSEL, 0, 0);
                  Select(tree, Find(tree, "在线升级").handle);
                  afterSelectionChange = CaptionOf(tree, "检查新版本的频率");
                  EXPECT_EQ(Editor(tree, "ComboBox"), nullptr);

                  // A click on the selected value item opens it again.
                  Click(tree, Find(tree, "检查新版本的频率").handle);
                  list = Editor(tree, "ComboBox");
                  if (!list) {
                      ADD_FAILURE() << "no list";
                      return dialog_test::Click(sheet, IDCANCEL);
                  }
                  EXPECT_EQ(::GetFocus(), list);
                  ::SendMessageA(list, CB_SETCURSEL, 2, 0);
                  // The focus goes to a button: closed once the focus change
                  // is over, not inside it.
                  ::SetFocus(::GetDlgItem(sheet, IDCANCEL));
                  closedLater = ::IsWindow(list) != FALSE;
                  Pump();
                  afterFocusLoss = CaptionOf(tree, "检查新版本的频率");
                  EXPECT_FALSE(::IsWindow(list));

                  Click(tree, Find(tree, "检查新版本的频率").handle);
                  list = Editor(tree, "ComboBox");
                  reopenedByClick = list != nullptr;
                  if (list) ::SendMessageA(list, CB_SETCURSEL, 1, 0);
                  dialog_test::Click(sheet, IDOK);  // the open list's value counts
              }),
              Outcome::kOk);
    EXPECT_EQ(shown, (std::vector<std::string>{"0:自动运行[8]+", "1:系统启动后自动运行[0]",
                                                "1:系统启动后自动运行时最小化到系统托盘中[0]", "0:在线升级[8]+",
                                                "1:检查新版本的频率: 每次启动检查[8]"}));
    EXPECT_EQ(listShown, "每次启动检查");
    EXPECT_EQ(captionWhileOpen, "检查新版本的频率: ");
    EXPECT_EQ(afterSelectionChange, "检查新版本的频率: 不检查");
    EXPECT_TRUE(closedLater);
    EXPECT_EQ(afterFocusLoss, "检查新版本的频率: 每天检查一次");
    EXPECT_TRUE(reopenedByClick);
    const CSetting* s = CSetting::Instance();
    EXPECT_EQ(s->General_AutoRun, 1);
    EXPECT_EQ(s->General_AutoRunMinToTry, 0);
    EXPECT_EQ(s->General_CheckVerMode, 1);
}

TEST_F(SettingsDialogTest, AnUnknownVersionModeShowsNoTextAndIsKept) {
    LoadSettings("<General.CheckVerMode>7</General.CheckVerMode>");
    std::string caption;
    EXPECT_EQ(Run([&](HWND sheet) {
                  caption = CaptionOf(OptionTree(sheet), "检查新版本的频率");
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    EXPECT_EQ(caption, "检查新版本的频率: ");
    EXPECT_EQ(CSetting::Instance()->General_CheckVerMode, 7);
}

// Page "用户界面": the title column's check is disabled and stays; the
// others follow clicks; Cancel keeps the settings; OK applies.
TEST_F(SettingsDialogTest, InterfacePageKeepsTheDisabledTitleAndAppliesOnlyOnOk) {
    LoadSettings(kNonDefaults);
    std::vector<std::string> shown;
    int titleAfterClicks = -1;
    auto edit = [&](HWND sheet) {
        ShowPage(sheet, 1);
        HWND tree = OptionTree(sheet);
        shown = Describe(tree);
        Click(tree, Find(tree, "标题").handle);
        Select(tree, Find(tree, "标题").handle);
        PressSpace(tree);
        Click(tree, Find(tree, "标题").handle, Part::kIcon);
        titleAfterClicks = ImageOf(tree, "标题");
        Click(tree, Find(tree, "网址").handle, Part::kRight);
        Click(tree, Find(tree, "主窗口关闭").handle);
        Click(tree, Find(tree, "整行选择").handle);
        Click(tree, Find(tree, "显示网格").handle);
    };
    const auto before = Snapshot(*CSetting::Instance());
    EXPECT_EQ(Run([&](HWND sheet) {
                  edit(sheet);
                  dialog_test::Click(sheet, IDCANCEL);
              }),
              Outcome::kCancel);
    EXPECT_EQ(Snapshot(*CSetting::Instance()), before) << "Cancel changes nothing";
    EXPECT_EQ(shown, (std::vector<std::string>{"0:窗口[8]+", "1:主窗口关闭时缩小到系统托盘中[0]", "0:书签列表[8]+",
                                                "1:列表栏显示[8]+", "2:标题[5]", "2:网址[0]", "1:常规[8]+",
                                                "2:整行选择[0]", "2:显示网格[1]"}));
    EXPECT_EQ(titleAfterClicks, 5) << "a disabled check never changes";

    EXPECT_EQ(Run([&](HWND sheet) {
                  edit(sheet);
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    const CSetting* s = CSetting::Instance();
    EXPECT_EQ(s->Other_CloseToTray, 1);
    EXPECT_EQ(s->GUI_BookmarkCol1Show, 1);
    EXPECT_EQ(s->GUI_BookmarkViewFullRowSel, 1);
    EXPECT_EQ(s->GUI_BoolmarkViewShowLine, 0);
    // Pages never shown applied nothing.
    EXPECT_EQ(s->General_AutoRun, 0);
    EXPECT_EQ(s->Other_PromptWhenDelClass, 0);
    EXPECT_EQ(s->Other_RandOpenCount, -5);
}

// A page never shown keeps its settings even when they differ from what an
// empty page would hold.
TEST_F(SettingsDialogTest, OkAppliesOnlyThePagesShown) {
    LoadSettings("");  // defaults: the checks of pages 1 and 3 are on
    EXPECT_EQ(Run([&](HWND sheet) { dialog_test::Click(sheet, IDOK); }), Outcome::kOk);
    const CSetting* s = CSetting::Instance();
    EXPECT_EQ(s->Other_CloseToTray, 1);
    EXPECT_EQ(s->GUI_BookmarkCol1Show, 1);
    EXPECT_EQ(s->Other_PromptWhenDelClass, 1);
    EXPECT_EQ(s->Other_DisplayAddBookmarkDlg, 1);
    EXPECT_EQ(s->Other_RandOpenCount, 10);
}

// Page "杂项": radios exclusive, the count shown signed and read within its
// limits, the toolbar button registered or removed at once, and an OK
// without a change writes nothing to the registry.
TEST_F(SettingsDialogTest, MiscPageRadiosCountAndToolbarButton) {
    LoadSettings(kNonDefaults);
    std::vector<std::string> shown;
    std::string countShown, captionWhileOpen, afterScroll;
    std::vector<int> radios;
    EXPECT_EQ(Run([&](HWND sheet) {
                  ShowPage(sheet, 3);
                  HWND tree = OptionTree(sheet);
                  shown = Describe(tree);
                  Click(tree, Find(tree, "显示加入对话框").handle);
                  radios.push_back(ImageOf(tree, "直接加入当前分类"));
                  radios.push_back(ImageOf(tree, "显示加入对话框"));
                  Click(tree, Find(tree, "显示加入对话框").handle);  // selected already: stays
                  Select(tree, Find(tree, "显示加入对话框").handle);
                  PressSpace(tree);
                  radios.push_back(ImageOf(tree, "显示加入对话框"));

                  Click(tree, Find(tree, "随机打开网页个数").handle);
                  HWND edit = Editor(tree, "Edit");
                  if (!edit) {
                      ADD_FAILURE() << "no edit";
                      return dialog_test::Click(sheet, IDCANCEL);
                  }
                  countShown = TextOf(edit);
                  captionWhileOpen = CaptionOf(tree, "随机打开网页个数");
                  ::SetWindowTextA(edit, "99999999");
                  ::SendMessageA(tree, WM_VSCROLL, SB_LINEDOWN, 0);
                  afterScroll = CaptionOf(tree, "随机打开网页个数");
                  EXPECT_EQ(Editor(tree, "Edit"), nullptr) << "scrolling closes the editor";
                  ::SendMessageA(tree, WM_VSCROLL, SB_TOP, 0);
                  Click(tree, Find(tree, "在删除书签类别前").handle);
                  Click(tree, Find(tree, "在IE工具栏上").handle);
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    EXPECT_EQ(shown, (std::vector<std::string>{"0:确认[8]+", "1:在删除书签类别前提示我[0]", "1:在删除书签前提示我[0]",
                                                "0:高级[8]+", "1:加入书签选项[8]+", "2:直接加入当前分类[3]",
                                                "2:显示加入对话框[2]", "1:随机打开网页个数: -5[8]",
                                                "1:在IE工具栏上增加书签按钮[0]"}));
    EXPECT_EQ(radios, (std::vector<int>{2, 3, 3}));
    EXPECT_EQ(countShown, "-5") << "shown signed";
    EXPECT_EQ(captionWhileOpen, "随机打开网页个数: ");
    EXPECT_EQ(afterScroll, "随机打开网页个数: 99999999");
    const CSetting* s = CSetting::Instance();
    EXPECT_EQ(s->Other_DisplayAddBookmarkDlg, 1);
    EXPECT_EQ(s->Other_RandOpenCount, settings::kMaxRandomOpenCount);
    EXPECT_EQ(s->Other_PromptWhenDelClass, 1);
    EXPECT_EQ(s->Other_PromptWhenDelBookmark, 0);
    EXPECT_EQ(s->Other_IEToolbarButton, 1);
    std::string exec;
    EXPECT_TRUE(ButtonValue("Exec", &exec)) << "registered at once";
    EXPECT_NE(exec.find(".exe"), std::string::npos) << exec;

    // Unchanged: nothing is written (the value deleted stays deleted).
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, integration::kToolbarButtonKey, 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    ::RegDeleteValueA(key, "MenuText");
    ::RegCloseKey(key);
    EXPECT_EQ(Run([&](HWND sheet) {
                  ShowPage(sheet, 3);
                  HWND tree = OptionTree(sheet);
                  // Letters as the count store 0.
                  Click(tree, Find(tree, "随机打开网页个数").handle);
                  if (HWND edit = Editor(tree, "Edit")) ::SetWindowTextA(edit, "abc");
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    EXPECT_FALSE(ButtonValue("MenuText"));
    EXPECT_TRUE(ButtonValue("Exec"));
    EXPECT_EQ(s->Other_RandOpenCount, 0);

    // Cleared: removed at once.
    EXPECT_EQ(Run([&](HWND sheet) {
                  ShowPage(sheet, 3);
                  HWND tree = OptionTree(sheet);
                  Click(tree, Find(tree, "在IE工具栏上").handle);
                  Click(tree, Find(tree, "随机打开网页个数").handle);
                  if (HWND edit = Editor(tree, "Edit")) ::SetWindowTextA(edit, "12");
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    EXPECT_FALSE(ButtonValue("Exec"));
    EXPECT_EQ(s->Other_IEToolbarButton, 0);
    EXPECT_EQ(s->Other_RandOpenCount, 12);
}

TEST_F(SettingsDialogTest, TextsComeFromTheEnglishPack) {
    CLanguage::DestroyInstance();
    ASSERT_TRUE(CLanguage::Instance()->Init(QUORVA_LANGUAGE_DIR, "English"));
    LoadSettings("<General.CheckVerMode>0</General.CheckVerMode>");
    std::string title, banner, ok, caption, header, hint;
    std::vector<std::string> pages, general, face, misc, listEntries;
    EXPECT_EQ(Run([&](HWND sheet) {
                  title = TextOf(sheet);
                  banner = TextOf(::GetDlgItem(sheet, IDC_OPTIONS_BANNER));
                  ok = TextOf(::GetDlgItem(sheet, IDOK));
                  pages = Describe(PageTree(sheet));
                  HWND tree = OptionTree(sheet);
                  general = Describe(tree);
                  Click(tree, Find(tree, "Check for").handle);
                  if (HWND list = Editor(tree, "ComboBox")) {
                      for (int i = 0; i < 3; ++i) {
                          char text[128] = "";
                          ::SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                          listEntries.push_back(text);
                      }
                      ::SendMessageA(list, CB_SETCURSEL, 2, 0);
                  }
                  Select(tree, Find(tree, "Updates").handle);
                  caption = CaptionOf(tree, "Check for");
                  ShowPage(sheet, 1);
                  face = Describe(OptionTree(sheet));
                  ShowPage(sheet, 2);
                  HWND page = ShownPage(sheet);
                  char text[128] = "";
                  HDITEMA column{};
                  column.mask = HDI_TEXT;
                  column.pszText = text;
                  column.cchTextMax = sizeof text;
                  ::SendMessageA(ListView_GetHeader(::GetDlgItem(page, IDC_OPTIONS_TREE)), HDM_GETITEMA, 0,
                                 reinterpret_cast<LPARAM>(&column));
                  header = text;
                  hint = TextOf(::GetDlgItem(page, IDC_HOMEPAGE_HINT));
                  ShowPage(sheet, 3);
                  misc = Describe(OptionTree(sheet));
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    EXPECT_EQ(title, "Settings");
    EXPECT_EQ(ok, "OK");
    EXPECT_EQ(banner, "General");
    EXPECT_EQ(pages, (std::vector<std::string>{"0:General[0]", "0:User Interface[1]", "0:Homepage Group[2]",
                                                "0:Miscellaneous[3]"}));
    EXPECT_EQ(general, (std::vector<std::string>{"0:Start-up[8]+", "1:Start quorva when Windows starts[1]",
                                                  "1:Start minimized to the notification area[1]", "0:Updates[8]+",
                                                  "1:Check for a new version: Never[8]"}));
    EXPECT_EQ(listEntries, (std::vector<std::string>{"Never", "At every start", "Once a day"}));
    EXPECT_EQ(caption, "Check for a new version: Once a day");
    ASSERT_FALSE(face.empty());
    EXPECT_EQ(face[0], "0:Window[8]+");
    EXPECT_EQ(header, "Title");
    EXPECT_EQ(hint.substr(0, 12), "You can also");
    ASSERT_EQ(misc.size(), 9u);
    EXPECT_EQ(misc[7], "1:Number of bookmarks to open at random: 10[8]");
    EXPECT_EQ(CSetting::Instance()->General_CheckVerMode, 2) << "matched against the pack's words";
}

// Labels holding ": " keep it; the value after them is read whole.
TEST_F(SettingsDialogTest, LabelsWithAColonKeepItAndTheirValues) {
    UsePack(
        "[dlg_settingpage0]\r\n10004=Check: how often\r\n10005=Never: off\r\n10006=Start: always\r\n"
        "10007=Daily: once\r\n[dlg_settingpage5]\r\n10007=Random: count\r\n");
    LoadSettings("<General.CheckVerMode>1</General.CheckVerMode>");
    std::string shown, edited, countCaption;
    EXPECT_EQ(Run([&](HWND sheet) {
                  HWND tree = OptionTree(sheet);
                  shown = CaptionOf(tree, "Check: how often");
                  Click(tree, Find(tree, "Check: how often").handle);
                  if (HWND list = Editor(tree, "ComboBox")) ::SendMessageA(list, CB_SETCURSEL, 2, 0);
                  Click(tree, Find(tree, "自动运行").handle);
                  edited = CaptionOf(tree, "Check: how often");
                  ShowPage(sheet, 3);
                  HWND misc = OptionTree(sheet);
                  Click(misc, Find(misc, "Random: count").handle);
                  if (HWND edit = Editor(misc, "Edit")) ::SetWindowTextA(edit, "7");
                  Click(misc, Find(misc, "高级").handle);
                  countCaption = CaptionOf(misc, "Random: count");
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    EXPECT_EQ(shown, "Check: how often: Start: always");
    EXPECT_EQ(edited, "Check: how often: Daily: once");
    EXPECT_EQ(countCaption, "Random: count: 7");
    EXPECT_EQ(CSetting::Instance()->General_CheckVerMode, 2);
    EXPECT_EQ(CSetting::Instance()->Other_RandOpenCount, 7);
}

TEST_F(SettingsDialogTest, BannerFadesToBlackAndSurvivesNoSize) {
    COLORREF left = 0, right = 0;
    std::string afterSwitch;
    EXPECT_EQ(Run([&](HWND sheet) {
                  HWND banner = ::GetDlgItem(sheet, IDC_OPTIONS_BANNER);
                  ::UpdateWindow(sheet);
                  RECT area{};
                  ::GetClientRect(banner, &area);
                  HDC dc = ::GetDC(banner);
                  left = ::GetPixel(dc, 1, 1);
                  right = ::GetPixel(dc, area.right - 1, 1);
                  ::ReleaseDC(banner, dc);
                  ShowPage(sheet, 2);
                  afterSwitch = TextOf(banner);
                  // No width, then no height: drawn without harm.
                  ::SetWindowPos(banner, nullptr, 0, 0, 0, 20, SWP_NOMOVE | SWP_NOZORDER);
                  ::RedrawWindow(banner, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                  ::SetWindowPos(banner, nullptr, 0, 0, 200, 0, SWP_NOMOVE | SWP_NOZORDER);
                  ::RedrawWindow(banner, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                  DRAWITEMSTRUCT empty{};
                  empty.CtlType = ODT_STATIC;
                  empty.CtlID = IDC_OPTIONS_BANNER;
                  empty.hwndItem = banner;
                  empty.hDC = ::GetDC(banner);
                  ::SendMessageA(sheet, WM_DRAWITEM, IDC_OPTIONS_BANNER, reinterpret_cast<LPARAM>(&empty));
                  ::ReleaseDC(banner, empty.hDC);
                  dialog_test::Click(sheet, IDCANCEL);
              }),
              Outcome::kCancel);
    EXPECT_LT(GetRValue(left) + GetGValue(left) + GetBValue(left), 60) << std::hex << left;
    EXPECT_EQ(right, ::GetSysColor(COLOR_BTNFACE)) << std::hex << right;
    EXPECT_EQ(afterSwitch, "主页组");
}

}  // namespace
}  // namespace settings_test
