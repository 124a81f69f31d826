// Loads the input as a bookmark file; when it loads, saving and loading again
// must give the same collection, and saving that must give the same bytes.
#include "bookmark_store.h"
#include "platform/file_io.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string Scratch(const char* name) {
    return "/tmp/quorva-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

// Everything the file holds, in order, as one text.
std::string Describe(const CBookmarkStore& store) {
    std::string out;
    const ClassRecord* root = store.Root();
    for (const ClassRecord* c = root->FirstChild(); c; c = NextInPreOrder(c, root)) {
        int depth = 0;
        for (const ClassRecord* p = c->Parent(); p != root; p = p->Parent()) ++depth;
        out += std::to_string(depth) + "G" + std::to_string(c->name.size()) + ":" + c->name;
        for (const BookmarkRecord* b : c->bookmarks)
            for (const RecordText* field : {&b->title, &b->url, &b->remark})
                out += "|" + std::to_string(field->size()) + ":" + *field;
        out += "\n";
    }
    return out;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = Scratch("in.xml"), first = Scratch("first.xml"), second = Scratch("second.xml");
    std::string error;
    if (!platform::ReplaceFileContents(input, std::string_view(reinterpret_cast<const char*>(data), size), error))
        return 0;
    CBookmarkStore loaded;
    if (!loaded.Load(input)) return 0;
    if (!loaded.Save(first)) Fail("save after load");

    CBookmarkStore reloaded;
    if (!reloaded.Load(first)) Fail("the program's own file does not load");
    if (Describe(reloaded) != Describe(loaded)) Fail("collection changed across save and load");
    if (!reloaded.Save(second)) Fail("second save");

    std::string a, b;
    platform::ReadWholeFile(first, a, error);
    platform::ReadWholeFile(second, b, error);
    if (a != b) Fail("saving the reloaded collection gave other bytes");
    return 0;
}
