// Helpers shared by the store's tests: building trees quickly and describing
// them as text.
#pragma once

#include <string>
#include <vector>

#include "bookmark_store.h"

namespace store_test {

// Adds a category named `name` at the end of `parent`'s children.
inline ClassRecord* AddChild(CBookmarkStore& store, ClassRecord* parent, const std::string& name) {
    bool duplicate = false;
    auto* record = new ClassRecord(name);
    ClassRecord* item = store.AddClass(parent, InsertPos::Last(), record, duplicate);
    if (item != record) delete record;
    return item;
}

inline void AddBookmarks(CBookmarkStore& store, ClassRecord* category,
                         const std::vector<std::string>& titles) {
    for (const std::string& title : titles) {
        auto* bookmark = new BookmarkRecord(title, "http://" + title);
        if (!store.AddBookmark(category, nullptr, bookmark)) delete bookmark;
    }
}

// The tree in pre-order, one category per entry, as "name(depth)" with the
// bookmark titles after a colon: "News(0):Daily,Weather".
inline std::vector<std::string> Describe(const CBookmarkStore& store) {
    std::vector<std::string> out;
    const ClassRecord* root = store.Root();
    for (const ClassRecord* c = root->FirstChild(); c; c = NextInPreOrder(c, root)) {
        int depth = 0;
        for (const ClassRecord* p = c->Parent(); p != root; p = p->Parent()) ++depth;
        std::string line = c->name + "(" + std::to_string(depth) + ")";
        if (!c->bookmarks.empty()) {
            line += ":";
            for (std::size_t i = 0; i < c->bookmarks.size(); ++i) {
                if (i) line += ",";
                line += c->bookmarks[i]->title;
            }
        }
        out.push_back(line);
    }
    return out;
}

inline std::vector<std::string> ChildNames(const ClassRecord* parent) {
    std::vector<std::string> out;
    for (const ClassRecord* c = parent->FirstChild(); c; c = c->NextSibling()) out.push_back(c->name);
    return out;
}

}  // namespace store_test
