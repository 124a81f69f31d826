// The category commands: add, add sub-category, rename, delete, move up and
// down, move to.
#include "class_tree_view.h"

#include "class_dlg.h"
#include "framework/message_box.h"
#include "framework/private_messages.h"
#include "move_class_dlg.h"
#include "setting.h"
#include "text_rules.h"

#include <memory>

namespace classtree {

bool CClassTreeView::OnCommand(WORD id, LPARAM lParam) {
    if (!store_) return false;
    switch (id) {
    case kCmdAddClass:
        AddClass(false);
        return true;
    case kCmdAddSubClass:
        AddClass(true);
        return true;
    case kCmdEditClass:
        EditClass();
        return true;
    case kCmdDeleteClass:
        DeleteClass();
        return true;
    case kCmdMoveClassTo:
        MoveClassTo();
        return true;
    case kCmdMoveClassUp:
        if (ClassRecord* selected = SelectedClass()) store_->MoveClassUp(selected);
        return true;
    case kCmdMoveClassDown:
        if (ClassRecord* selected = SelectedClass()) store_->MoveClassDown(selected);
        return true;
    case kCmdImport:
    case kCmdExport:
        RunTransferWizard(id == kCmdExport, lParam);
        return true;
    default:
        return false;
    }
}

void CClassTreeView::ShowExistsMessage() {
    framework::ShowMessage(Owner(), "mainview", "10002", "书签分类已存在", framework::BoxKind::kPlain, MB_OK);
}

void CClassTreeView::Expand(ClassRecord* record) {
    if (record && record != store_->Root()) store_->SetExpanded(record, true);
}

void CClassTreeView::AddClass(bool asChild) {
    // The category chosen when the command was given: the control may select
    // another one by itself while the dialog is open (its first item, when it
    // gets the focus back without a selection).
    ClassRecord* selected = SelectedClass();
    dialogs::CClassDlg dialog;
    dialog.mode = asChild ? dialogs::CClassDlg::kAddSubClass : dialogs::CClassDlg::kAddClass;
    if (dialog.DoModal(Owner()) != IDOK) return;
    if (!InStore(selected)) selected = nullptr;  // deleted meanwhile
    ClassRecord* parent = store_->Root();
    InsertPos where = InsertPos::Last();
    if (asChild) {
        if (selected) parent = selected;
    } else if (selected) {
        parent = selected->Parent() ? selected->Parent() : store_->Root();
        where = InsertPos(selected);
    }

    auto record = std::make_unique<ClassRecord>(dialog.name);
    bool duplicate = false;
    ClassRecord* added = store_->AddClass(parent, where, record.get(), duplicate);
    if (added != record.get()) {
        // Refused: the record stays ours and goes.
        if (duplicate) {
            Expand(parent);
            ShowExistsMessage();
        }
        return;
    }
    record.release();
    if (!asChild && parent == store_->Root()) store_->SelectCaret(added);
    Expand(parent);
}

void CClassTreeView::EditClass() {
    ClassRecord* selected = SelectedClass();
    if (!selected) return;
    dialogs::CClassDlg dialog;
    dialog.mode = dialogs::CClassDlg::kEditClass;
    dialog.name = selected->name;
    if (dialog.DoModal(Owner()) != IDOK) return;
    // The category may have been deleted meanwhile.
    if (!InStore(selected)) return;
    if (SameName(dialog.name, selected->name)) return;
    if (store_->FindChildClass(selected->Parent(), dialog.name, selected)) {
        ShowExistsMessage();
        return;
    }
    store_->RenameClass(selected, dialog.name);
    store_->SetModified(true);
}

void CClassTreeView::DeleteClass() {
    ClassRecord* selected = SelectedClass();
    if (!selected) return;
    if (CSetting::Instance()->Other_PromptWhenDelClass &&
        framework::ShowMessage(Owner(), "mainview", "10003", "您真的要删除该分类吗?", framework::BoxKind::kWarning,
                               MB_YESNO) != IDYES) {
        return;
    }
    if (!InStore(selected)) return;
    store_->DeleteClass(selected);
}

void CClassTreeView::MoveClassTo() {
    ClassRecord* selected = SelectedClass();
    if (!selected) return;
    dialogs::CMoveClassDlg dialog;
    dialog.root = store_->Root();
    dialog.classToMove = selected;
    if (dialog.DoModal(Owner()) != IDOK) return;
    if (!InStore(selected)) return;
    // The chosen category must still be in the tree; none is the top level.
    ClassRecord* chosen = dialog.chosen;
    if (chosen && !InStore(chosen)) return;
    ClassRecord* newParent = store_->Root();
    if (dialog.asChild) {
        if (chosen) newParent = chosen;
    } else if (chosen && chosen->Parent()) {
        newParent = chosen->Parent();
    }
    bool duplicate = false;
    if (!store_->MoveClassTo(duplicate, selected, newParent, InsertPos::Last()) && duplicate) {
        Expand(newParent);
        ShowExistsMessage();
    }
}

}  // namespace classtree
