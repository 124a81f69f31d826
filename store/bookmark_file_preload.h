// CBookmarkFilePreload: reads the bookmark file into a collection of its own,
// on a thread of its own, from the first moments of the process while the
// main window is still being built, so that start-up with a large collection
// waits only for what is left of the load. The category tree's load takes
// the categories read (CBookmarkFileKeeper::Load). A file that could not be
// loaded is left to the tree's own load, which reads it again and deals with
// it; a preload of another file, or one nobody takes, changes nothing.
//
// One object at a time, made and destroyed on the program's main thread
// around the user interface; destroying it waits for its thread.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "bookmark_store.h"

class CBookmarkFilePreload {
public:
    explicit CBookmarkFilePreload(std::string path);
    ~CBookmarkFilePreload();
    CBookmarkFilePreload(const CBookmarkFilePreload&) = delete;
    CBookmarkFilePreload& operator=(const CBookmarkFilePreload&) = delete;

    // When a preload of `path` runs or ran and was not taken yet: waits for
    // it and hands over the collection it read; none when the file could
    // not be loaded or there is no such preload.
    static std::unique_ptr<CBookmarkStore> Take(const std::string& path);

private:
    std::string path_;
    std::unique_ptr<CBookmarkStore> collection_;
    std::thread thread_;
    bool taken_ = false;
};
