// CBackgroundSave: the periodic save of the bookmark collection in two
// halves. On every tick the bookmark file's keeper makes its checks and the
// file's text is built on the calling thread (the window's), which is quick;
// the text goes to the file writer's thread, which keeps the day's backup,
// writes, flushes and replaces the file. A slow disk then never freezes the
// window. The collection stays modified until a text holding every change is
// on disk: a failed write leaves it modified and the next tick tries again.
//
// Closing: Finish waits for the writer, then saves whatever is still
// unsaved, synchronously, before the collection goes.
#pragma once

#include <cstdint>
#include <vector>

#include "bookmark_file_keeper.h"
#include "bookmark_store.h"
#include "file_writer.h"

class CBackgroundSave {
public:
    // The keeper must not be saving on its own while the writer holds one of
    // its texts: its synchronous saves go through Finish.
    CBackgroundSave(CFileWriter& writer, CBookmarkFileKeeper& keeper) : writer_(writer), keeper_(keeper) {}

    // Takes the outcomes of the writes that ended since the last call (a
    // success marks the changes its text held as saved), then hands over a
    // new text when the collection holds changes that no waiting or running
    // write carries. A file the keeper refuses gives an outcome at once and
    // no text. Returns the outcomes, oldest first.
    std::vector<SaveOutcome> Tick(CBookmarkStore& store);
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
};
