// The main window's texts in the active language pack: the packs loaded
// while the window is created, the main menu with the packs' submenu, the
// window title, and switching to another pack from that submenu.
#include "mainframe/main_frame.h"

#include "framework/program_folder.h"
#include "framework/ui_text.h"
#include "framework/unique_handle.h"
#include "language.h"
#include "resource.h"
#include "setting.h"

namespace {

// The language submenu goes to the end of "查看", the third popup.
constexpr int kViewMenuIndex = 2;
constexpr int kLanguageMenuPosition = 7;

}  // namespace

void CMainFrame::LoadLanguagePacks() {
    CLanguage::Instance()->Init(framework::ProgramFolder() + "Language\\", CSetting::Instance()->General_Language);
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
        HMENU old = ::GetMenu(Hwnd());
        if (::SetMenu(Hwnd(), menu.get())) {
            menu.release();  // the window destroys its menu
            if (old) ::DestroyMenu(old);
            ::DrawMenuBar(Hwnd());
        }
    }
    const std::string title = framework::UiText("mainframe", "10003", "岚舟链匣");
    ::SetWindowTextA(Hwnd(), title.c_str());
}

void CMainFrame::SelectLanguage(WORD id) {
    CLanguage* language = CLanguage::Instance();
    const int index = id - ID_LANGUAGE_FIRST;
    if (index >= static_cast<int>(language->Packs().size())) return;
    language->SelectPack(index);
    ApplyTexts();
    language->CheckLanguageItem(id);
}
