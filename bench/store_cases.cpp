// The bookmark collection: load and save of the default workload (and of half
// of it, for the scaling check), of 10,000 nested categories, and a random pick.
#include "bench_cases.h"

#include "bookmark_store.h"
#include "platform/file_io.h"

#include <memory>

namespace bench {
namespace {

Case LoadCase(const char* name, const char* file, const char* reference) {
    return {name, reference, [=](const Options& o) {
        Prepared p;
        std::string path = FileIn(o, file);
        auto holder = std::make_shared<std::unique_ptr<CBookmarkStore>>();
        p.setup = [=] { holder->reset(new CBookmarkStore); };
        p.work = [=] { (*holder)->Load(path); };
        p.check = [=] { return std::to_string((*holder)->TotalBookmarks()) + " bookmarks"; };
        return p;
    }};
}

Case SaveCase(const char* name, const char* file, const char* reference) {
    return {name, reference, [=](const Options& o) {
        Prepared p;
        auto holder = std::make_shared<CBookmarkStore>();
        if (!holder->Load(FileIn(o, file))) {
            p.ok = false;
            p.error = std::string("cannot load ") + file;
            return p;
        }
        std::string out = FileIn(o, (std::string(file) + ".saved").c_str());
        auto ok = std::make_shared<bool>(false);
        p.work = [=] { *ok = holder->Save(out); };
        p.check = [=] { return std::string(*ok ? "" : "SAVE FAILED"); };
        return p;
    }};
}

// One category of 100,000 bookmarks that all have the same title, as an
// import of pages titled "Untitled" leaves them. The timed work is what an
// edit costs: the title index is rebuilt, then a new bookmark is added.
Case SameTitleCase() {
    return {"store.same_title.add", nullptr, [](const Options& o) {
        Prepared p;
        std::string path = FileIn(o, "same_title.xml");
        std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"Imported\">\r\n";
        for (int i = 0; i < 100000; ++i)
            text += "<a t=\"Untitled\" u=\"http://example.com/" + std::to_string(i) + "\" r=\"\"/>\r\n";
        text += "</G>\r\n</root>\r\n";
        std::string error;
        if (!platform::ReplaceFileContents(path, text, error)) {
            p.ok = false;
            p.error = error;
            return p;
        }
        auto holder = std::make_shared<std::unique_ptr<CBookmarkStore>>();
        auto added = std::make_shared<bool>(false);
        p.setup = [=] {
            holder->reset(new CBookmarkStore);
            (*holder)->Load(path);
        };
        p.work = [=] {
            CBookmarkStore& store = **holder;
            ClassRecord* category = store.Root()->FirstChild();
            store.SetModified(true);  // as after an edit: titles are read again
            auto* bookmark = new BookmarkRecord("Another", "http://example.com/another");
            *added = store.AddBookmark(category, nullptr, bookmark);
            if (!*added) delete bookmark;
        };
        p.check = [=] { return std::string(*added ? "" : "ADD REFUSED"); };
        return p;
    }};
}

}  // namespace

void AddStoreCases(std::vector<Case>& cases) {
    cases.push_back(LoadCase("store.load", "bm.xml", "pugi.load_walk"));
    cases.push_back(LoadCase("store.load.half", "bm_half.xml", nullptr));
    cases.push_back(SaveCase("store.save", "bm.xml", "pugi.build_save"));
    cases.push_back(SaveCase("store.save.half", "bm_half.xml", nullptr));
    cases.push_back(LoadCase("store.load.nest10000", "nest.xml", nullptr));
    cases.push_back(SaveCase("store.save.nest10000", "nest.xml", nullptr));
    cases.push_back(SameTitleCase());
    cases.push_back({"store.pick_random_10", nullptr, [](const Options& o) {
        Prepared p;
        auto holder = std::make_shared<CBookmarkStore>();
        holder->Load(FileIn(o, "bm.xml"));
        auto picked = std::make_shared<std::size_t>(0);
        p.work = [=] { *picked = holder->PickRandomBookmarks(10).size(); };
        p.check = [=] { return std::to_string(*picked) + " picked of " + std::to_string(holder->TotalBookmarks()); };
        return p;
    }});
}

}  // namespace bench
