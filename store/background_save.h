// CBackgroundSave: the periodic save of the bookmark collection in two
// halves. On every tick the file's text is built on the calling thread (the
// window's), which is quick, and handed to the file writer's thread, which
// writes, flushes and replaces the file; a slow disk then never freezes the
// window. The collection stays modified until a text holding every change is
// on disk: a failed write leaves it modified and the next tick tries again.
//
// Closing: Finish waits for the writer, then saves whatever is still
// unsaved, synchronously, before the collection goes.
#pragma once

#include <string>
#include <vector>

#include "bookmark_store.h"
#include "file_writer.h"

class CBackgroundSave {
public:
    // How one write of the file ended, for the window to report.
    struct Outcome {
        bool ok = false;
        std::string error;
    };

    CBackgroundSave(CFileWriter& writer, std::string path) : writer_(writer), path_(std::move(path)) {}

    // Takes the outcomes of the writes that ended since the last tick (a
    // success marks the changes its text held as saved), then hands over a
    // new text when the collection holds changes that no waiting or running
    // write carries. Returns those outcomes, oldest first.
    std::vector<Outcome> Tick(CBookmarkStore& store);
    // Waits for the writer, takes its outcomes, then, if changes are still
    // unsaved, saves them synchronously; that save's outcome comes last.
    std::vector<Outcome> Finish(CBookmarkStore& store);

    const std::string& Path() const { return path_; }

private:
    std::vector<Outcome> TakeOutcomes(CBookmarkStore& store);

    CFileWriter& writer_;
    std::string path_;
    std::uint64_t handedOver_ = 0;  // the change the newest handed-over text holds
};
