// Reads arbitrary bytes as a browser's bookmark file: every folder must end,
// the counts must agree, and what is read must write and read back as the
// same folders and links.
#include "browser_file.h"
#include "bookmark_store.h"
#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

struct Shape {
    std::size_t folders = 0;
    std::size_t links = 0;  // inside folders
};

Shape Check(const browserfile::Contents& contents) {
    using Kind = browserfile::Item::Kind;
    Shape shape;
    std::size_t open = 0;
    std::size_t links = 0;
    for (const browserfile::Item& item : contents.items) {
        if (item.kind == Kind::kFolder) ++open, ++shape.folders;
        if (item.kind == Kind::kEnd) {
            fuzzsupport::Require(open > 0, "a folder ends that never began");
            --open;
        }
        if (item.kind == Kind::kLink) {
            ++links;
            if (open) ++shape.links;
        }
    }
    fuzzsupport::Require(open == 0, "a folder never ends");
    fuzzsupport::Require(links == contents.links, "links counted two ways");
    return shape;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    // The reader counts what it looks at: a file of 16 KB shows a second pass
    // over it as well as a larger one would, in less time.
    const std::string large = fuzzsupport::Repeated(file, 16 * 1024);
    if (!large.empty()) {
        std::size_t examined = 0;
        Check(browserfile::Read(large, &examined));
        // A file of the code page is read as UTF-8, up to three bytes a byte.
        fuzzsupport::Require(examined <= 3 * 8 * large.size(), "the reader went back over the file",
                             std::to_string(examined) + " of " + std::to_string(large.size()));
        return 0;
    }
    const browserfile::Contents contents = browserfile::Read(file);
    const Shape shape = Check(contents);

    // The folders as categories of distinct names, the links inside them.
    CBookmarkStore store;
    ClassRecord* folder = store.Root();
    std::vector<const ClassRecord*> tops;
    std::size_t made = 0;
    for (const browserfile::Item& item : contents.items) {
        using Kind = browserfile::Item::Kind;
        if (item.kind == Kind::kFolder) {
            bool duplicate = false;
            auto* record = new ClassRecord("f" + std::to_string(made++));
            folder = store.AddClass(folder, InsertPos::Last(), record, duplicate);
            if (folder->Parent() == store.Root()) tops.push_back(folder);
        } else if (item.kind == Kind::kEnd) {
            folder = folder->Parent();
        } else if (folder != store.Root()) {
            // Bookmarks of one title are one in a category; the title is
            // made distinct so that every link stays.
            store.AddBookmark(folder, nullptr,
                              new BookmarkRecord(item.title + "#" + std::to_string(made++), item.url, item.description));
        }
    }
    const Shape again = Check(browserfile::Read(browserfile::Write(tops, "t")));
    fuzzsupport::Require(again.folders == shape.folders && again.links == shape.links,
                         "written and read back, the folders or links differ");
    return 0;
}
