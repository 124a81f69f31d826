// CBackgroundSave: the periodic save of the bookmark collection in two
// halves. On a tick the bookmark file's keeper makes its checks and the
// file's text is built on the calling thread (the window's), in slices of a
// few milliseconds when the caller asks for them, so that a large collection
// never holds the window for long; the finished text goes to the file
// writer's thread, which keeps the day's backup, writes, flushes and replaces
// the file. A slow disk then never freezes the window. The collection stays modified until a text holding every change is
// on disk: a failed write leaves it modified and the next tick tries again.
//
// Closing: Finish waits for the writer, then saves whatever is still
// unsaved, synchronously, before the collection goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "bookmark_file_keeper.h"
#include "bookmark_file_text.h"
#include "bookmark_store.h"
#include "file_writer.h"

class CBackgroundSave {
public:
    // The keeper must not be saving on its own while the writer holds one of
    // its texts: its synchronous saves go through Finish.
    CBackgroundSave(CFileWriter& writer, CBookmarkFileKeeper& keeper) : writer_(writer), keeper_(keeper) {}

    using Clock = CBookmarkFileText::Clock;

    // Takes the outcomes of the writes that ended since the last call (a
    // success marks the changes its text held as saved), then builds a new
    // text when the collection holds changes that no waiting or running
    // write carries, and hands it over once complete. With a `slice`, builds
    // for about that long and leaves the rest to the next calls (Building());
    // a build whose collection changed meanwhile starts again, and after a
    // few such restarts a build is finished in one go, so that a collection
    // that keeps changing is still saved. A file the keeper refuses gives an
    // outcome at once and no text. Returns the outcomes, oldest first.
    std::vector<SaveOutcome> Tick(CBookmarkStore& store, Clock::duration slice = Clock::duration::max());
    // Whether a text is half built, waiting for the next Tick.
    bool Building() const { return build_ != nullptr; }
    // Drops a half-built text: the collection is about to change under it
    // (an import or export holds it) and the next tick starts again.
    void Abandon() { build_.reset(); }
    // Only takes the outcomes of the writes that ended (for the writer's
    // signal that one did).
    std::vector<SaveOutcome> Collect(CBookmarkStore& store);
    // Waits for the writer, takes its outcomes, then, if changes are still
    // unsaved, saves them synchronously; that save's outcome comes last.
    std::vector<SaveOutcome> Finish(CBookmarkStore& store);
    // Whether a text of the file waits or is being written.
    bool Writing() const { return writer_.Pending(keeper_.Path()); }

private:
    CFileWriter& writer_;
    CBookmarkFileKeeper& keeper_;
    std::uint64_t handedOver_ = 0;  // the change the newest handed-over text holds

    struct Build {
        Build(const ClassRecord& root, std::size_t expectedSize, std::uint64_t change, platform::LocalTime now)
            : text(root, expectedSize), change(change), now(now) {}
        CBookmarkFileText text;
        std::uint64_t change;      // the last change the text holds
        platform::LocalTime now;   // when the save began, for the day's backup
    };
    void HandOver(Build& build);

    std::unique_ptr<Build> build_;
    int restarts_ = 0;           // builds started again since the last hand-over
    std::size_t lastSize_ = 0;   // the last text's size, to size the next one
};
