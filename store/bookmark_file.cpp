// Reading and writing the bookmark file:
//
//   <?xml version="1.0" encoding="utf-8"?><root>
//   <G t="category">
//   <a t="title" u="url" r="remark"/>
//   <G t="sub-category"/>
//   </G>
//   </root>
//
// A category's bookmarks come before its sub-categories. Texts are the bytes
// the program holds (GBK), never converted. Both directions walk the tree
// without recursion, so any depth of nesting is safe.
#include <memory>
#include <new>
#include <utility>

#include "bookmark_file_text.h"
#include "bookmark_store.h"
#include "bookmark_tag.h"
#include "record_text.h"
#include "text_rules.h"
#include "xml_document.h"
#include "xml_file_text.h"

#include "platform/file_io.h"
#include "platform/memory_pages.h"

namespace {

constexpr std::string_view kBookmarkAttributes[] = {"t", "u", "r"};

}  // namespace

bool CBookmarkStore::Load(const std::string& path) {
    // The store always holds its own category tree, so unlike a store that
    // borrows a tree control it can load as soon as it exists.
    SetModified(false);
    CXmlDocument document;
    if (!document.LoadFile(path) || !document.IsWellFormed()) return false;
    return LoadDocument(document);
}

namespace {

// The texts of a load are placed in the document's own bytes, moved down
// over the markup already read: the file's buffer becomes the collection's
// text arena, so that loading neither allocates per text nor holds the file
// and its texts side by side. Whatever way the load ends, the buffer leaves
// the document for the arena, which keeps it while any of its texts lives.
class LoadArena {
public:
    explicit LoadArena(CXmlDocument& document) : document_(document) {
        // A text short enough to be kept inside the string object itself
        // would move with it: such a document keeps its texts on the heap
        // (it has hardly any).
        if (document.Text().size() < kSmallestArena) return;
        begin_ = at_ = document.WritableText();
        handle_ = textarena::Open(begin_, begin_ + document.Text().size());
    }
    ~LoadArena() {
        if (!handle_) return;
        std::string buffer = document_.TakeText();
        // Past the last text, the buffer holds only markup already read.
        platform::DiscardPages(at_, static_cast<std::size_t>(buffer.data() + buffer.size() - at_));
        textarena::Close(handle_, std::move(buffer), placed_);
    }
    LoadArena(const LoadArena&) = delete;
    LoadArena& operator=(const LoadArena&) = delete;

    // A bookmark tag of the written shape, read into `record`.
    bool ReadWritten(std::string_view tag, BookmarkRecord& record) {
        if (handle_) return PlaceWrittenBookmarkTag(tag, at_, scratch_, record, placed_);
        if (!ReadWrittenBookmarkTag(tag, values_[0], values_[1], values_[2])) return false;
        GiveValues(record);
        return true;
    }
    // Any other bookmark tag: the engine reads the current element's values.
    void ReadAny(const CXmlDocument& document, BookmarkRecord& record) {
        std::string* const values[] = {&values_[0], &values_[1], &values_[2]};
        document.GetAttributes(kBookmarkAttributes, values);
        FilterInvalidChars(values_[0], true);
        GiveValues(record);
    }

private:
    // The values, already read whole, take no more room than the tag they
    // came from, so placing them never reaches an unread byte.
    void GiveValues(BookmarkRecord& record) {
        RecordText* const texts[] = {&record.title, &record.url, &record.remark};
        for (int i = 0; i < 3; ++i) {
            if (!handle_ || values_[i].empty()) {
                *texts[i] = values_[i];
                continue;
            }
            *texts[i] = RecordText::PlaceInArena(at_, values_[i].data(), values_[i].size());
            ++placed_;
        }
    }

    static constexpr std::size_t kSmallestArena = 64;
    CXmlDocument& document_;
    std::uintptr_t handle_ = 0;
    char* begin_ = nullptr;
    char* at_ = nullptr;  // where the next text goes
    std::size_t placed_ = 0;
    std::string scratch_;
    std::string values_[3];
};

}  // namespace

bool CBookmarkStore::LoadDocument(CXmlDocument& document) {
    SetModified(false);
    document.ResetCursor();
    if (!document.IsWellFormed()) return false;
    if (!document.FindElement() || document.ElementName() != "root") return false;
    document.EnterElement();
    LoadArena arena(document);

    // `level` is the category whose children are being read (the root at the
    // top level); the document's cursor descends and climbs with it.
    ClassRecord* level = &root_;
    // The record the next bookmark is read into.
    std::unique_ptr<BookmarkRecord> next;
    for (;;) {
        if (!document.FindElement()) {
            if (level == &root_) break;
            document.LeaveElement();
            // The list is complete: no room kept for more.
            if (level->bookmarks.capacity() > level->bookmarks.size()) level->bookmarks.shrink_to_fit();
            level = level->parent_;
            continue;
        }
        // Nearly every element is a bookmark as the program writes it, read
        // without looking its name up first.
        if (!next) next.reset(new BookmarkRecord());
        if (level != &root_ && arena.ReadWritten(document.StartTagView(), *next)) {
            level->bookmarks.push_back(next.release());
            continue;
        }
        const std::string_view elementName = document.ElementNameView();
        if (IsNamedIgnoringCase(elementName, 'G')) {
            auto* category = new ClassRecord(document.GetAttribute("t"));
            FilterInvalidChars(category->name, true);
            Link(level, level->lastChild_, category);
            Notify([&](IStoreObserver& o) { o.OnInserted(level, category->prevSibling_, category); });
            document.EnterElement();
            level = category;
        } else if (IsNamedIgnoringCase(elementName, 'a') && level != &root_) {
            arena.ReadAny(document, *next);
            level->bookmarks.push_back(next.release());
        }
        // Anything else, and a bookmark outside any category, is passed over
        // with everything inside it.
    }
    document.LeaveElement();
    Notify([](IStoreObserver& o) { o.OnRepaint(); });
    return true;
}

FileTextBuffer CBookmarkStore::BuildFileText(std::uint64_t& change) const {
    change = change_.load();
    return CBookmarkFileText::Build(root_);
}

bool CBookmarkStore::Save(const std::string& path) {
    std::string error;
    return Save(path, error);
}

// The changes the text holds count as saved only once it is on disk; a
// change made meanwhile (by the transfer worker) stays to be saved.
bool CBookmarkStore::Save(const std::string& path, std::string& error) {
    std::uint64_t change = 0;
    try {
        const FileTextBuffer text = BuildFileText(change);
        if (!platform::ReplaceFileContents(path, text.View(), error)) return false;
    } catch (const std::bad_alloc&) {
        error = "Out of memory";
        return false;
    }
    MarkSaved(change);
    return true;
}
