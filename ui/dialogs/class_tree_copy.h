// The category icons and the copy of the category tree that the
// select-category and move-to dialogs show.
#pragma once

#include "class_choice.h"

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace dialogs {

// Owner of an image list.
class CImageList {
public:
    CImageList() = default;
    explicit CImageList(HIMAGELIST list) : list_(list) {}
    ~CImageList() { reset(); }
    CImageList(CImageList&& other) noexcept : list_(std::exchange(other.list_, nullptr)) {}
    CImageList& operator=(CImageList&& other) noexcept {
        if (this != &other) reset(std::exchange(other.list_, nullptr));
        return *this;
    }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST get() const { return list_; }
    void reset(HIMAGELIST list = nullptr) {
        if (list_ && list_ != list) ImageList_Destroy(list_);
        list_ = list;
    }

private:
    HIMAGELIST list_ = nullptr;
};

// Image 0: a category (icon 204); image 1: the selected category (icon 205).
// Small-icon size: 16 pixels at 100 %, larger at higher scaling.
CImageList CreateClassImageList(HINSTANCE instance = nullptr);

// Fills `tree` (emptied first) with the planned copy: names as texts, images
// 0 and 1, each category's record as lParam, expanded states; selects the
// planned item. Returns that item, or null when none is selected.
HTREEITEM FillClassTree(HWND tree, const TreeCopyPlan& plan);

// The category of the tree's selected item; none without a selection.
ClassRecord* SelectedClass(HWND tree);

}  // namespace dialogs
