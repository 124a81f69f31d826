// The Win32 half of CLanguage: bulk translation of menus and windows and the
// language submenu.
#include "language.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

struct MenuItem {
    UINT id = 0;
    HMENU submenu = nullptr;
    bool separator = false;
};

bool ReadItem(HMENU menu, int position, MenuItem& item) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return false;
    item.id = info.wID;
    item.submenu = info.hSubMenu;
    item.separator = (info.fType & MFT_SEPARATOR) != 0 || (!info.hSubMenu && info.wID == 0);
    return true;
}

void SetCaption(HMENU menu, int position, const std::string& text) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;  // keeps the id, the submenu and the state
    info.dwTypeData = const_cast<char*>(text.c_str());
    ::SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
}

// The first command directly inside a popup: neither a separator nor a popup.
bool FirstCommandId(HMENU popup, UINT& id) {
    int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        MenuItem item;
        if (!ReadItem(popup, i, item) || item.separator || item.submenu) continue;
        id = item.id;
        return true;
    }
    return false;
}

// Nesting deeper than this is a menu that contains itself.
constexpr int kMaxMenuDepth = 32;

}  // namespace

void CLanguage::TranslateMenu(HMENU__* menu) const {
    if (!active_ || !menu) return;
    struct Walker {
        const CLanguage& lang;
        void Run(HMENU m, int depth) const {
            if (depth > kMaxMenuDepth) return;
            int count = ::GetMenuItemCount(m);
            for (int i = 0; i < count; ++i) {
                MenuItem item;
                if (!ReadItem(m, i, item) || item.separator) continue;
                if (item.submenu) {
                    UINT first = 0;
                    if (FirstCommandId(item.submenu, first)) {
                        std::string text = lang.GetText("menu", std::to_string(static_cast<int>(first)) + "P");
                        if (!text.empty()) SetCaption(m, i, text);
                    }
                    Run(item.submenu, depth + 1);
                    continue;
                }
                const auto& ids = lang.languageIds_;
                if (std::find(ids.begin(), ids.end(), static_cast<int>(item.id)) != ids.end()) continue;
                std::string text = lang.GetText("menu", static_cast<long>(static_cast<int>(item.id)));
                if (!text.empty()) SetCaption(m, i, text);
            }
        }
    };
    Walker{*this}.Run(menu, 0);
}

void CLanguage::TranslateWindow(HWND__* window, std::string_view section) const {
    if (!active_ || !window) return;
    std::string title = GetText(section, "title");
    if (!title.empty()) ::SetWindowTextA(window, title.c_str());
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        int id = ::GetDlgCtrlID(child);
        // Dialog templates keep ids in 16 bits: an unnamed label's -1 reads 0xFFFF.
        if (id == 0xFFFF) id = -1;
        std::string text = GetText(section, static_cast<long>(id));
        if (!text.empty()) ::SetWindowTextA(child, text.c_str());
    }
}

bool CLanguage::AddLanguageMenu(HMENU__* menuBar, int submenuIndex, int position) {
    if (!active_ || !menuBar) return false;
    HMENU parent = ::GetSubMenu(menuBar, submenuIndex);
    if (!parent) return false;
    HMENU popup = ::CreatePopupMenu();
    if (!popup) return false;

    std::vector<int> ids;
    int count = static_cast<int>(std::min<std::size_t>(packs_.size(), kMaxLanguageItems));
    for (int i = 0; i < count; ++i) {
        UINT flags = MF_STRING | (i == current_ ? MF_CHECKED : MF_UNCHECKED);
        int id = kFirstLanguageId + i;
        ::AppendMenuA(popup, flags, static_cast<UINT_PTR>(id), packs_[static_cast<std::size_t>(i)].language.c_str());
        ids.push_back(id);
    }
    UINT pos = static_cast<UINT>(position);
    if (!::InsertMenuA(parent, pos, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr)) {
        ::DestroyMenu(popup);
        return false;
    }
    if (!::InsertMenuA(parent, pos + 1, MF_BYPOSITION | MF_POPUP | MF_STRING,
                       reinterpret_cast<UINT_PTR>(popup), "language")) {
        ::DeleteMenu(parent, pos, MF_BYPOSITION);
        ::DestroyMenu(popup);
        return false;
    }
    languageMenu_ = popup;  // owned by `parent` from now on
    languageIds_ = std::move(ids);
    return true;
}

void CLanguage::CheckLanguageItem(int commandId) {
    if (!languageMenu_ || !::IsMenu(languageMenu_)) return;
    for (int id : languageIds_) {
        ::CheckMenuItem(languageMenu_, static_cast<UINT>(id),
                        MF_BYCOMMAND | (id == commandId ? MF_CHECKED : MF_UNCHECKED));
    }
}
