// CBookmarkStore: the one bookmark collection of the process. It owns every
// category and bookmark record, holds the category tree (a root record with
// the top-level categories as its children), reads and writes the bookmark
// file, remembers whether the collection changed since it was last loaded or
// saved, and tells its observers (the category tree view) about every change
// of the tree.
//
// An "item" is a ClassRecord*; Root() stands for the top level and nullptr is
// accepted wherever a parent is expected, meaning the top level too.
//
// Calls come from the user-interface thread, or from the one transfer worker
// while the user interface keeps away from the collection.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bookmark_record.h"
#include "class_record.h"
#include "store_observer.h"
#include "text_rules.h"
#include "xml_file_text.h"

// Where a category goes among its new siblings: first, last, or right after
// a given sibling. A null sibling, or one that is not a child of the new
// parent, means last.
class InsertPos {
public:
    InsertPos(ClassRecord* after) : kind_(after ? Kind::kAfter : Kind::kLast), after_(after) {}
    static InsertPos First() { return InsertPos(Kind::kFirst); }
    static InsertPos Last() { return InsertPos(Kind::kLast); }

    bool IsFirst() const { return kind_ == Kind::kFirst; }
    ClassRecord* After() const { return after_; }

private:
    enum class Kind { kFirst, kLast, kAfter };
    explicit InsertPos(Kind kind) : kind_(kind) {}
    Kind kind_;
    ClassRecord* after_ = nullptr;
};

class CXmlDocument;

class CBookmarkStore {
public:
    // The process-wide store, created empty and unmodified on first use. A
    // given observer is attached (once).
    static CBookmarkStore& Instance(IStoreObserver* observer = nullptr);
    static void DestroyInstance();

    CBookmarkStore();
    ~CBookmarkStore();
    CBookmarkStore(const CBookmarkStore&) = delete;
    CBookmarkStore& operator=(const CBookmarkStore&) = delete;

    void AddObserver(IStoreObserver* observer);
    void RemoveObserver(IStoreObserver* observer);

    // Reads the bookmark file and appends its categories to the tree. False
    // (nothing added) when the file cannot be read, is not well-formed or its
    // root element is not "root". Clears `modified`.
    bool Load(const std::string& path);
    // The same from a document already read and parsed (CXmlDocument is
    // declared by the engine; the cursor is reset first). The bookmarks'
    // texts stay in the document's own bytes: once read, the document is left
    // empty, its text gone to the collection.
    bool LoadDocument(CXmlDocument& document);
    // Moves every category of `other` (a collection read apart, as on
    // another thread) to the end of the top level, telling the observers as
    // a load does; `other` is left empty. Marks a change.
    void TakeCategoriesOf(CBookmarkStore& other);
    // Writes the whole collection to `path`, replacing the file in one step.
    // `modified` is cleared only when the file was written, so that a failed
    // write is tried again later instead of losing the changes.
    bool Save(const std::string& path);
    // The same, saying why when it fails (the system's text).
    bool Save(const std::string& path, std::string& error);

    bool IsModified() const { return change_.load() != savedChange_.load(); }
    // Views call SetModified(true) after changing records in place (renaming,
    // editing a bookmark, swapping two bookmarks' contents); the next title
    // lookup in each category then re-reads its titles. The store's own
    // operations mark the collection themselves, so an import that only adds
    // need not call it (calling it after every add would cost a re-read each).
    void SetModified(bool modified);

    // Saving in two halves (the periodic save): the file's text is built on
    // the calling thread, together with the number of the last change it
    // holds; once that text is on disk, MarkSaved(change) clears `modified`
    // unless the collection changed again meanwhile.
    FileTextBuffer BuildFileText(std::uint64_t& change) const;
    // The number of the last change; a text built now holds it.
    std::uint64_t ChangeCount() const { return change_.load(); }
    void MarkSaved(std::uint64_t change);

    ClassRecord* Root() { return &root_; }
    const ClassRecord* Root() const { return &root_; }
    // The category of an item; none for no item and for the root.
    ClassRecord* ClassOf(ClassRecord* item) const;
    std::size_t TotalBookmarks() const;

