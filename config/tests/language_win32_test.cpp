// Menu and window translation and the language submenu, on real menus and
// windows.
#include "language.h"

#include "test_support/temp_dir.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;

std::string MenuText(HMENU menu, int position) {
    char buffer[256] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

std::string WindowText(HWND window) {
    char buffer[256] = {};
    ::GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

bool IsChecked(HMENU menu, UINT id) {
    return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// Owns a menu bar built like the main window's: File, Edit, View.
struct MenuBar {
    MenuBar() {
        bar = ::CreateMenu();
        file = ::CreatePopupMenu();
        ::AppendMenuA(file, MF_STRING, 32910, "导入");
        ::AppendMenuA(file, MF_STRING, 32915, "导出...");
        ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(file, MF_STRING, 57665, "退出(&X)");
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "文件(&F)");

        edit = ::CreatePopupMenu();
        nested = ::CreatePopupMenu();
        ::AppendMenuA(nested, MF_STRING, 32775, "增加子类");
        empty = ::CreatePopupMenu();
        ::AppendMenuA(empty, MF_SEPARATOR, 0, nullptr);
        // The popup comes first: the edit popup is keyed by its first command, 32770.
        ::AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(nested), "子菜单");
        ::AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(edit, MF_STRING | MF_CHECKED | MF_GRAYED, 32770, "增加分类");
        ::AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(empty), "空");
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "编辑(&E)");

        view = ::CreatePopupMenu();
        const UINT ids[] = {59392, 59393, 32890, 32935, 32960};
        for (UINT id : ids) ::AppendMenuA(view, MF_STRING, id, "x");
        ::AppendMenuA(view, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(view, MF_STRING, 32785, "自定义工具栏...");
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "查看(&V)");
    }
    ~MenuBar() { ::DestroyMenu(bar); }
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    HMENU bar, file, edit, nested, empty, view;
};

const char kMenuPack[] =
    "[Info]\r\nLanguage=English\r\nCodepage=1252\r\n"
    "[menu]\r\n32910P=&File\r\n32910=&Import...\r\n57665=\r\n32770P=&Edit\r\n32770=Add &Category\r\n"
    "32775P=Nested\r\n32775=Add &Subcategory\r\n59392P=&View\r\n59392=&Toolbar\r\n8888P=&Language\r\n"
    "8888=Never a pack's name\r\n8889=Never either\r\n32905=Select &All\\tCtrl+A\r\n"
    "[dlg_test]\r\ntitle=Test Title\r\n1=OK\r\n-1=Label\r\n1005=Deep\r\n1003=\r\n";

class Win32LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir.File("English.ini"), kMenuPack);
        lang.SetSystemCodePage(1252);
        ASSERT_TRUE(lang.Init(dir.Path().string(), ""));
        ASSERT_EQ(lang.CurrentName(), "English");
    }
    TempDir dir;
    CLanguage lang;
};

TEST_F(Win32LanguageTest, PopupIsTranslatedByItsFirstCommand) {
    MenuBar m;
    lang.TranslateMenu(m.bar);
    EXPECT_EQ(MenuText(m.bar, 0), "&File") << "key 32910P";
    EXPECT_EQ(MenuText(m.bar, 1), "&Edit") << "key 32770P: popups and separators are passed over";
    EXPECT_EQ(MenuText(m.bar, 2), "&View") << "key 59392P";
    EXPECT_EQ(::GetSubMenu(m.bar, 0), m.file) << "the popup keeps its submenu";
}

