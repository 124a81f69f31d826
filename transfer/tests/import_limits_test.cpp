// Every import keeps the limit that links from outside keep: a title or URL
// over 64 KiB is not imported and counts as failed.
#include "pending_link_queue.h"
#include "transfer_test_support.h"

namespace {

using transfer_test::TransferTest;

class ImportLimitsTest : public TransferTest {};

TEST_F(ImportLimitsTest, TextsOverTheLimitAreNotImportedFromAnySource) {
    const std::string atLimit(kMaxLinkTextBytes, 'u');
    const std::string over(kMaxLinkTextBytes + 1, 'u');
    const std::string huge(921623, 'u');  // as a shortcut file once brought in
    struct Case {
        const char* name;
        std::string url;
        std::string title;
        bool imported;
    };
    const Case cases[] = {
        {"short", "http://ok/", "Ok", true},
        {"URL at the limit", atLimit, "At", true},
        {"URL one byte over", over, "Over", false},
        {"URL of 921,623 bytes", huge, "Huge", false},
        {"title one byte over", "http://title/", std::string(kMaxLinkTextBytes + 1, 't'), false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = "C:\\Fav" + std::to_string(++n);
        // A shortcut file of the folder import.
        ClassRecord* fromFolder = store_test::AddChild(store, store.Root(), "Folder " + std::to_string(n));
        fs.AddShortcut(folder + "\\" + c.title + ".url", c.url);
        auto job = ImportFolder(folder, fromFolder);
        EXPECT_EQ(job->Counts().added, c.imported ? 1u : 0u);
        EXPECT_EQ(job->Counts().failed, c.imported ? 0u : 1u);
        EXPECT_EQ(fromFolder->bookmarks.size(), c.imported ? 1u : 0u);
        // A bookmark of the program's own file format.
        ClassRecord* fromXml = store_test::AddChild(store, store.Root(), "Xml " + std::to_string(n));
        job = ImportXml("<?xml version=\"1.0\"?><root><a t=\"" + c.title + "\" u=\"" + c.url + "\" r=\"\"/></root>",
                        fromXml);
        EXPECT_EQ(job->Counts().added, c.imported ? 1u : 0u);
        EXPECT_EQ(job->Counts().failed, c.imported ? 0u : 1u);
        EXPECT_EQ(fromXml->bookmarks.size(), c.imported ? 1u : 0u);
    }
}

}  // namespace
