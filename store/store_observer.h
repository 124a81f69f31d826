// What a view of the category tree is told about every change of the tree,
// in an order a tree control can replay one call at a time: a category is
// always reported after its parent and its previous sibling exist.
#pragma once

class ClassRecord;

class IStoreObserver {
public:
    virtual ~IStoreObserver() = default;

    // `record` now stands under `parent` (the store's root for the top level)
    // right after `after` (none: as the first child). Its own sub-categories
    // follow as separate insertions.
    virtual void OnInserted(ClassRecord* parent, ClassRecord* after, ClassRecord* record) {
        (void)parent; (void)after; (void)record;
    }
    // `record` leaves the tree with everything below it. Called while the
    // subtree is still linked and alive. With `moving` the same records come
    // back at once: insertions of the subtree in pre-order, then OnExpanded
    // for each expanded one, children before parents.
    virtual void OnRemoved(ClassRecord* record, bool moving) {
        (void)record; (void)moving;
    }
    virtual void OnRenamed(ClassRecord* record) { (void)record; }
    virtual void OnExpanded(ClassRecord* record, bool expanded) {
        (void)record; (void)expanded;
    }
    // `record` becomes the selected (caret) category.
    virtual void OnCaret(ClassRecord* record) { (void)record; }
    // The view should redraw itself now.
    virtual void OnRepaint() {}
};
