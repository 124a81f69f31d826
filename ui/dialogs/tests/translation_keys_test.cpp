// Every text of the dialogs' resources can be translated: the language-pack
// key list names it under the dialog's section with the resource's own text,
// so that the packs, which are checked against that list, cover the dialogs.
#include "dialog_texts.h"
#include "language_keys.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

std::map<std::pair<std::string, std::string>, std::string> KeyList() {
    std::map<std::pair<std::string, std::string>, std::string> keys;
    for (const LanguageKey& k : LanguageKeys()) keys[{k.section, k.key}] = k.builtin ? k.builtin : "";
    return keys;
}

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

struct Texts {
    std::string title;
    std::vector<std::pair<int, std::string>> controls;  // id, text
};

// The dialog's title and the texts of its controls as the resource gives them.
Texts ResourceTexts(int templateId) {
    Texts texts;
    HWND dialog = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, Quiet, 0);
    if (!dialog) return texts;
    char buffer[512];
    ::GetWindowTextA(dialog, buffer, sizeof buffer);
    texts.title = buffer;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            ::GetDlgCtrlID(child) >= IDC_DIALOG_ICON) {
            continue;  // pictures, whose "text" names an icon
        }
        buffer[0] = '\0';
        ::GetWindowTextA(child, buffer, sizeof buffer);
        if (buffer[0]) texts.controls.emplace_back(::GetDlgCtrlID(child), buffer);
    }
    ::DestroyWindow(dialog);
    return texts;
}

TEST(TranslationKeys, EveryResourceTextHasItsKeyWithTheSameBuiltinText) {
    const auto keys = KeyList();
    const std::pair<int, std::string_view> dialogs[] = {
        {IDD_ADDBOOKMARK, dialogs::kBookmarkSection}, {IDD_ADDCLASS, dialogs::kClassSection},
        {IDD_ADDHOMEPAGE, dialogs::kHomepageSection}, {IDD_SELECTCLASS, dialogs::kSelectClassSection},
        {IDD_MOVECLASSTO, dialogs::kMoveClassSection}, {IDD_REPLACE, dialogs::kReplaceSection},
        {IDD_ABOUT, dialogs::kAboutSection}};
    for (auto [id, section] : dialogs) {
        const Texts texts = ResourceTexts(id);
        ASSERT_FALSE(texts.title.empty()) << id;
        const std::string s(section);
        auto title = keys.find({s, "title"});
        ASSERT_NE(title, keys.end()) << s;
        EXPECT_EQ(title->second, texts.title) << s;
        EXPECT_FALSE(texts.controls.empty()) << s;
        for (const auto& [control, text] : texts.controls) {
            auto key = keys.find({s, std::to_string(control)});
            ASSERT_NE(key, keys.end()) << s << " " << control << " " << text;
            EXPECT_EQ(key->second, text) << s << " " << control;
        }
    }
}

TEST(TranslationKeys, TextsTheDialogsLookUpAreListed) {
    const auto keys = KeyList();
    std::vector<dialogs::TextKey> used = {dialogs::kUpdateButton,       dialogs::kInvalidChars,
                                          dialogs::kBookmarkTitleEmpty, dialogs::kBookmarkUrlEmpty,
                                          dialogs::kHomepageTitleEmpty, dialogs::kHomepageUrlEmpty};
    for (int mode = 0; mode < 4; ++mode) {
        used.push_back(dialogs::ClassModeTexts(mode).title);
        used.push_back(dialogs::ClassModeTexts(mode).label);
    }
    for (int mode = 0; mode < 2; ++mode) {
        used.push_back(dialogs::BookmarkModeTexts(mode).title);
        used.push_back(dialogs::HomepageModeTexts(mode).title);
    }
    for (const auto& k : used) {
        auto found = keys.find({std::string(k.section), std::string(k.key)});
        ASSERT_NE(found, keys.end()) << k.section << "/" << k.key;
        EXPECT_EQ(found->second, k.builtin) << k.section << "/" << k.key;
    }
}

}  // namespace
