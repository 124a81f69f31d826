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
#include <new>
#include <utility>

#include "bookmark_store.h"
#include "xml_document.h"
#include "xml_file_text.h"

#include "platform/file_io.h"

namespace {

void AppendBookmark(std::string& out, const BookmarkRecord& bookmark) {
    out += "<a";
    AppendXmlAttribute(out, "t", bookmark.title);
    AppendXmlAttribute(out, "u", bookmark.url);
    AppendXmlAttribute(out, "r", bookmark.remark);
    out += "/>";
    out += kCrLf;
}

void AppendCategoryStart(std::string& out, const ClassRecord& category, bool hasContent) {
    out += "<G";
    AppendXmlAttribute(out, "t", category.name);
    out += hasContent ? ">" : "/>";
    out += kCrLf;
}

constexpr std::string_view kCategoryEnd = "</G>\r\n";
constexpr std::string_view kBookmarkAttributes[] = {"t", "u", "r"};

// Room for the whole text, so that building it never copies it.
std::size_t EstimatedSize(const ClassRecord& root) {
    std::size_t size = kXmlDeclaration.size() + 32;
    for (const ClassRecord* c = root.FirstChild(); c; c = NextInPreOrder(c, &root)) {
        size += c->name.size() + 20;
        for (const BookmarkRecord* b : c->bookmarks) {
            if (b) size += b->title.size() + b->url.size() + b->remark.size() + 24;
        }
    }
    return size + size / 16;  // escapes
}

std::string BookmarkFileText(const ClassRecord& root) {
    std::string out;
    out.reserve(EstimatedSize(root));
    out += kXmlDeclaration;
    if (!root.FirstChild()) {
        out += "<root/>";
        out += kCrLf;
        return out;
    }
    out += "<root>";
    out += kCrLf;
    const ClassRecord* node = root.FirstChild();
    while (node) {
        const bool hasContent = !node->bookmarks.empty() || node->HasChildren();
        AppendCategoryStart(out, *node, hasContent);
        for (const BookmarkRecord* bookmark : node->bookmarks) {
            if (bookmark) AppendBookmark(out, *bookmark);
        }
        if (node->HasChildren()) {
            node = node->FirstChild();
            continue;
        }
        if (hasContent) out += kCategoryEnd;
        // Climb out of every category whose last child has been written.
        while (!node->NextSibling()) {
            node = node->Parent();
            if (node == &root) break;
            out += kCategoryEnd;
        }
        node = node == &root ? nullptr : node->NextSibling();
    }
    out += "</root>";
    out += kCrLf;
    return out;
}

}  // namespace

bool CBookmarkStore::Load(const std::string& path) {
    // The store always holds its own category tree, so unlike a store that
    // borrows a tree control it can load as soon as it exists.
    modified_ = false;
    CXmlDocument document;
    if (!document.LoadFile(path) || !document.IsWellFormed()) return false;
    return LoadDocument(document);
}

bool CBookmarkStore::LoadDocument(CXmlDocument& document) {
    modified_ = false;
    document.ResetCursor();
    if (!document.IsWellFormed()) return false;
    if (!document.FindElement() || document.ElementName() != "root") return false;
    document.EnterElement();

    // `level` is the category whose children are being read (the root at the
    // top level); the document's cursor descends and climbs with it.
    ClassRecord* level = &root_;
    for (;;) {
        if (!document.FindElement()) {
            if (level == &root_) break;
            document.LeaveElement();
            level = level->parent_;
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
            auto* bookmark = new BookmarkRecord();
            std::string* const values[] = {&bookmark->title, &bookmark->url, &bookmark->remark};
            document.GetAttributes(kBookmarkAttributes, values);
            FilterInvalidChars(bookmark->title, true);
            level->bookmarks.push_back(bookmark);
        }
        // Anything else, and a bookmark outside any category, is passed over
        // with everything inside it.
    }
    document.LeaveElement();
    Notify([](IStoreObserver& o) { o.OnRepaint(); });
    return true;
}

bool CBookmarkStore::Save(const std::string& path) {
    std::string error;
    return Save(path, error);
}

bool CBookmarkStore::Save(const std::string& path, std::string& error) {
    // Cleared before the text is built: a change made meanwhile (by the
    // transfer worker) marks the collection again and is saved next time.
    const bool wasModified = modified_.exchange(false);
    try {
        if (platform::ReplaceFileContents(path, BookmarkFileText(root_), error)) return true;
    } catch (const std::bad_alloc&) {
        error = "Out of memory";
    }
    if (wasModified) modified_ = true;
    return false;
}
