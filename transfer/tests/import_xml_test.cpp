// Importing a bookmark file: element names ignoring case, filtered titles,
// merging categories, bookmarks right under "root", and files that must
// import nothing.
#include "transfer_test_support.h"

#include "platform/file_io.h"

namespace {

using transfer_test::HoldsInvalidChars;
using transfer_test::TransferTest;

std::string File(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n" + body + "</root>\r\n";
}

class ImportXmlTest : public TransferTest {};

TEST_F(ImportXmlTest, GroupsAndBookmarksOfAnyCaseArriveFilteredAndMerged) {
    ClassRecord* news = store_test::AddChild(store, store.Root(), "news");
    store_test::AddBookmarks(store, news, {"Old"});
    auto job = ImportXml(File("<G t=\"News\"><a t=\"a/b\" u=\"http://ab\" r=\"note\"/><x><a t=\"hidden\" u=\"h\"/></x>"
                              "<g t=\"Sub\"><A t=\"Deep\" u=\"http://deep\"/></g></G>"
                              "<G t=\"音乐\"><a t=\"no url\" u=\"\"/></G>"));
    EXPECT_EQ(Tree(), (std::vector<std::string>{"news(0):Old,a／b", "Sub(1):Deep", "音乐(0)"}));
    EXPECT_EQ(news->bookmarks[1]->remark, "note");
    EXPECT_EQ(job->Total(), 3u) << "the 'a' inside 'x' is not reached through groups";
    EXPECT_EQ(job->Percent(), 100);
}

TEST_F(ImportXmlTest, BookmarksUnderRootGoToTheChosenCategoryButNotToTheTopLevel) {
    const std::string file = File("<a t=\"Loose\" u=\"http://loose\"/><G t=\"G1\"/>");
    ImportXml(file);
    EXPECT_EQ(Tree(), (std::vector<std::string>{"G1(0)"}));
    ClassRecord* mine = store_test::AddChild(store, store.Root(), "Mine");
    host.selected = mine;
    ImportXml(file, mine);
    EXPECT_EQ(Tree(), (std::vector<std::string>{"G1(0)", "Mine(0):Loose", "G1(1)"}));
    EXPECT_EQ(host.filled, std::vector<ClassRecord*>{mine});
}

TEST_F(ImportXmlTest, ExistingTitlesAskWithTheNewTitleAndAllReplacesWithoutReindexing) {
    ClassRecord* tools = store_test::AddChild(store, store.Root(), "Tools");
    std::vector<std::string> titles;
    for (int i = 0; i < 40; ++i) titles.push_back("t" + std::to_string(i));
    store_test::AddBookmarks(store, tools, titles);
    std::string body = "<G t=\"TOOLS\">";
    for (int i = 0; i < 40; ++i) body += "<a t=\"T" + std::to_string(i) + "\" u=\"new" + std::to_string(i) + "\"/>";
    body += "</G>";
    host.answers = {1001};
    store.SetModified(false);
    ImportXml(File(body));
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].name, "T0");
    EXPECT_EQ(host.questions[0].existingUrl, "http://t0");
    EXPECT_EQ(host.questions[0].newUrl, "new0");
    ASSERT_EQ(tools->bookmarks.size(), 40u);
    EXPECT_EQ(tools->bookmarks[39]->url, "new39");
    EXPECT_EQ(tools->bookmarks[39]->title, "t39") << "the title stays";
    EXPECT_TRUE(store.IsModified());
    // The title index still finds every bookmark after the replacements.
    BookmarkRecord probe("T20", "x");
    EXPECT_EQ(store.FindBookmark(tools, &probe, nullptr), tools->bookmarks[20]);
}

TEST_F(ImportXmlTest, UnusableFilesImportNothing) {
    const char* files[] = {
        "",
        "not xml at all",
        "<root><G t=\"x\"><a t=\"a\" u=\"u\"/></root>",  // not well-formed
        "<ROOT><G t=\"x\"><a t=\"a\" u=\"u\"/></G></ROOT>",
        "<other><G t=\"x\"><a t=\"a\" u=\"u\"/></G></other>",
    };
    for (const char* text : files) {
        auto job = ImportXml(text);
        EXPECT_EQ(job->Total(), 0u) << text;
        // The wizard says the file could not be read, not that it imported.
        EXPECT_TRUE(job->Counts().pathFailed) << text;
    }
    EXPECT_TRUE(Tree().empty());
    transfer::CTransferJob missing(store, fs, host);
    ASSERT_TRUE(missing.StartImportXml("C:\\in\\missing.xml", nullptr));
    missing.Join();
    EXPECT_EQ(missing.Total(), 0u);
    EXPECT_TRUE(missing.Counts().pathFailed);
    transfer::CTransferJob empty(store, fs, host);
    ASSERT_TRUE(empty.StartImportXml("", nullptr));
    empty.Join();
    EXPECT_TRUE(empty.Counts().pathFailed) << "an empty path is no success either";
}

