// CBookmarkFileText: builds the bookmark file's text from the category tree,
// all at once or in slices of limited time.
//
// The periodic save builds the text on the window's thread; over a hundred
// thousand bookmarks that is tens of milliseconds, so it is built a slice at
// a time between the window's messages. Between two slices the builder keeps
// only the category it stands in and the index of its next bookmark: the
// caller must not continue a build once the tree changed (the store's change
// count says so), and starts again instead.
#pragma once

#include <chrono>
#include <cstddef>

#include "class_record.h"
#include "xml_file_text.h"

class CBookmarkFileText {
public:
    using Clock = std::chrono::steady_clock;

    // `expectedSize` sizes the buffer once; 0 has it measured from the tree.
    explicit CBookmarkFileText(const ClassRecord& root, std::size_t expectedSize = 0);
    CBookmarkFileText(const CBookmarkFileText&) = delete;
    CBookmarkFileText& operator=(const CBookmarkFileText&) = delete;

    // Appends categories and bookmarks until the text is complete (true) or
    // `deadline` has passed (false: call again for more).
    bool BuildUntil(Clock::time_point deadline);
    bool Complete() const { return node_ == nullptr; }
    // The finished text; the builder is left empty.
    FileTextBuffer Finish() { return out_.Finish(); }

    // The whole text in one go.
    static FileTextBuffer Build(const ClassRecord& root);

private:
    // Closes the category just written and finds the next one to write.
    void LeaveCategory(bool hasContent);

    const ClassRecord& root_;
    XmlTextWriter out_;
    const ClassRecord* node_ = nullptr;  // the category being written; none when done
    std::size_t next_ = 0;               // its next bookmark
    bool started_ = false;               // its start tag is written
};
