// The transfer jobs on the host: importing the workload's bookmark file into
// an empty top level (against loading it), and importing it again over
// itself answering "全部" (every bookmark's URL replaced). The file system is
// the in-memory one, so the figures are the job's own work plus its requests
// to the user-interface thread (this thread, waiting in Join).
#include "bench_cases.h"

#include "bookmark_store.h"
#include "browser_file.h"
#include "memory_file_system.h"
#include "platform/file_io.h"
#include "threaded_test_host.h"
#include "transfer_job.h"

#include <memory>

namespace bench {
namespace {

struct ImportRig {
    std::unique_ptr<CBookmarkStore> store;
    transfer_test::CMemoryFileSystem fs;
    transfer_test::CThreadedTestHost host;
    std::size_t added = 0, replaced = 0;
};

Case ImportCase(const char* name, const char* file, bool again, const char* reference) {
    return {name, reference, [=](const Options& o) {
        Prepared p;
        auto rig = std::make_shared<ImportRig>();
        std::string text, error;
        const std::string path = FileIn(o, file);
        if (!platform::ReadWholeFile(path, text, error)) {
            p.ok = false;
            p.error = "cannot read " + path;
            return p;
        }
        rig->fs.AddFile("C:\\in\\bm.xml", std::move(text));
        rig->host.rest = 1001;
        p.setup = [=] {
            rig->store = std::make_unique<CBookmarkStore>();
            if (again) rig->store->Load(path);
        };
        p.work = [=] {
            transfer::CTransferJob job(*rig->store, rig->fs, rig->host);
            job.StartImportXml("C:\\in\\bm.xml", nullptr);
            job.Join();
            rig->added = job.Counts().added;
            rig->replaced = job.Counts().replaced;
        };
        p.check = [=] {
            return std::to_string(rig->added) + " added, " + std::to_string(rig->replaced) + " replaced, " +
                   std::to_string(rig->host.RequestsRun()) + " requests in all runs";
        };
        return p;
    }};
}

// The workload written as a browser's bookmark file (its categories as
// folders), imported into an empty top level: against the XML import.
Case BrowserImportCase() {
    return {"transfer.browser_import", "transfer.xml_import", [](const Options& o) {
        Prepared p;
        auto rig = std::make_shared<ImportRig>();
        CBookmarkStore source;
        if (!source.Load(FileIn(o, "bm.xml"))) {
            p.ok = false;
            p.error = "cannot load bm.xml";
            return p;
        }
        std::vector<const ClassRecord*> tops;
        for (const ClassRecord* c = source.Root()->FirstChild(); c; c = c->NextSibling()) tops.push_back(c);
        rig->fs.AddFile("C:\\in\\bookmarks.html", browserfile::Write(tops, "Bookmarks"));
        rig->host.rest = 1001;
        p.setup = [=] { rig->store = std::make_unique<CBookmarkStore>(); };
        p.work = [=] {
            transfer::CTransferJob job(*rig->store, rig->fs, rig->host);
            job.StartImportBrowserFile("C:\\in\\bookmarks.html", nullptr);
            job.Join();
            rig->added = job.Counts().added;
        };
        p.check = [=] { return std::to_string(rig->added) + " added"; };
        return p;
    }};
}

// A browser file of at least 50 MB (the workload's folders written over and
// over), read: the reader must stay linear at sizes no test reaches.
Case BrowserRead50MbCase() {
    return {"browser_file.read_50mb", nullptr, [](const Options& o) {
        Prepared p;
        CBookmarkStore source;
        if (!source.Load(FileIn(o, "bm.xml"))) {
            p.ok = false;
            p.error = "cannot load bm.xml";
            return p;
        }
        std::vector<const ClassRecord*> once, tops;
        for (const ClassRecord* c = source.Root()->FirstChild(); c; c = c->NextSibling()) once.push_back(c);
        auto file = std::make_shared<std::string>(browserfile::Write(once, "Bookmarks"));
        const std::size_t copies = file->size() ? (50u << 20) / file->size() + 1 : 1;
        for (std::size_t i = 0; i < copies; ++i) tops.insert(tops.end(), once.begin(), once.end());
        *file = browserfile::Write(tops, "Bookmarks");
        auto links = std::make_shared<std::size_t>(0);
        p.work = [=] { *links = browserfile::Read(*file).links; };
        p.check = [=] {
            return std::to_string(file->size() >> 20) + " MB, " + std::to_string(*links) + " links";
        };
        return p;
    }};
}

// Two megabytes of one of the characters that start something the reader
// must find the end of (an entity, a tag, a quoted value, a comment): each
// reads in the time of any other file of that size.
Case BrowserReadRepeatedCase(const char* name, const char* pattern) {
    return {name, nullptr, [pattern](const Options&) {
        Prepared p;
        auto file = std::make_shared<std::string>();
        while (file->size() < (2u << 20)) *file += pattern;
        auto examined = std::make_shared<std::size_t>(0);
        p.work = [=] { browserfile::Read(*file, examined.get()); };
        p.check = [=] { return std::to_string(*examined / file->size()) + " bytes examined per byte"; };
        return p;
    }};
}

}  // namespace

void AddTransferCases(std::vector<Case>& cases) {
    cases.push_back(ImportCase("transfer.xml_import", "bm.xml", false, "store.load"));
    cases.push_back(ImportCase("transfer.xml_reimport_all", "bm.xml", true, "store.load"));
    cases.push_back(ImportCase("transfer.xml_import.nest10000", "nest.xml", false, "store.load.nest10000"));
    cases.push_back(BrowserImportCase());
    cases.push_back(BrowserRead50MbCase());
    cases.push_back(BrowserReadRepeatedCase("browser_file.read_2mb_of_ampersands", "&"));
    cases.push_back(BrowserReadRepeatedCase("browser_file.read_2mb_of_open_quotes", "<a x=\""));
    cases.push_back(BrowserReadRepeatedCase("browser_file.read_2mb_of_tag_starts", "<"));
    cases.push_back(BrowserReadRepeatedCase("browser_file.read_2mb_of_entities_in_titles", "<H3>&#x5DE5"));
}

}  // namespace bench