TEST_F(ImportXmlTest, HundredThousandNestedGroupsNeitherOverflowNorStall) {
#ifdef _WIN32
    // Under Wine every category costs a round trip between two threads
    // through the server (100,000 take over two minutes); 30,000 levels
    // still overflow any recursive walk of the worker's stack.
    constexpr int kLevels = 30000;
#else
    constexpr int kLevels = 100000;
#endif
    std::string body;
    for (int i = 0; i < kLevels; ++i) body += "<G t=\"n\">";
    body += "<a t=\"deep\" u=\"http://deep\"/>";
    for (int i = 0; i < kLevels; ++i) body += "</G>";
    auto job = ImportXml(File(body));
    EXPECT_EQ(job->Counts().added, 1u);
    int depth = 0;
    const ClassRecord* node = store.Root()->FirstChild();
    while (node->FirstChild()) node = node->FirstChild(), ++depth;
    EXPECT_EQ(depth, kLevels - 1);
    EXPECT_EQ(node->bookmarks.size(), 1u);
}

TEST_F(ImportXmlTest, TheShippedDefaultFileImportsItsCategoriesToTheTopLevel) {
    std::string text, error;
    ASSERT_TRUE(platform::ReadWholeFile(QUORVA_DEFAULT_XML, text, error)) << error;
    store_test::AddChild(store, store.Root(), "搜索引擎");
    auto job = ImportXml(text);
    EXPECT_GE(job->Counts().added, 10u);
    EXPECT_EQ(job->Counts().failed, 0u);
    const auto tops = store_test::ChildNames(store.Root());
    EXPECT_EQ(tops, (std::vector<std::string>{"搜索引擎", "新闻资讯", "常用工具", "学习"})) << "merged, not doubled";
    ClassRecord* tools = Top("常用工具");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(store_test::ChildNames(tools), std::vector<std::string>{"翻译"});
}

// A group's name is filtered like a bookmark's title (none of the nine
// characters stays), before it is looked up among the categories there.
TEST_F(ImportXmlTest, AGroupNamedWithASlashIsFilteredLikeEveryOtherName) {
    const std::string file = File("<G t=\"a/b\"><a t=\"x\" u=\"http://x\"/><G t=\"c:d\"/></G>");
    ImportXml(file);
    ClassRecord* group = store.Root()->FirstChild();
    ASSERT_NE(group, nullptr);
    ASSERT_NE(group->FirstChild(), nullptr);
    const std::string name = group->name;
    const std::string sub = group->FirstChild()->name;
    for (const std::string& filtered : {name, sub}) {
        EXPECT_EQ(filtered.find_first_of("/:"), std::string::npos) << filtered;
        EXPECT_FALSE(HoldsInvalidChars(filtered)) << filtered;
    }
    EXPECT_EQ(Tree(), (std::vector<std::string>{name + "(0):x", sub + "(1)"}));
    host.answers = {1006};
    ImportXml(file);
    EXPECT_EQ(Tree(), (std::vector<std::string>{name + "(0):x", sub + "(1)"})) << "merged, not doubled";
    EXPECT_EQ(QuestionNames(), std::vector<std::string>{"x"});
}

// A bookmark file without a single bookmark imports nothing, not even its
// groups, and that is no failure.
TEST_F(ImportXmlTest, AFileWithoutBookmarksImportsNothingAndIsNoFailure) {
    for (const char* body : {"", "<G t=\"empty\"/>", "<G t=\"x\"><G t=\"y\"/></G>", "<b t=\"a\"><a t=\"a\" u=\"u\"/></b>"}) {
        SCOPED_TRACE(body);
        auto job = ImportXml(File(body));
        EXPECT_EQ(job->Total(), 0u);
        EXPECT_FALSE(job->Counts().pathFailed);
        EXPECT_EQ(job->Counts().added, 0u);
    }
    for (const char* text : {"<root/>", "<?xml version=\"1.0\"?><root></root>"}) {
        auto job = ImportXml(text);
        EXPECT_EQ(job->Total(), 0u) << text;
        EXPECT_FALSE(job->Counts().pathFailed) << text;
    }
    EXPECT_TRUE(Tree().empty());
}

}  // namespace
