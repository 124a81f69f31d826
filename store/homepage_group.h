// CHomepageGroup: the short, ordered list of pages the user opens together,
// kept apart from the bookmarks in its own file:
//
//   <?xml version="1.0" encoding="utf-8"?><root>
//   <a t="title" u="url"/>
//   </root>
//
// Entries are copies (title and URL), not references to bookmarks.
#pragma once

#include <string>
#include <vector>

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
    // step. `modified` is cleared only when the file was written.
    bool Save();

    // Appends a new entry, sets `modified` and returns the entry.
    HomepageItem* Add(const std::string& title, const std::string& url);
    // Deletes the entry when it is in the list (setting `modified`);
    // otherwise nothing changes.
    void Remove(HomepageItem* entry);
    // Called after an entry was edited in place.
    void SetModified() { modified_ = true; }
    // Saves when modified, then frees every entry and forgets the path.
    void Release();

    // In order of opening and display; entries may be edited in place.
    const std::vector<HomepageItem*>& Items() const { return items_; }
    const std::string& Path() const { return path_; }
    bool IsModified() const { return modified_; }

private:
    void FreeItems();

    std::vector<HomepageItem*> items_;
    std::string path_;
    bool modified_ = false;
};
