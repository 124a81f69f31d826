#include "bookmark_store.h"

#include <algorithm>

namespace {
CBookmarkStore* g_instance = nullptr;
}

CBookmarkStore& CBookmarkStore::Instance(IStoreObserver* observer) {
    if (!g_instance) g_instance = new CBookmarkStore();
    if (observer) g_instance->AddObserver(observer);
    return *g_instance;
}

void CBookmarkStore::DestroyInstance() {
    delete g_instance;
    g_instance = nullptr;
}

CBookmarkStore::CBookmarkStore() = default;

CBookmarkStore::~CBookmarkStore() {
    while (ClassRecord* top = root_.firstChild_) {
        Unlink(top);
        FreeSubtree(top);
    }
}

void CBookmarkStore::AddObserver(IStoreObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void CBookmarkStore::RemoveObserver(IStoreObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void CBookmarkStore::SetModified(bool modified) {
    if (modified) {
        ++titleEpoch_;
        MarkChanged();
    } else {
        savedChange_ = change_.load();
    }
}

void CBookmarkStore::MarkSaved(std::uint64_t change) {
    // A text older than one already saved changes nothing.
    std::uint64_t saved = savedChange_.load();
    while (saved < change && !savedChange_.compare_exchange_weak(saved, change)) {
    }
}

ClassRecord* CBookmarkStore::ClassOf(ClassRecord* item) const {
    return item == &root_ ? nullptr : item;
}

bool CBookmarkStore::InTree(const ClassRecord* item) const {
    return item && item != &root_ && item->parent_;
}

ClassRecord* CBookmarkStore::ParentOrRoot(ClassRecord* parent) {
    return parent ? parent : &root_;
}

const ClassRecord* CBookmarkStore::ParentOrRoot(const ClassRecord* parent) const {
    return parent ? parent : &root_;
}

// --- tree links -------------------------------------------------------------

ClassRecord* CBookmarkStore::SiblingBefore(ClassRecord* parent, InsertPos pos) {
    if (pos.IsFirst()) return nullptr;
    ClassRecord* after = pos.After();
    if (after && after->parent_ == parent) return after;
    return parent->lastChild_;
}

void CBookmarkStore::Link(ClassRecord* parent, ClassRecord* prev, ClassRecord* record) {
    ClassRecord* next = prev ? prev->nextSibling_ : parent->firstChild_;
    record->parent_ = parent;
    record->prevSibling_ = prev;
    record->nextSibling_ = next;
    if (prev) prev->nextSibling_ = record; else parent->firstChild_ = record;
    if (next) next->prevSibling_ = record; else parent->lastChild_ = record;
}

void CBookmarkStore::Unlink(ClassRecord* record) {
    ClassRecord* parent = record->parent_;
    if (!parent) return;
    if (record->prevSibling_) record->prevSibling_->nextSibling_ = record->nextSibling_;
    else parent->firstChild_ = record->nextSibling_;
    if (record->nextSibling_) record->nextSibling_->prevSibling_ = record->prevSibling_;
    else parent->lastChild_ = record->prevSibling_;
    record->parent_ = record->prevSibling_ = record->nextSibling_ = nullptr;
}

// Deletes a detached subtree leaf by leaf, without recursion.
void CBookmarkStore::FreeSubtree(ClassRecord* top) {
    ClassRecord* node = top;
    while (node) {
        while (node->firstChild_) node = node->firstChild_;
        if (node == top) {
            delete node;
            return;
        }
        ClassRecord* parent = node->parent_;
        parent->firstChild_ = node->nextSibling_;
        if (!parent->firstChild_) parent->lastChild_ = nullptr;
        delete node;
        node = parent;
    }
}

void CBookmarkStore::NotifySubtreeInserted(ClassRecord* top) {
    if (observers_.empty()) return;
    for (ClassRecord* node = top; node; node = NextInPreOrder(node, top)) {
        Notify([&](IStoreObserver& o) { o.OnInserted(node->parent_, node->prevSibling_, node); });
    }
    // Expanded states follow the insertions, children first, as a tree
    // control can expand an item only once its children are there.
    ClassRecord* node = top;
    while (node->firstChild_) node = node->firstChild_;
    for (;;) {
        if (node->expanded_) Notify([&](IStoreObserver& o) { o.OnExpanded(node, true); });
        if (node == top) break;
        if (node->nextSibling_) {
            node = node->nextSibling_;
            while (node->firstChild_) node = node->firstChild_;
        } else {
            node = node->parent_;
        }
    }
}

void CBookmarkStore::TakeCategoriesOf(CBookmarkStore& other) {
    if (&other == this) return;
    MarkChanged();
    while (ClassRecord* top = other.root_.firstChild_) {
        other.Unlink(top);
        Link(&root_, root_.lastChild_, top);
        NotifySubtreeInserted(top);
    }
    other.MarkChanged();
    Notify([](IStoreObserver& o) { o.OnRepaint(); });
}

// --- categories ---------------------------------------------------------------

std::size_t CBookmarkStore::TotalBookmarks() const {
    std::size_t total = 0;
    for (const ClassRecord* c = root_.firstChild_; c; c = NextInPreOrder(c, &root_)) {
        total += c->bookmarks.size();
    }
    return total;
}

ClassRecord* CBookmarkStore::AddTopClass(const std::string& name) {
    auto* record = new ClassRecord(name);
    bool duplicate = false;
    ClassRecord* item = AddClass(&root_, InsertPos::Last(), record, duplicate);
    if (item != record) delete record;
    return item;
}

ClassRecord* CBookmarkStore::AddClass(ClassRecord* parent, InsertPos after, ClassRecord* record,
                                      bool& duplicate) {
    MarkChanged();
    duplicate = false;
    parent = ParentOrRoot(parent);
    // A record already in the tree, or a parent that is not, is refused.
    if (!record || record->parent_ || record == &root_ || (parent != &root_ && !parent->parent_)) {
        return nullptr;
    }
    if (ClassRecord* existing = FindChildClass(parent, record, nullptr)) {
        duplicate = true;
        return existing;
    }
    Link(parent, SiblingBefore(parent, after), record);
    NotifySubtreeInserted(record);
    Notify([](IStoreObserver& o) { o.OnRepaint(); });
    return record;
}

ClassRecord* CBookmarkStore::FindChildClass(ClassRecord* parent, const ClassRecord* record,
                                            const ClassRecord* skip) const {
    if (!record) return nullptr;
    return FindChildClass(parent, std::string_view(record->name), skip);
}

ClassRecord* CBookmarkStore::FindChildClass(ClassRecord* parent, std::string_view name,
                                            const ClassRecord* skip) const {
    const ClassRecord* p = ParentOrRoot(parent);
    for (ClassRecord* child = p->firstChild_; child; child = child->nextSibling_) {
        if (child != skip && SameName(child->name, name)) return child;
    }
    return nullptr;
}

void CBookmarkStore::DeleteClass(ClassRecord* item) {
    if (!InTree(item)) return;
    MarkChanged();
    Notify([&](IStoreObserver& o) { o.OnRemoved(item, false); });
    Unlink(item);
    FreeSubtree(item);
}

void CBookmarkStore::MoveSubtree(ClassRecord* item, ClassRecord* parent, InsertPos after) {
    MarkChanged();
    Notify([&](IStoreObserver& o) { o.OnRemoved(item, true); });
    Unlink(item);
    Link(parent, SiblingBefore(parent, after), item);
    NotifySubtreeInserted(item);
    Notify([&](IStoreObserver& o) {
        o.OnCaret(item);
        o.OnRepaint();
    });
}

bool CBookmarkStore::MoveClassUp(ClassRecord* item) {
    if (!InTree(item) || !item->prevSibling_) return false;
    ClassRecord* point = item->prevSibling_->prevSibling_;
    MoveSubtree(item, item->parent_, point ? InsertPos(point) : InsertPos::First());
    return true;
}

bool CBookmarkStore::MoveClassDown(ClassRecord* item) {
    if (!InTree(item) || !item->nextSibling_) return false;
    MoveSubtree(item, item->parent_, InsertPos(item->nextSibling_));
    return true;
}

bool CBookmarkStore::CanMoveClass(ClassRecord* item, ClassRecord* newParent) const {
    const ClassRecord* target = ParentOrRoot(newParent);
    if (!InTree(item) || (target != &root_ && !target->parent_)) return false;
    if (target == item->parent_) return false;
    for (const ClassRecord* p = target; p; p = p->parent_) {
        if (p == item) return false;  // onto itself or into its own subtree
    }
    return true;
}

bool CBookmarkStore::MoveClassTo(bool& duplicate, ClassRecord* item, ClassRecord* newParent,
                                 InsertPos after) {
    if (!CanMoveClass(item, newParent)) return false;
    newParent = ParentOrRoot(newParent);
    duplicate = false;
    if (FindChildClass(newParent, item, nullptr)) {
        duplicate = true;
        return false;
    }
    MoveSubtree(item, newParent, after);
    return true;
}

void CBookmarkStore::RenameClass(ClassRecord* item, std::string name) {
    if (!InTree(item)) return;
    item->name = std::move(name);
    MarkChanged();
    Notify([&](IStoreObserver& o) { o.OnRenamed(item); });
}

void CBookmarkStore::SetExpanded(ClassRecord* item, bool expanded) {
    if (!InTree(item) || item->expanded_ == expanded) return;
    item->expanded_ = expanded;
    Notify([&](IStoreObserver& o) { o.OnExpanded(item, expanded); });
}

void CBookmarkStore::SelectCaret(ClassRecord* item) {
    if (!InTree(item)) return;
    Notify([&](IStoreObserver& o) { o.OnCaret(item); });
}

void CBookmarkStore::ReleaseAll() {
    while (ClassRecord* top = root_.firstChild_) {
        Notify([&](IStoreObserver& o) { o.OnRemoved(top, false); });
        Unlink(top);
        FreeSubtree(top);
    }
}