    // Adds a new top-level category at the end; when one of that name exists
    // it is returned instead and nothing is added.
    ClassRecord* AddTopClass(const std::string& name);
    // Adds the filled, new `record` under `parent` at `after`; the store then
    // owns it. When a sibling has the same name, sets `duplicate` and returns
    // that sibling; the record is not taken and the caller deletes it.
    ClassRecord* AddClass(ClassRecord* parent, InsertPos after, ClassRecord* record, bool& duplicate);
    // The first child of `parent` named like `record` (or `name`), passing
    // over `skip`; none when there is none.
    ClassRecord* FindChildClass(ClassRecord* parent, const ClassRecord* record,
                                const ClassRecord* skip) const;
    ClassRecord* FindChildClass(ClassRecord* parent, std::string_view name,
                                const ClassRecord* skip) const;
    // Deletes the category with its bookmarks and everything below it.
    void DeleteClass(ClassRecord* item);
    // Move a category one place among its siblings; false (and `modified`
    // untouched) at the ends.
    bool MoveClassUp(ClassRecord* item);
    bool MoveClassDown(ClassRecord* item);
    // False when `newParent` is the item itself, one of its descendants or
    // its current parent.
    bool CanMoveClass(ClassRecord* item, ClassRecord* newParent) const;
    // Moves the category with its subtree under `newParent` at `after`. False
    // when CanMoveClass refuses (`duplicate` untouched) or when a child of
    // `newParent` has the same name (`duplicate` set).
    bool MoveClassTo(bool& duplicate, ClassRecord* item, ClassRecord* newParent, InsertPos after);

    // Gives a category a new name (the caller has checked its siblings).
    void RenameClass(ClassRecord* item, std::string name);
    // Expanded state as the view shows it; not part of the file.
    void SetExpanded(ClassRecord* item, bool expanded);
    // Asks the view to make `item` the selected category.
    void SelectCaret(ClassRecord* item);

    // The bookmark of the category that conflicts with `bookmark`: the record
    // itself when it is in the list, else the first other record (passing over
    // `skip`) with the same title. None when nothing conflicts.
    BookmarkRecord* FindBookmark(ClassRecord* classItem, const BookmarkRecord* bookmark,
                                 const BookmarkRecord* skip);
    // Inserts `bookmark` right after `after` (at the end when `after` is none
    // or not in the list); the category then owns it. False when a bookmark of
    // the same title is there: nothing changes and the caller keeps it.
    bool AddBookmark(ClassRecord* classItem, BookmarkRecord* after, BookmarkRecord* bookmark);
    // Gives a bookmark a new URL and marks the collection modified. Titles
    // are untouched, so no title index is rebuilt (unlike SetModified).
    void ReplaceBookmarkUrl(BookmarkRecord* bookmark, std::string url);
    // Removes and deletes the bookmark; false when it is not in the category.
    bool DiscardBookmark(ClassRecord* classItem, BookmarkRecord* bookmark);
    // Removes and deletes those of `doomed` that are in the category, in one
    // pass over its list (one call per bookmark would be quadratic); returns
    // how many went.
    std::size_t DiscardBookmarks(ClassRecord* classItem, const std::vector<BookmarkRecord*>& doomed);

    // Deletes every category and bookmark.
    void ReleaseAll();

    // Up to `n` distinct bookmarks chosen at random, in collection order
    // (categories in pre-order, bookmarks in list order); all of them when
    // the collection holds no more than `n`.
    std::vector<BookmarkRecord*> PickRandomBookmarks(std::size_t n);
    std::vector<BookmarkRecord*> PickRandomBookmarks(std::size_t n, std::mt19937_64& random);

private:
    bool InTree(const ClassRecord* item) const;
    ClassRecord* ParentOrRoot(ClassRecord* parent);
    const ClassRecord* ParentOrRoot(const ClassRecord* parent) const;
    static ClassRecord* SiblingBefore(ClassRecord* parent, InsertPos pos);
    static void Link(ClassRecord* parent, ClassRecord* prev, ClassRecord* record);
    static void Unlink(ClassRecord* record);
    static void FreeSubtree(ClassRecord* top);
    void MoveSubtree(ClassRecord* item, ClassRecord* parent, InsertPos after);

    template <class Call>
    void Notify(Call call) {
        for (std::size_t i = 0; i < observers_.size(); ++i) call(*observers_[i]);
    }
    void NotifySubtreeInserted(ClassRecord* top);

    TitleIndex& CurrentIndex(ClassRecord* classItem);

    void MarkChanged() { ++change_; }

    ClassRecord root_;
    // Every change bumps `change_`; the collection is modified while the
    // last change known to be on disk, `savedChange_`, lags behind it.
    std::atomic<std::uint64_t> change_{0};
    std::atomic<std::uint64_t> savedChange_{0};
    // Bumped by SetModified(true), after which every title index is rebuilt
    // before its next use (titles may have been edited in place).
    std::atomic<std::uint64_t> titleEpoch_{0};
    std::vector<IStoreObserver*> observers_;
};
