#include "background_save.h"

#include <new>
#include <utility>

std::vector<SaveOutcome> CBackgroundSave::Collect(CBookmarkStore& store) {
    std::vector<SaveOutcome> outcomes;
    for (CFileWriter::Result& result : writer_.TakeResults(keeper_.Path())) {
        if (result.ok) store.MarkSaved(result.tag);
        SaveOutcome outcome;
        outcome.saved = result.ok;
        outcome.error = std::move(result.error);
        outcome.backupError = std::move(result.note);
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::vector<SaveOutcome> CBackgroundSave::Tick(CBookmarkStore& store) {
    // Asked before the outcomes are taken: a write that ends in between has
    // its outcome taken now or at the next tick, and is never handed over
    // twice.
    const bool pending = writer_.Pending(keeper_.Path());
    std::vector<SaveOutcome> outcomes = Collect(store);
    if (!store.IsModified()) return outcomes;
    if (pending && handedOver_ == store.ChangeCount()) return outcomes;

    SaveOutcome refused;
    if (!keeper_.PrepareSave(refused.error)) {
        outcomes.push_back(std::move(refused));
        return outcomes;
    }
    std::uint64_t change = 0;
    FileTextBuffer text;
    try {
        text = store.BuildFileText(change);
    } catch (const std::bad_alloc&) {
        refused.error = "Out of memory";
        outcomes.push_back(std::move(refused));
        return outcomes;
    }
    const platform::LocalTime now = keeper_.Now();
    CBookmarkFileKeeper& keeper = keeper_;
    writer_.Submit(keeper_.Path(), std::move(text), change,
                   [&keeper, now](const std::string&, std::string_view written, platform::FileOps& ops,
                                  CFileWriter::Result& result) {
                       SaveOutcome outcome = keeper.WriteText(written, now, ops);
                       result.ok = outcome.saved;
                       result.error = std::move(outcome.error);
                       result.note = std::move(outcome.backupError);
                   });
    handedOver_ = change;
    return outcomes;
}

std::vector<SaveOutcome> CBackgroundSave::Finish(CBookmarkStore& store) {
    writer_.WaitIdle();
    std::vector<SaveOutcome> outcomes = Collect(store);
    if (store.IsModified()) outcomes.push_back(keeper_.Save(store));
    return outcomes;
}
