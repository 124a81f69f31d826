#include "class_choice.h"

#include <unordered_map>

namespace dialogs {

TreeCopyPlan PlanTreeCopy(const ClassRecord* root, const ClassRecord* initial,
                          const ClassRecord* treeSelection) {
    TreeCopyPlan plan;
    if (!root) return plan;
    const ClassRecord* wanted = initial ? initial : treeSelection;
    // Entry index of every category copied so far, to find a parent's entry.
    std::unordered_map<const ClassRecord*, int> index;
    for (ClassRecord* c = root->FirstChild(); c; c = NextInPreOrder(c, root)) {
        int parent = -1;
        if (c->Parent() != root) {
            auto it = index.find(c->Parent());
            parent = it == index.end() ? -1 : it->second;
        }
        const int at = static_cast<int>(plan.entries.size());
        index.emplace(c, at);
        plan.entries.push_back({c, parent, c->IsExpanded()});
        if (c == wanted) plan.selected = at;
    }
    return plan;
}

int NormalizeCheckState(int state) { return state >= 0 && state <= 2 ? state : 0; }

ClassChoice ResolveClassChoice(bool topLevelChecked, ClassRecord* selected, ClassRecord* root) {
    if (topLevelChecked) return {root, {}};
    if (selected) return {selected, selected->name};
    if (root && root->HasChildren()) return {root, {}};
    return {nullptr, {}};
}

ClassRecord* MoveDestination(ClassRecord* selected, bool asChild) {
    if (!selected) return nullptr;
    return asChild ? selected : selected->Parent();
}

bool IsMoveAccepted(const ClassRecord* item, ClassRecord* selected, bool asChild) {
    const ClassRecord* target = MoveDestination(selected, asChild);
    if (!item || !target) return false;
    if (target == item->Parent()) return false;
    for (const ClassRecord* p = target; p; p = p->Parent()) {
        if (p == item) return false;  // the item itself or below it
    }
    return true;
}

}  // namespace dialogs
