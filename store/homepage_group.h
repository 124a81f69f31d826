// CHomepageGroup: the short, ordered list of pages the user opens together,
// kept apart from the bookmarks in its own file:
//
//   <?xml version="1.0" encoding="utf-8"?><root>
//   <a t="title" u="url"/>
//   </root>
//
// Entries are copies (title and URL), not references to bookmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xml_file_text.h"

class CFileWriter;

struct HomepageItem {
    std::string url;
    std::string title;
};

class CHomepageGroup {
public:
    // The process-wide group, created empty on first use.
    static CHomepageGroup& Instance();
    // Saves when modified (Release), then deletes the group.
    static void DestroyInstance();

    CHomepageGroup() = default;
    ~CHomepageGroup();
    CHomepageGroup(const CHomepageGroup&) = delete;
    CHomepageGroup& operator=(const CHomepageGroup&) = delete;

    // Remembers `path` (also when reading fails), clears `modified` and
    // appends the entries of the file. False when the file cannot be read,
    // is not well-formed or its root element is not "root".
    bool Load(const std::string& path);
    // Writes the group to the remembered path, replacing the file in one
    // step, after any write of the group still on the file writer's thread
    // (SaveThrough). `modified` is cleared only when the file was written.
    bool Save();
    // The periodic save: takes the outcomes of earlier writes (a success
    // marks the changes its text held as saved), then, when changes remain
    // that no waiting or running write carries, builds the file's text here
    // and hands it to `writer`, whose thread writes, flushes and replaces the
    // file. A failed write leaves the group modified for the next call. The
    // group remembers the writer until Release, which waits for it.
    void SaveThrough(CFileWriter& writer);
    // Takes the outcomes of the writes that ended (for the writer's signal
    // that one did), without waiting.
    void TakeWriteOutcomes() { CollectWrites(false); }
    // Waits for the writer given to SaveThrough, takes its outcomes and
    // forgets it (before the writer goes away).
    void DetachWriter();

    // Appends a new entry, sets `modified` and returns the entry.
    HomepageItem* Add(const std::string& title, const std::string& url);
    // Deletes the entry when it is in the list (setting `modified`);
    // otherwise nothing changes.
    void Remove(HomepageItem* entry);
    // Called after an entry was edited in place.
    void SetModified() { ++change_; }
    // Saves when modified, then frees every entry and forgets the path.
    void Release();

    // In order of opening and display; entries may be edited in place.
    const std::vector<HomepageItem*>& Items() const { return items_; }
    const std::string& Path() const { return path_; }
    bool IsModified() const { return change_ != saved_; }

private:
    void FreeItems();
    FileTextBuffer BuildText() const;
    // Takes the outcomes of the writer's finished writes; with `wait`, once
    // it has written everything handed over.
    void CollectWrites(bool wait);
    void MarkSaved(std::uint64_t change) {
        if (change > saved_) saved_ = change;
    }

    std::vector<HomepageItem*> items_;
    std::string path_;
    // Every change bumps `change_`; the group is modified while the last
    // change known to be on disk, `saved_`, lags behind it.
    std::uint64_t change_ = 0;
    std::uint64_t saved_ = 0;
    std::uint64_t handedOver_ = 0;  // the change the newest handed-over text holds
    CFileWriter* writer_ = nullptr;
};
