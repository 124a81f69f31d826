#include "homepage_group.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support/temp_dir.h"

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

struct HomepageGroupTest : ::testing::Test {
    testing_support::TempDir dir;
    std::string path = dir.File("HomepageGroup.xml");
};

std::vector<std::pair<std::string, std::string>> Entries(const CHomepageGroup& group) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const HomepageItem* item : group.Items()) out.emplace_back(item->title, item->url);
    return out;
}

TEST_F(HomepageGroupTest, WritesOneElementPerEntryInOrder) {
    CHomepageGroup group;
    group.Load(path);
    group.Add("Home & away", "http://a/?x=1&y=2");
    group.Add("\xCA\xE9 \"q\" 'a' <b>", "http://b/");
    group.Add("Home & away", "http://a/?x=1&y=2");
    ASSERT_TRUE(group.Save());
    EXPECT_FALSE(group.IsModified());
    EXPECT_EQ(ReadBytes(path), kDecl + "<root>\r\n"
                                       "<a t=\"Home &amp; away\" u=\"http://a/?x=1&amp;y=2\"/>\r\n"
                                       "<a t=\"\xCA\xE9 &quot;q&quot; &apos;a&apos; &lt;b&gt;\" u=\"http://b/\"/>\r\n"
                                       "<a t=\"Home &amp; away\" u=\"http://a/?x=1&amp;y=2\"/>\r\n"
                                       "</root>\r\n");
    CHomepageGroup loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(Entries(loaded), Entries(group));
    EXPECT_EQ(loaded.Items()[0]->title, "Home & away");
}

TEST_F(HomepageGroupTest, AnEmptyGroupIsOneLine) {
    CHomepageGroup group;
    group.Load(path);
    ASSERT_TRUE(group.Save());
    EXPECT_EQ(ReadBytes(path), kDecl + "<root/>\r\n");
    CHomepageGroup loaded;
    EXPECT_TRUE(loaded.Load(path));
    EXPECT_TRUE(loaded.Items().empty());
}

TEST_F(HomepageGroupTest, ReadsOnlyTheEntriesDirectlyUnderTheRoot) {
    WriteBytes(path, kDecl + "<root>\r\n<A t=\"upper\" u=\"U1\"/>\r\n<b><a t=\"nested\" u=\"x\"/></b>\r\n"
                             "<a u=\"no title\"/>\r\n<a t=\"outer\" u=\"U2\"><a t=\"inner\" u=\"x\"/></a>\r\n"
                             "<a t=\"a/b:c\" u=\"U3\"/>\r\n</root>\r\n");
    CHomepageGroup group;
    ASSERT_TRUE(group.Load(path));
    EXPECT_EQ(Entries(group), (std::vector<std::pair<std::string, std::string>>{
                                  {"upper", "U1"}, {"", "no title"}, {"outer", "U2"}, {"a/b:c", "U3"}}));
    EXPECT_FALSE(group.IsModified());
}

TEST_F(HomepageGroupTest, AnUnreadableFileLeavesTheGroupEmptyButRemembersThePath) {
    for (const std::string& content : {std::string(kDecl + "<ROOT><a t=\"x\" u=\"y\"/></ROOT>"),
                                       std::string(kDecl + "<root><a t=\"x\" u=\"y\"/>"), std::string()}) {
        WriteBytes(path, content);
        CHomepageGroup group;
        EXPECT_FALSE(group.Load(path));
        EXPECT_TRUE(group.Items().empty());
        EXPECT_EQ(group.Path(), path);
    }
    CHomepageGroup group;
    EXPECT_FALSE(group.Load(dir.File("absent.xml")));
    EXPECT_EQ(group.Path(), dir.File("absent.xml"));
}

TEST_F(HomepageGroupTest, RemovingAnEntryNotInTheListChangesNothing) {
    CHomepageGroup group;
    group.Load(path);
    HomepageItem* first = group.Add("one", "1");
    group.Add("two", "2");
    ASSERT_TRUE(group.Save());
    HomepageItem stranger{"x", "y"};
    group.Remove(&stranger);
    group.Remove(nullptr);
    EXPECT_FALSE(group.IsModified());
    EXPECT_EQ(group.Items().size(), 2u);
    group.Remove(first);
    EXPECT_TRUE(group.IsModified());
    EXPECT_EQ(Entries(group), (std::vector<std::pair<std::string, std::string>>{{"two", "2"}}));
}

TEST_F(HomepageGroupTest, ReleaseWritesOnlyWhenChanged) {
    {
        CHomepageGroup group;
        EXPECT_FALSE(group.Load(path));
        group.Release();
        EXPECT_FALSE(std::filesystem::exists(path)) << "nothing changed, nothing written";
    }
    {
        CHomepageGroup group;
        group.Load(path);
        group.Add("t", "u");
        group.Release();
        EXPECT_TRUE(group.Items().empty());
        EXPECT_TRUE(group.Path().empty());
        EXPECT_EQ(ReadBytes(path), kDecl + "<root>\r\n<a t=\"t\" u=\"u\"/>\r\n</root>\r\n");
    }
    {
        // Edited in place by the settings page, then flagged.
        CHomepageGroup group;
        ASSERT_TRUE(group.Load(path));
        group.Items()[0]->title = "new title";
        group.Items()[0]->url = "new url";
        group.SetModified();
        group.Release();
        EXPECT_EQ(ReadBytes(path), kDecl + "<root>\r\n<a t=\"new title\" u=\"new url\"/>\r\n</root>\r\n");
    }
}

TEST_F(HomepageGroupTest, AFailedSaveKeepsTheChangesMarked) {
    CHomepageGroup group;
    group.Load(dir.File("missing folder/HomepageGroup.xml"));
    group.Add("t", "u");
    EXPECT_FALSE(group.Save());
    EXPECT_TRUE(group.IsModified());

    CHomepageGroup neverLoaded;
    neverLoaded.Add("t", "u");
    EXPECT_FALSE(neverLoaded.Save()) << "no path, no file";
    EXPECT_TRUE(neverLoaded.IsModified());
}

TEST_F(HomepageGroupTest, TheProcessWideGroupIsSavedWhenDestroyed) {
    CHomepageGroup& group = CHomepageGroup::Instance();
    EXPECT_EQ(&CHomepageGroup::Instance(), &group);
    EXPECT_TRUE(group.Items().empty());
    group.Load(path);
    group.Add("kept", "k");
    CHomepageGroup::DestroyInstance();
    EXPECT_EQ(ReadBytes(path), kDecl + "<root>\r\n<a t=\"kept\" u=\"k\"/>\r\n</root>\r\n");
    EXPECT_TRUE(CHomepageGroup::Instance().Items().empty());
    CHomepageGroup::DestroyInstance();
}

}  // namespace
