// Shared by the dialogs' tests: a small category tree, reading tree views
// back, and a language pack that is active for one test.
#pragma once

#include "bookmark_store.h"
#include "store_test_helpers.h"
#include "language.h"
#include "test_support/temp_dir.h"

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <string>
#include <vector>

namespace dialogs_test {

using store_test::AddChild;

// News (expanded)
//   World
//     Europe
//   Sport
// Tools
// 音乐 (expanded)
//   Jazz
struct SampleTree {
    SampleTree() {
        news = AddChild(store, nullptr, "News");
        world = AddChild(store, news, "World");
        europe = AddChild(store, world, "Europe");
        sport = AddChild(store, news, "Sport");
        tools = AddChild(store, nullptr, "Tools");
        music = AddChild(store, nullptr, "音乐");
        jazz = AddChild(store, music, "Jazz");
        store.SetExpanded(news, true);
        store.SetExpanded(music, true);
    }
    ClassRecord* Root() { return store.Root(); }

    CBookmarkStore store;
    ClassRecord *news, *world, *europe, *sport, *tools, *music, *jazz;
};

inline TVITEMA ItemInfo(HWND tree, HTREEITEM item, char* text, int size) {
    TVITEMA info{};
    info.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.stateMask = TVIS_EXPANDED;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = size;
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

// The tree view's items in pre-order as "depth:text[+ if expanded]", checking
// on the way that each item carries the category of its text.
inline std::vector<std::string> DescribeTree(HWND tree, bool& paramsMatch, bool& imagesRight) {
    std::vector<std::string> out;
    paramsMatch = imagesRight = true;
    struct Level {
        HTREEITEM item;
        int depth;
    };
    std::vector<Level> stack;
    auto first = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (first) stack.push_back({first, 0});
    while (!stack.empty()) {
        Level level = stack.back();
        stack.pop_back();
        char text[256] = "";
        const TVITEMA info = ItemInfo(tree, level.item, text, sizeof text);
        const auto* record = reinterpret_cast<const ClassRecord*>(info.lParam);
        paramsMatch = paramsMatch && record && record->name == text;
        imagesRight = imagesRight && info.iImage == 0 && info.iSelectedImage == 1;
        out.push_back(std::to_string(level.depth) + ":" + text + ((info.state & TVIS_EXPANDED) ? "+" : ""));
        auto next = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(level.item)));
        if (next) stack.push_back({next, level.depth});
        auto child = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(level.item)));
        if (child) stack.push_back({child, level.depth + 1});
    }
    return out;
}

// Selects the item of `record` in the tree view, as a click would.
inline bool SelectRecord(HWND tree, const ClassRecord* record) {
    std::vector<HTREEITEM> stack;
    auto first = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (first) stack.push_back(first);
    while (!stack.empty()) {
        HTREEITEM item = stack.back();
        stack.pop_back();
        char text[256] = "";
        if (reinterpret_cast<const ClassRecord*>(ItemInfo(tree, item, text, sizeof text).lParam) == record)
            return ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
        for (UINT how : {TVGN_NEXT, TVGN_CHILD}) {
            auto other = reinterpret_cast<HTREEITEM>(
                ::SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
            if (other) stack.push_back(other);
        }
    }
    return false;
}

inline std::string SelectedText(HWND tree) {
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return "(none)";
    char text[256] = "";
    ItemInfo(tree, item, text, sizeof text);
    return text;
}

// A language pack holding `body`, active while the object lives.
class ActivePack {
public:
    explicit ActivePack(const std::string& body) {
        std::ofstream pack(dir_.Path() / "Tester.ini", std::ios::binary);
        pack << "[Info]\r\nLanguage=Tester\r\n" << body;
        pack.close();
        CLanguage::DestroyInstance();
        active_ = CLanguage::Instance()->Init(dir_.Path().string(), "Tester") && CLanguage::Instance()->IsActive();
    }
    ~ActivePack() { CLanguage::DestroyInstance(); }
    bool Active() const { return active_; }

private:
    testing_support::TempDir dir_;
    bool active_ = false;
};

}  // namespace dialogs_test
