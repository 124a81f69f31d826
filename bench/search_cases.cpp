// Searching the 100,000-bookmark workload as the user types (each keystroke
// walks the whole collection: there is no index), and finding its duplicate
// URLs.
#include "bench_cases.h"

#include "bookmark_search.h"
#include "bookmark_store.h"

#include <memory>

namespace bench {
namespace {

Case SearchCase(const char* name, std::string typed) {
    return {name, nullptr, [typed](const Options& o) {
        Prepared p;
        auto store = std::make_shared<CBookmarkStore>();
        if (!store->Load(FileIn(o, "bm.xml"))) {
            p.ok = false;
            p.error = "cannot load bm.xml";
            return p;
        }
        auto found = std::make_shared<std::size_t>(0);
        p.work = [=] { *found = search::FindBookmarks(*store->Root(), typed).size(); };
        p.check = [=] { return std::to_string(*found) + " found of " + std::to_string(store->TotalBookmarks()); };
        return p;
    }};
}

}  // namespace

void AddSearchCases(std::vector<Case>& cases) {
    cases.push_back(SearchCase("search.keystroke.letters", "qx"));
    cases.push_back(SearchCase("search.keystroke.common", "a"));
    cases.push_back(SearchCase("search.keystroke.chinese", "\xD6\xD0"));
    cases.push_back({"search.duplicates", nullptr, [](const Options& o) {
        Prepared p;
        auto store = std::make_shared<CBookmarkStore>();
        store->Load(FileIn(o, "bm.xml"));
        auto groups = std::make_shared<std::size_t>(0);
        p.work = [=] { *groups = search::FindDuplicates(*store->Root()).size(); };
        p.check = [=] { return std::to_string(*groups) + " groups"; };
        return p;
    }});
}

}  // namespace bench
