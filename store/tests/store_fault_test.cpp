// The user's bookmarks survive bad files and unusual bytes: a file the engine
// refuses is never replaced by an empty collection, and a file the program
// wrote loads and saves back to exactly the same bytes.
#include <gtest/gtest.h>

#include "bookmark_store.h"
#include "store_test_helpers.h"
#include "test_support/temp_dir.h"

#include <random>

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

struct StoreFaultTest : ::testing::Test {
    testing_support::TempDir dir;
    std::string path = dir.File("bookmark.xml");

    // What the program does at every save-timer tick and at exit.
    static void SaveIfModified(CBookmarkStore& store, const std::string& path) {
        if (store.IsModified()) store.Save(path);
    }
};

TEST_F(StoreFaultTest, ARefusedFileIsNeverOverwrittenUnlessTheUserChangesSomething) {
    const std::string decl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    const std::string refused[] = {
        decl + "<root>\r\n<G t=\"News\">\r\n<a t=\"x\" u=\"y\" r=\"\"/>\r\n",  // cut off mid-write
        decl + "<root>\r\n<G t=\"A\"/>\r\n</root>\r\n<root/>\r\n",           // two roots
        decl + "<ROOT>\r\n<G t=\"A\"/>\r\n</ROOT>\r\n",                     // other root name
        std::string("\x00\x01\x02<root>", 9),                                // binary in front
        "",
    };
    for (const std::string& bytes : refused) {
        WriteBytes(path, bytes);
        CBookmarkStore store;
        EXPECT_FALSE(store.Load(path));
        EXPECT_EQ(store.TotalBookmarks(), 0u);
        EXPECT_FALSE(store.IsModified());
        SaveIfModified(store, path);  // timer tick
        SaveIfModified(store, path);  // exit
        EXPECT_EQ(ReadBytes(path), bytes) << "the refused file must stay as it was";

        store.AddTopClass("new");  // a real change is saved
        SaveIfModified(store, path);
        EXPECT_NE(ReadBytes(path), bytes);
    }
}

// Bytes that are easy to get wrong: GBK characters whose second byte is a
// backslash, a vertical bar or an ASCII letter, XML's special characters,
// line breaks, tabs and every byte value.
std::string AwkwardText(std::mt19937& random, bool allBytes) {
    static const char* pieces[] = {"\x95\x5C", "\x95\x7C", "\xB1\xED", "\x81\x40", "&", "<", ">", "\"", "'",
                                   "&amp;", "&#65;", "\r\n", "\t", " ", "x", "\xFE\xFE", "]]>", "/>"};
    std::string text;
    int n = static_cast<int>(random() % 12);
    for (int i = 0; i < n; ++i) text += pieces[random() % std::size(pieces)];
    if (allBytes)
        for (int b = 0; b < 256; ++b) text += static_cast<char>(b);
    return text;
}

TEST_F(StoreFaultTest, FilesTheProgramWroteRoundTripByteForByte) {
    std::mt19937 random(7);
    CBookmarkStore store;
    ClassRecord* parent = nullptr;
    for (int c = 0; c < 30; ++c) {
        std::string name = "c" + std::to_string(c) + AwkwardText(random, false);
        FilterInvalidChars(name, true);  // what the editing dialogs allow
        ClassRecord* category = store_test::AddChild(store, c % 3 == 0 ? nullptr : parent, name);
        if (c % 3 == 0) parent = category;
        for (int b = 0; b < 5; ++b) {
            std::string title = "t" + std::to_string(b) + AwkwardText(random, false);
            FilterInvalidChars(title, true);
            auto* bookmark = new BookmarkRecord(title, AwkwardText(random, false), AwkwardText(random, b == 0));
            if (!store.AddBookmark(category, nullptr, bookmark)) delete bookmark;
        }
    }
    ASSERT_TRUE(store.Save(path));
    const std::string written = ReadBytes(path);

    CBookmarkStore again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(store_test::Describe(again), store_test::Describe(store));
    const std::string secondPath = dir.File("again.xml");
    ASSERT_TRUE(again.Save(secondPath));
    EXPECT_EQ(ReadBytes(secondPath), written);

    // Every field, remarks with all byte values included, came back exactly.
    const ClassRecord* a = store.Root();
    const ClassRecord* b = again.Root();
    for (a = a->FirstChild(), b = b->FirstChild(); a && b;
         a = NextInPreOrder(a, store.Root()), b = NextInPreOrder(b, again.Root())) {
        ASSERT_EQ(a->bookmarks.size(), b->bookmarks.size());
        for (std::size_t i = 0; i < a->bookmarks.size(); ++i) {
            EXPECT_EQ(a->bookmarks[i]->url, b->bookmarks[i]->url);
            EXPECT_EQ(a->bookmarks[i]->remark, b->bookmarks[i]->remark);
        }
    }
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
}

}  // namespace