TEST_F(Win32LanguageTest, CommandsAreTranslatedRecursivelyAndKeepTheirState) {
    MenuBar m;
    lang.TranslateMenu(m.bar);
    EXPECT_EQ(MenuText(m.file, 0), "&Import...");
    EXPECT_EQ(MenuText(m.file, 1), "导出...") << "no key: caption stays";
    EXPECT_EQ(MenuText(m.file, 3), "退出(&X)") << "empty value: caption stays";
    EXPECT_EQ(MenuText(m.edit, 0), "Nested") << "the nested popup is keyed by its own first command";
    EXPECT_EQ(MenuText(m.nested, 0), "Add &Subcategory");
    EXPECT_EQ(MenuText(m.edit, 2), "Add &Category");
    EXPECT_EQ(MenuText(m.edit, 3), "空") << "a popup without a command keeps its caption";
    EXPECT_EQ(::GetMenuItemID(m.edit, 2), 32770u);
    EXPECT_TRUE(IsChecked(m.edit, 32770));
    EXPECT_TRUE(::GetMenuState(m.edit, 32770, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(MenuText(m.view, 0), "&Toolbar");
}

TEST_F(Win32LanguageTest, MenuStaysAsItIsWithoutAPack) {
    CLanguage none;
    none.SetSystemCodePage(936);
    ASSERT_FALSE(none.Init((dir.Path() / "missing").string(), ""));
    MenuBar m;
    none.TranslateMenu(m.bar);
    EXPECT_EQ(MenuText(m.bar, 0), "文件(&F)");
    EXPECT_EQ(MenuText(m.file, 0), "导入");
}

TEST_F(Win32LanguageTest, LanguageSubmenuGoesAfterTheViewItems) {
    MenuBar m;
    ASSERT_TRUE(lang.AddLanguageMenu(m.bar, 2, 7));
    ASSERT_EQ(::GetMenuItemCount(m.view), 9);
    EXPECT_EQ(::GetMenuState(m.view, 7, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    HMENU popup = ::GetSubMenu(m.view, 8);
    ASSERT_EQ(popup, lang.LanguageMenu());
    EXPECT_EQ(MenuText(m.view, 8), "language");
    ASSERT_EQ(::GetMenuItemCount(popup), 1);
    EXPECT_EQ(::GetMenuItemID(popup, 0), 8888u);
    EXPECT_EQ(MenuText(popup, 0), "English");
    EXPECT_TRUE(IsChecked(popup, 8888));

    lang.TranslateMenu(m.bar);
    EXPECT_EQ(MenuText(m.view, 8), "&Language") << "key 8888P";
    EXPECT_EQ(MenuText(popup, 0), "English") << "language items are never translated";
}

TEST_F(Win32LanguageTest, NoSubmenuWithoutAPack) {
    CLanguage none;
    none.SetSystemCodePage(936);
    none.Init((dir.Path() / "missing").string(), "");
    MenuBar m;
    EXPECT_FALSE(none.AddLanguageMenu(m.bar, 2, 7));
    EXPECT_EQ(::GetMenuItemCount(m.view), 7);
    EXPECT_EQ(none.LanguageMenu(), nullptr);
}

TEST(Win32LanguageMenu, TwelvePacksGiveIds8888To8899AndTheCheckFollowsTheChoice) {
    TempDir dir;
    for (int i = 0; i < 12; ++i) {
        WriteBytes(dir.File("pack" + std::to_string(i) + ".ini"),
                   "[Info]\r\nLanguage=Language " + std::to_string(i) + "\r\nCodepage=936\r\n");
    }
    CLanguage lang;
    lang.SetSystemCodePage(936);
    ASSERT_TRUE(lang.Init(dir.Path().string(), ""));
    ASSERT_EQ(lang.Current(), 0);
    MenuBar m;
    ASSERT_TRUE(lang.AddLanguageMenu(m.bar, 2, 7));
    HMENU popup = lang.LanguageMenu();
    ASSERT_EQ(::GetMenuItemCount(popup), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(::GetMenuItemID(popup, i), static_cast<UINT>(8888 + i));
        EXPECT_EQ(MenuText(popup, i), lang.Packs()[static_cast<std::size_t>(i)].language);
        EXPECT_EQ(lang.LanguageIds()[static_cast<std::size_t>(i)], 8888 + i);
    }
    EXPECT_TRUE(IsChecked(popup, 8888));

    // What the main window does for command 8890.
    lang.SelectPack(8890 - CLanguage::kFirstLanguageId);
    lang.CheckLanguageItem(8890);
    EXPECT_EQ(lang.CurrentName(), lang.Packs()[2].name) << "the third pack in listing order";
    for (int i = 0; i < 12; ++i) EXPECT_EQ(IsChecked(popup, static_cast<UINT>(8888 + i)), i == 2) << i;
}

TEST(Win32LanguageMenu, SubmenuListsAtMost101Packs) {
    TempDir dir;
    for (int i = 0; i < 150; ++i) {
        WriteBytes(dir.File("p" + std::to_string(i) + ".ini"), "[Info]\r\nLanguage=L\r\nCodepage=936\r\n");
    }
    CLanguage lang;
    lang.SetSystemCodePage(936);
    ASSERT_TRUE(lang.Init(dir.Path().string(), ""));
    MenuBar m;
    ASSERT_TRUE(lang.AddLanguageMenu(m.bar, 2, 7));
    EXPECT_EQ(::GetMenuItemCount(lang.LanguageMenu()), CLanguage::kMaxLanguageItems);
    EXPECT_EQ(::GetMenuItemID(lang.LanguageMenu(), 100), 8988u);
}

TEST(Win32LanguagePacks, LockedPackIsNotListed) {
    TempDir dir;
    WriteBytes(dir.File("Chinese.ini"), "[Info]\r\nLanguage=简体中文\r\nCodepage=936\r\n");
    WriteBytes(dir.File("English.ini"), "[Info]\r\nLanguage=English\r\nCodepage=1252\r\n");
    HANDLE lock = ::CreateFileA(dir.File("Chinese.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    CLanguage lang;
    lang.SetSystemCodePage(936);
    ASSERT_TRUE(lang.Init(dir.Path().string(), ""));
    ::CloseHandle(lock);
    ASSERT_EQ(lang.Packs().size(), 1u);
    EXPECT_EQ(lang.CurrentName(), "English");
}

// A parent window with direct children and one grandchild.
class WindowTest : public Win32LanguageTest {
protected:
    void SetUp() override {
        Win32LanguageTest::SetUp();
        parent = ::CreateWindowExA(0, "STATIC", "原标题", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        ok = Child(parent, "BUTTON", "确定", 1);
        label16 = Child(parent, "STATIC", "标签一", 0xFFFF);  // -1 in a 16-bit dialog template
        label32 = Child(parent, "STATIC", "标签二", static_cast<UINT_PTR>(-1));
        edit = Child(parent, "EDIT", "用户的文字", 1003);
        other = Child(parent, "STATIC", "没有键", 1010);
        deep = Child(other, "STATIC", "孙子", 1005);
    }
    void TearDown() override {
        if (parent) ::DestroyWindow(parent);
    }
    static HWND Child(HWND owner, const char* cls, const char* text, UINT_PTR id) {
        return ::CreateWindowExA(0, cls, text, WS_CHILD, 0, 0, 50, 20, owner, reinterpret_cast<HMENU>(id), nullptr,
                                 nullptr);
    }
    HWND parent = nullptr, ok = nullptr, label16 = nullptr, label32 = nullptr, edit = nullptr, other = nullptr,
         deep = nullptr;
};

TEST_F(WindowTest, TitleAndDirectChildrenAreTranslated) {
    lang.TranslateWindow(parent, "dlg_test");
    EXPECT_EQ(WindowText(parent), "Test Title");
    EXPECT_EQ(WindowText(ok), "OK");
    EXPECT_EQ(WindowText(label16), "Label") << "unnamed labels use key -1";
    EXPECT_EQ(WindowText(label32), "Label");
    EXPECT_EQ(WindowText(edit), "用户的文字") << "empty value: text stays";
    EXPECT_EQ(WindowText(other), "没有键") << "no key: text stays";
    EXPECT_EQ(WindowText(deep), "孙子") << "only direct children are translated";
}

TEST_F(WindowTest, NothingChangesWithoutAPackOrSection) {
    lang.TranslateWindow(parent, "dlg_nosuchsection");
    EXPECT_EQ(WindowText(parent), "原标题");
    EXPECT_EQ(WindowText(ok), "确定");
    CLanguage none;
    none.SetSystemCodePage(936);
    none.Init((dir.Path() / "missing").string(), "");
    none.TranslateWindow(parent, "dlg_test");
    EXPECT_EQ(WindowText(parent), "原标题");
    EXPECT_EQ(WindowText(label16), "标签一");
}

}  // namespace
