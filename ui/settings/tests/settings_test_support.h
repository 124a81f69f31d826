// Shared by the settings dialog's tests: reading the sheet, its page tree
// and its option trees back, and driving them as a user would (clicks at the
// items' rectangles, the space bar, the editors found as the tree's child).
#pragma once

#include "resource.h"
#include "setting.h"

#include <windows.h>
#include <cstring>
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace settings_test {

inline void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

inline std::string TextOf(HWND window) {
    char text[512] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// The page window shown on the sheet now.
inline HWND ShownPage(HWND sheet) {
    for (HWND child = ::GetWindow(sheet, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = "";
        ::GetClassNameA(child, name, sizeof name);
        if (std::string(name) == "#32770" && ::IsWindowVisible(child)) return child;
    }
    return nullptr;
}

inline HWND PageTree(HWND sheet) { return ::GetDlgItem(sheet, IDC_OPTIONS_TREE); }
inline HWND OptionTree(HWND sheet) { return ::GetDlgItem(ShownPage(sheet), IDC_OPTIONS_TREE); }

struct Item {
    HTREEITEM handle = nullptr;
    int depth = 0;
    std::string text;
    int image = -1;
    bool expanded = false;
};

// Every item in pre-order.
inline std::vector<Item> Items(HWND tree) {
    std::vector<Item> out;
    struct Level {
        HTREEITEM item;
        int depth;
    };
    std::vector<Level> stack;
    if (HTREEITEM root = TreeView_GetRoot(tree)) stack.push_back({root, 0});
    while (!stack.empty()) {
        const Level level = stack.back();
        stack.pop_back();
        char text[512] = "";
        TVITEMA info{};
        info.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE | TVIF_HANDLE;
        info.stateMask = TVIS_EXPANDED;
        info.hItem = level.item;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        out.push_back({level.item, level.depth, text, info.iImage, (info.state & TVIS_EXPANDED) != 0});
        if (HTREEITEM next = TreeView_GetNextSibling(tree, level.item)) stack.push_back({next, level.depth});
        if (HTREEITEM child = TreeView_GetChild(tree, level.item)) stack.push_back({child, level.depth + 1});
    }
    return out;
}

// "depth:text[image]" (+ when expanded) of every item.
inline std::vector<std::string> Describe(HWND tree) {
    std::vector<std::string> out;
    for (const Item& item : Items(tree)) {
        out.push_back(std::to_string(item.depth) + ":" + item.text + "[" + std::to_string(item.image) + "]" +
                      (item.expanded ? "+" : ""));
    }
    return out;
}

// The item whose caption starts with `prefix`.
inline Item Find(HWND tree, const std::string& prefix) {
    for (const Item& item : Items(tree)) {
        if (item.text.compare(0, prefix.size(), prefix) == 0) return item;
    }
    return {};
}

inline int ImageOf(HWND tree, const std::string& prefix) { return Find(tree, prefix).image; }
inline std::string CaptionOf(HWND tree, const std::string& prefix) { return Find(tree, prefix).text; }

enum class Part { kLabel, kIcon, kRight };

// A left click on a part of the item, as the mouse gives it.
inline void Click(HWND tree, HTREEITEM item, Part part = Part::kLabel) {
    RECT text{};
    std::memcpy(&text, &item, sizeof item);  // the item goes in, its rectangle comes out
    ::SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text));
    RECT client{};
    ::GetClientRect(tree, &client);
    int x = (text.left + text.right) / 2;
    if (part == Part::kIcon) x = text.left - 8;
    if (part == Part::kRight) x = client.right - 3;
    const LPARAM at = MAKELPARAM(x, (text.top + text.bottom) / 2);
    ::SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(tree, WM_LBUTTONUP, 0, at);
    Pump();
}

inline void PressSpace(HWND tree) {
    ::SendMessageA(tree, WM_KEYDOWN, VK_SPACE, 0x00390001);
    ::SendMessageA(tree, WM_CHAR, ' ', 0x00390001);
    ::SendMessageA(tree, WM_KEYUP, VK_SPACE, 0xC0390001);
    Pump();
}

inline void Select(HWND tree, HTREEITEM item) {
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Pump();
}

// The in-place editor: the tree's child of `className` ("ComboBox", "Edit").
inline HWND Editor(HWND tree, const char* className) { return ::FindWindowExA(tree, nullptr, className, nullptr); }

inline std::string ComboSelection(HWND combo) {
    const LRESULT selected = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return "(none)";
    char text[256] = "";
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
    return text;
}

// Every numeric and text key's value, by key, to compare before and after.
inline std::map<std::string, std::string> Snapshot(const CSetting& s) {
    std::map<std::string, std::string> out;
    for (const SettingItem& item : s.Items()) {
        if (item.type == ST_BOOL) out[item.name] = std::to_string(*static_cast<const std::uint8_t*>(item.value));
        if (item.type == ST_INT) out[item.name] = std::to_string(*static_cast<const std::int32_t*>(item.value));
        if (item.type == ST_STRING) out[item.name] = *static_cast<const std::string*>(item.value);
    }
    return out;
}

}  // namespace settings_test
