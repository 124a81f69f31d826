// The main window's texts in the active language pack: the packs loaded
// while the window is created, the browser entries named in them, the main
// menu with the packs' submenu, the window title, and switching to another
// pack from that submenu.
#include "mainframe/main_frame.h"

#include "bookmark_list_view.h"
#include "browser_entries.h"
#include "class_tree_view.h"
#include "framework/message_box.h"
#include "framework/program_folder.h"
#include "framework/ui_text.h"
#include "framework/unique_handle.h"
#include "language.h"
#include "resource.h"
#include "setting.h"
#include "toolbar/skin_toolbar.h"

namespace {

// The language submenu goes to the end of "查看", the third popup.
constexpr int kViewMenuIndex = 2;
constexpr int kLanguageMenuPosition = 7;

}  // namespace

void CMainFrame::LoadLanguagePacks() {
    CLanguage::Instance()->Init(framework::ProgramFolder() + "Language\\", CSetting::Instance()->General_Language);
}

// The page, the browser's context-menu entry and toolbar button. Their
// names come from the language pack, so this follows the packs.
void CMainFrame::SetUpBrowserEntries() {
    const bool hint = integration::SetUpBrowserEntries(
        framework::ProgramFolder(), framework::UiText("common", "10000", "添加到岚舟链匣中"),
        framework::UiText("common", "10001", "岚舟链匣"), CSetting::Instance()->Other_IEToolbarButton != 0);
    // Told once the window is up, not before it appears.
    if (hint) ::PostMessageA(Hwnd(), kShowBrowserHint, 0, 0);
}

void CMainFrame::ShowBrowserHint() {
    // One box at a time: after the first-run questions and their wizards,
    // never inside another box's loop.
    const bool othersFirst = (classTree_ && classTree_->FirstRunPending()) || !::IsWindowEnabled(Hwnd());
    if (othersFirst) {
        ::SetTimer(Hwnd(), kBrowserHintTimer, 250, nullptr);
        return;
    }
    framework::ShowMessage(Hwnd(), "mainframe", "10000", "请您先关闭然后再打开您的浏览器,这样您的浏览器才能支持IE右键菜单.",
                           framework::BoxKind::kHint, MB_OK | MB_ICONINFORMATION);
}

// The menu is made afresh from the resources each time, so that a caption
// the newly chosen pack lacks shows its built-in text, not the previous
// pack's.
void CMainFrame::ApplyTexts() {
    CLanguage* language = CLanguage::Instance();
    framework::UniqueMenu menu(::LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_MAINFRAME)));
    if (menu) {
        language->AddLanguageMenu(menu.get(), kViewMenuIndex, kLanguageMenuPosition);
        language->TranslateMenu(menu.get());
        if (menuBar_.Hwnd()) {
            menuBar_.AttachMenu(menu.release());  // the bar destroys the one it showed
        } else {
            HMENU old = ::GetMenu(Hwnd());
            if (::SetMenu(Hwnd(), menu.get())) {
                menu.release();  // the window destroys its menu
                if (old) ::DestroyMenu(old);
                ::DrawMenuBar(Hwnd());
            }
        }
    }
    const std::string title = framework::UiText("mainframe", "10003", "岚舟链匣");
    ::SetWindowTextA(Hwnd(), title.c_str());
    classPane_.SetTitle(framework::UiText("mainframe", "10001", "书签目录"));
    remarkPane_.SetTitle(framework::UiText("mainframe", "10002", "备注"));
    ApplyStatusBarText();
    if (toolbar_) toolbar_->RefreshTexts();
    if (bookmarkList_) bookmarkList_->RefreshTexts();
    FitBand(0, menuBar_.Hwnd());
    FitToolbarBand();
}

void CMainFrame::SelectLanguage(WORD id) {
    CLanguage* language = CLanguage::Instance();
    const int index = id - ID_LANGUAGE_FIRST;
    if (index >= static_cast<int>(language->Packs().size())) return;
    language->SelectPack(index);
    ApplyTexts();
    language->CheckLanguageItem(id);
}
