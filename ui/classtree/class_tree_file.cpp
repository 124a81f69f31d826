// The category tree's bookmark file: loading it when the view is created,
// saving it for the main window's timer and when the window closes, and
// telling the user when a file that is there could not be read.
#include "class_tree_view.h"

#include "framework/message_box.h"
#include "framework/ui_text.h"
#include "text_fill.h"

namespace classtree {

void CClassTreeView::SetFileOptions(CBookmarkFileKeeper::Options options) {
    background_.reset();  // it works on the keeper that goes
    file_ = std::make_unique<CBookmarkFileKeeper>(bookmarkFile_, std::move(options));
    if (writer_) background_ = std::make_unique<CBackgroundSave>(*writer_, *file_);
}

void CClassTreeView::SetFileWriter(CFileWriter* writer) {
    if (background_ && store_) background_->Finish(*store_);  // nothing of the old writer's stays unsaved
    background_.reset();
    writer_ = writer;
    if (writer_ && file_) background_ = std::make_unique<CBackgroundSave>(*writer_, *file_);
}

void CClassTreeView::LoadBookmarkFile() {
    if (!file_) SetFileOptions({});
    loadReport_ = file_->Load(*store_);
}

std::vector<SaveOutcome> CClassTreeView::SaveBookmarksInBackground(CBackgroundSave::Clock::duration slice) {
    if (!store_ || !file_) return {};
    if (background_) return background_->Tick(*store_, slice);
    if (!store_->IsModified()) return {};
    return {file_->Save(*store_)};
}

std::vector<SaveOutcome> CClassTreeView::CollectBookmarkSaves() {
    if (!store_ || !background_) return {};
    return background_->Collect(*store_);
}

SaveOutcome CClassTreeView::SaveBookmarks() {
    SaveOutcome outcome;
    if (!store_ || !file_) return outcome;
    if (background_) {
        // The last outcome says where the file stands: the synchronous save
        // when one was needed, else the writer's last write.
        std::vector<SaveOutcome> outcomes = background_->Finish(*store_);
        if (!outcomes.empty()) return std::move(outcomes.back());
    }
    if (!store_->IsModified() && !file_->FileWentMissing()) {
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
    // The copy is named only once it exists: a file still held by another
    // program is copied before the first save.
    const std::string text =
        loadReport_.copyPending
            ? FillPlaceholders(framework::UiText("mainview", "10005",
                                                 "无法读取书签文件:\n%s\n\n原因:%s\n\n它可能正被其他程序占用。"
                                                 "程序以空的书签集合启动;第一次保存之前会先把原文件另存为副本,"
                                                 "原文件不会被覆盖。"),
                               {bookmarkFile_, loadReport_.reason})
            : FillPlaceholders(framework::UiText("mainview", "10004",
                                                 "无法读取书签文件:\n%s\n\n原因:%s\n\n原文件已另存为:\n%s\n\n"
                                                 "程序以空的书签集合启动,原有的书签都保存在这个副本中。"),
                               {bookmarkFile_, loadReport_.reason, loadReport_.keptCopy});
    framework::ShowMessageBox(Owner(), text, framework::BoxKind::kError);
}

}  // namespace classtree
