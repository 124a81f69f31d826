// One category: its name, the bookmarks it owns, and its place in the
// category tree. The tree links are kept by CBookmarkStore, which owns every
// category; the record's pointer is the category's identity and stays valid
// across moves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bookmark_record.h"
#include "title_index.h"

class ClassRecord {
public:
    ClassRecord() = default;
    explicit ClassRecord(std::string categoryName) : name(std::move(categoryName)) {}
    // Deletes the bookmarks; sub-categories are freed by the store.
    ~ClassRecord();
    ClassRecord(const ClassRecord&) = delete;
    ClassRecord& operator=(const ClassRecord&) = delete;

    std::int32_t kind = 0;  // always 0: a category
    std::string name;
    // In display order; the category owns them. Add and remove through the
    // store (AddBookmark, DiscardBookmark); after editing titles in place call
    // CBookmarkStore::SetModified(true).
    std::vector<BookmarkRecord*> bookmarks;

    // The parent category; the store's root for a top-level category; none for
    // the root itself and for a record not in the tree.
    ClassRecord* Parent() const { return parent_; }
    ClassRecord* FirstChild() const { return firstChild_; }
    ClassRecord* LastChild() const { return lastChild_; }
    ClassRecord* PrevSibling() const { return prevSibling_; }
    ClassRecord* NextSibling() const { return nextSibling_; }
    bool HasChildren() const { return firstChild_ != nullptr; }
    bool IsExpanded() const { return expanded_; }

private:
    friend class CBookmarkStore;

    ClassRecord* parent_ = nullptr;
    ClassRecord* firstChild_ = nullptr;
    ClassRecord* lastChild_ = nullptr;
    ClassRecord* prevSibling_ = nullptr;
    ClassRecord* nextSibling_ = nullptr;
    bool expanded_ = false;
    TitleIndex titleIndex_;
};

// The category after `node` in pre-order (a category, then the categories
// below it, then its next sibling), staying inside the subtree of `top`;
// none at the end. Walks without recursion, however deep the tree.
ClassRecord* NextInPreOrder(const ClassRecord* node, const ClassRecord* top);
