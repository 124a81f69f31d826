// The keeper notices a bookmark file deleted while the program runs.
#include "bookmark_file_keeper.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bookmark_store.h"
#include "store_test_helpers.h"
#include "test_support/temp_dir.h"

namespace {

const std::string kGood =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"News\"/>\r\n</root>\r\n";

TEST(KeeperMissingFile, OnlyAFileThatWasThereCountsAsMissing) {
    struct Case {
        const char* name;
        const char* atStart;  // none: no file
        bool saveFirst;
        bool deleteAfter;
        bool missing;
    };
    const Case cases[] = {
        {"loaded, still there", kGood.c_str(), false, false, false},
        {"loaded, then deleted", kGood.c_str(), false, true, true},
        {"never there", nullptr, false, false, false},
        {"never there, saved, then deleted", nullptr, true, true, true},
        {"damaged, then deleted", "<root", false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir dir;
        const std::string file = dir.File("bookmark.xml");
        if (c.atStart) testing_support::WriteBytes(file, c.atStart);
        CBookmarkFileKeeper::Options options;
        options.retry.attempts = 1;
        CBookmarkFileKeeper keeper(file, options);
        CBookmarkStore store;
        keeper.Load(store);
        if (c.saveFirst) {
            store_test::AddChild(store, store.Root(), "Saved");
            ASSERT_TRUE(keeper.Save(store).saved);
        }
        if (c.deleteAfter) std::filesystem::remove(file);
        EXPECT_EQ(keeper.FileWentMissing(), c.missing);
        if (c.missing) {
            // Saved again, unchanged: the file is back and no longer missing.
            ASSERT_TRUE(keeper.Save(store).saved);
            EXPECT_TRUE(std::filesystem::exists(file));
            EXPECT_FALSE(keeper.FileWentMissing());
        }
    }
}

}  // namespace
