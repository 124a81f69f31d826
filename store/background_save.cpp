#include "background_save.h"

#include <utility>

#include "platform/file_io.h"

std::vector<CBackgroundSave::Outcome> CBackgroundSave::TakeOutcomes(CBookmarkStore& store) {
    std::vector<Outcome> outcomes;
    for (CFileWriter::Result& result : writer_.TakeResults(path_)) {
        if (result.ok) store.MarkSaved(result.tag);
        outcomes.push_back(Outcome{result.ok, std::move(result.error)});
    }
    return outcomes;
}

std::vector<CBackgroundSave::Outcome> CBackgroundSave::Tick(CBookmarkStore& store) {
    // Asked before the outcomes are taken: a write that ends in between has
    // its outcome taken now or at the next tick, and is never handed over
    // twice.
    const bool pending = writer_.Pending(path_);
    std::vector<Outcome> outcomes = TakeOutcomes(store);
    if (!store.IsModified()) return outcomes;
    if (pending && handedOver_ == store.ChangeCount()) return outcomes;
    std::uint64_t change = 0;
    FileTextBuffer text = store.BuildFileText(change);
    handedOver_ = change;
    writer_.Submit(path_, std::move(text), change);
    return outcomes;
}

std::vector<CBackgroundSave::Outcome> CBackgroundSave::Finish(CBookmarkStore& store) {
    writer_.WaitIdle();
    std::vector<Outcome> outcomes = TakeOutcomes(store);
    if (store.IsModified()) {
        std::uint64_t change = 0;
        const FileTextBuffer text = store.BuildFileText(change);
        Outcome last;
        last.ok = platform::ReplaceFileContents(path_, text.View(), last.error);
        if (last.ok) store.MarkSaved(change);
        outcomes.push_back(std::move(last));
    }
    return outcomes;
}
