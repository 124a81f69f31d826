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

namespace {

// Builds given up because the collection changed, before one is finished
// in one go.
constexpr int kRestartsBeforeWhole = 2;

}  // namespace

std::vector<SaveOutcome> CBackgroundSave::Tick(CBookmarkStore& store, Clock::duration slice) {
    // Asked before the outcomes are taken: a write that ends in between has
    // its outcome taken now or at the next tick, and is never handed over
    // twice.
    const bool pending = writer_.Pending(keeper_.Path());
    std::vector<SaveOutcome> outcomes = Collect(store);
    // A half-built text stands on records that may have gone since.
    if (build_ && build_->change != store.ChangeCount()) {
        build_.reset();
        ++restarts_;
    }
    SaveOutcome refused;
    try {
        if (!build_) {
            if (!store.IsModified()) return outcomes;
            if (pending && handedOver_ == store.ChangeCount()) return outcomes;
            if (!keeper_.PrepareSave(refused.error)) {
                outcomes.push_back(std::move(refused));
                return outcomes;
            }
            const std::size_t expected = lastSize_ ? lastSize_ + lastSize_ / 16 : 0;
            build_ = std::make_unique<Build>(*store.Root(), expected, store.ChangeCount(), keeper_.Now());
        }
        const bool whole = slice == Clock::duration::max() || restarts_ >= kRestartsBeforeWhole;
        if (!build_->text.BuildUntil(whole ? Clock::time_point::max() : Clock::now() + slice)) return outcomes;
    } catch (const std::bad_alloc&) {
        build_.reset();
        refused.error = "Out of memory";
        outcomes.push_back(std::move(refused));
        return outcomes;
    }
    HandOver(*build_);
    build_.reset();
    restarts_ = 0;
    return outcomes;
}

void CBackgroundSave::HandOver(Build& build) {
    FileTextBuffer text = build.text.Finish();
    lastSize_ = text.Size();
    const platform::LocalTime now = build.now;
    CBookmarkFileKeeper& keeper = keeper_;
    writer_.Submit(keeper_.Path(), std::move(text), build.change,
                   [&keeper, now](const std::string&, std::string_view written, platform::FileOps& ops,
                                  CFileWriter::Result& result) {
                       SaveOutcome outcome = keeper.WriteText(written, now, ops);
                       result.ok = outcome.saved;
                       result.error = std::move(outcome.error);
                       result.note = std::move(outcome.backupError);
                   });
    handedOver_ = build.change;
}

std::vector<SaveOutcome> CBackgroundSave::Finish(CBookmarkStore& store) {
    build_.reset();
    writer_.WaitIdle();
    std::vector<SaveOutcome> outcomes = Collect(store);
    if (store.IsModified()) outcomes.push_back(keeper_.Save(store));
    return outcomes;
}
