// Language packs: the one lookup through which the program obtains every
// user-visible text, and the bulk translation of menus and windows.
//
// A pack is "<name>.ini" in the program's "Language" folder with a non-empty
// [Info] Language. The active pack is parsed once when it is chosen.
#pragma once

#include "ini_file.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Window and menu handles without <windows.h> (the same types it declares).
struct HWND__;
struct HMENU__;

class CLanguage {
public:
    // Command ids of the language submenu: kFirstLanguageId + pack index.
    static constexpr int kFirstLanguageId = 8888;
    // The main window handles ids 8888 to 8988, so the submenu lists at most
    // this many packs.
    static constexpr int kMaxLanguageItems = 101;

    struct Pack {
        std::string name;      // file name without ".ini"
        std::string fileName;  // as listed
        std::string language;  // [Info] Language, the submenu caption
        long codePage = 0;     // [Info] Codepage, 0 when missing
    };

    static CLanguage* Instance();
    static void DestroyInstance();

    CLanguage();
    CLanguage(const CLanguage&) = delete;
    CLanguage& operator=(const CLanguage&) = delete;

    // Scans `folder` for packs and chooses one: `preferred` by name (any
    // case, the last match wins), else automatically. False when the folder
    // cannot be listed; no pack is then active.
    bool Init(const std::string& folder, const std::string& preferred);

    // Makes pack `index` active; an index outside the list chooses
    // automatically: the first pack written for the system's code page, else
    // the last one named "English" in any case, else none.
    void SelectPack(int index);

    // The active pack's [section] key, unescaped (\t tab, \n line break); the
    // built-in text when there is no pack or the pack lacks the key; an empty
    // text when the pack holds the key with an empty value. No section means
    // "String".
    std::string GetText(std::string_view section, std::string_view key,
                        std::string_view builtin = {}) const;
    std::string GetText(std::string_view section, long id, std::string_view builtin = {}) const;

    // The active pack's name, empty when none is active.
    std::string CurrentName() const;

    const std::string& Folder() const { return folder_; }
    const std::vector<Pack>& Packs() const { return packs_; }
    int Current() const { return current_; }
    const std::string& CurrentPath() const { return currentPath_; }
    bool IsActive() const { return active_; }

    // The code page the automatic choice compares with; the system's ANSI
    // code page unless a test sets another.
    void SetSystemCodePage(unsigned codePage) { systemCodePage_ = codePage; }
    unsigned SystemCodePage() const { return systemCodePage_; }

#ifdef _WIN32
    // Replaces menu captions from section "menu", recursively; popups by the
    // "%dP" key of the first command directly inside them. Language items
    // are left alone. Nothing happens without an active pack.
    void TranslateMenu(HMENU__* menu) const;
    // Replaces the window's title ("title") and the texts of its direct
    // children (by control id; unnamed labels all use "-1").
    void TranslateWindow(HWND__* window, std::string_view section) const;
    // Inserts a separator and the language submenu into submenu
    // `submenuIndex` of `menuBar` at `position`. False (and nothing added)
    // without an active pack.
    bool AddLanguageMenu(HMENU__* menuBar, int submenuIndex, int position);
    // Checks the language item `commandId` and unchecks the others.
    void CheckLanguageItem(int commandId);

    HMENU__* LanguageMenu() const { return languageMenu_; }
    const std::vector<int>& LanguageIds() const { return languageIds_; }
#endif

private:
    int AutomaticChoice() const;

    std::string folder_;
    std::vector<Pack> packs_;
    int current_ = -1;
    std::string currentPath_;
    bool active_ = false;
    IniFile pack_;
    unsigned systemCodePage_;
#ifdef _WIN32
    HMENU__* languageMenu_ = nullptr;
    std::vector<int> languageIds_;
#endif
};

// Replaces backslash-t by a tab and backslash-n by a line break, stepping
// over double-byte characters whole (a trail byte 0x5C is no backslash).
std::string UnescapeLanguageText(std::string_view text);
