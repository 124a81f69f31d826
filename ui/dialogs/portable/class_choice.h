// The decisions of the two dialogs that pick a category from a copy of the
// category tree: what the copy holds, which item starts selected, what the
// select-category dialog hands back, and which targets the move-to dialog
// accepts. A category is a ClassRecord*; the tree's root stands for the top
// level.
#pragma once

#include "class_record.h"

#include <string>
#include <vector>

namespace dialogs {

// One item of the copy, in the order the items are inserted (depth first,
// siblings in order): its category, the index of its parent's entry (-1 for a
// top-level category) and whether it shows expanded.
struct TreeCopyEntry {
    ClassRecord* record;
    int parent;
    bool expanded;
};

struct TreeCopyPlan {
    std::vector<TreeCopyEntry> entries;
    int selected = -1;  // index of the entry to select, -1 for none
};

// Copies every category below `root`. The entry of `initial` is selected; with
// no initial category, the entry of `treeSelection` (the category selected in
// the category tree). No selection when that category is not in the tree.
TreeCopyPlan PlanTreeCopy(const ClassRecord* root, const ClassRecord* initial,
                          const ClassRecord* treeSelection);

// The check box's initial state: 0, 1 or 2 as given, anything else 0.
int NormalizeCheckState(int state);

// What the select-category dialog hands back when it closes.
struct ClassChoice {
    ClassRecord* record;  // a category, `root` for the top level, or none
    std::string name;     // the category's name; empty for the top level and none
};

// Top level when the box is checked; else the selected category; else the top
// level when the tree has any category, none when it is empty.
ClassChoice ResolveClassChoice(bool topLevelChecked, ClassRecord* selected, ClassRecord* root);

// The parent a category would get: the selected category itself (as a
// sub-category) or its parent (as a sibling; the root for a top-level one).
// None without a selection.
ClassRecord* MoveDestination(ClassRecord* selected, bool asChild);

// True when moving `item` there would be accepted: there is a destination, and
// it is neither `item`, nor one of its descendants, nor its current parent.
bool IsMoveAccepted(const ClassRecord* item, ClassRecord* selected, bool asChild);

}  // namespace dialogs
