// The category tree's bookmark file: loading it when the view is created,
// saving it for the main window's timer and when the window closes, and
// telling the user when a file that is there could not be read.
#include "class_tree_view.h"

#include "framework/message_box.h"
#include "framework/ui_text.h"
#include "text_fill.h"

namespace classtree {

void CClassTreeView::SetFileOptions(CBookmarkFileKeeper::Options options) {
    file_ = std::make_unique<CBookmarkFileKeeper>(bookmarkFile_, std::move(options));
}

void CClassTreeView::LoadBookmarkFile() {
    if (!file_) SetFileOptions({});
    loadReport_ = file_->Load(*store_);
}

SaveOutcome CClassTreeView::SaveBookmarks() {
    SaveOutcome outcome;
    if (!store_ || !file_) return outcome;
    if (!store_->IsModified()) {
        outcome.saved = true;
        return outcome;
    }
    return file_->Save(*store_);
}

SaveOutcome CClassTreeView::SaveBookmarksTo(const std::string& path) {
    SaveOutcome outcome;
    if (!store_ || !file_) return outcome;
    return file_->SaveTo(*store_, path);
}

void CClassTreeView::DiscardChanges() {
    if (store_) store_->SetModified(false);
}

// Once the message loop runs: a file that could not be read is reported
// instead of the first-run questions, since the collection is not new.
void CClassTreeView::OnStartUp() {
    if (!store_) return;
    if (loadReport_.state != XmlFileState::kUnreadable) {
        AskFirstRunQuestions();
        return;
    }
    const std::string text = FillPlaceholders(
        framework::UiText("mainview", "10004",
                          "无法读取书签文件:\n%s\n\n原因:%s\n\n原文件已另存为:\n%s\n\n"
                          "程序以空的书签集合启动,原有的书签都保存在这个副本中。"),
        {bookmarkFile_, loadReport_.reason, loadReport_.keptCopy});
    framework::ShowMessageBox(Owner(), text, framework::BoxKind::kError);
}

}  // namespace classtree
