#include "validation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using dialogs::Field;

// What a check answered, as text: "ok" or "<field> <section>/<key>".
std::string Describe(const std::optional<dialogs::Refusal>& r) {
    if (!r) return "ok";
    const char* field = r->field == Field::kTitle ? "title" : r->field == Field::kUrl ? "url" : "name";
    return std::string(field) + " " + std::string(r->message.section) + "/" + std::string(r->message.key);
}

struct BookmarkCase {
    const char* title;
    const char* url;
    const char* expected;
};

TEST(BookmarkCheck, FirstFailureInTheDialogsOrder) {
    const BookmarkCase cases[] = {
        {"News", "http://example.com", "ok"},
        {"", "", "title dlg_addbookmark/10000"},
        {"", "http://x", "title dlg_addbookmark/10000"},
        {"a/b", "", "url dlg_addbookmark/10001"},   // empty URL before bad characters
        {"News", "", "url dlg_addbookmark/10001"},
        {"a/b", "http://x", "title common/invalidchar"},
        {"http://x", "http://x", "title common/invalidchar"},
        {" ", "x", "ok"},                            // a blank title is not empty
        {"书签", "网址", "ok"},
        {"标题|", "x", "title common/invalidchar"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Describe(dialogs::CheckBookmark(c.title, c.url)), c.expected) << c.title << " / " << c.url;
    }
}

TEST(BookmarkCheck, EachOfTheNineCharactersIsRefusedAndNoOther) {
    for (int c = 1; c < 256; ++c) {
        std::string title = "ab";
        title.insert(title.begin() + 1, static_cast<char>(c));
        if (c >= 0x81 && c <= 0xFE) continue;  // a lead byte would swallow "b"
        const bool invalid = std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(dialogs::CheckBookmark(title, "u").has_value(), invalid) << c;
    }
}

TEST(BookmarkCheck, TrailByteThatLooksLikeABackslashIsNoBackslash) {
    // 0x95 0x5C is one GBK character whose second byte is the backslash's.
    EXPECT_FALSE(dialogs::CheckBookmark("\x95\x5C", "u").has_value());
    EXPECT_TRUE(dialogs::CheckBookmark("\x95\x5C\\", "u").has_value());
}

TEST(HomepageCheck, EmptyTitleThenEmptyUrlAndNoCharacterCheck) {
    EXPECT_EQ(Describe(dialogs::CheckHomepageItem("", "")), "title dlg_addhomepage/10000");
    EXPECT_EQ(Describe(dialogs::CheckHomepageItem("", "u")), "title dlg_addhomepage/10000");
    EXPECT_EQ(Describe(dialogs::CheckHomepageItem("t", "")), "url dlg_addhomepage/10001");
    EXPECT_EQ(Describe(dialogs::CheckHomepageItem("a:b|c", "u")), "ok");
}

TEST(ClassNameCheck, EmptyAndBlankAcceptedInvalidCharactersRefused) {
    EXPECT_EQ(Describe(dialogs::CheckClassName("")), "ok");
    EXPECT_EQ(Describe(dialogs::CheckClassName("   ")), "ok");
    EXPECT_EQ(Describe(dialogs::CheckClassName("新闻")), "ok");
    EXPECT_EQ(Describe(dialogs::CheckClassName("a:b")), "name common/invalidchar");
    EXPECT_EQ(Describe(dialogs::CheckClassName("?")), "name common/invalidchar");
}

TEST(InvalidCharMessage, BuiltinTextListsTheNineCharactersAfterALineBreak) {
    const auto text = dialogs::kInvalidChars.builtin;
    ASSERT_GE(text.size(), 10u);
    EXPECT_EQ(text.substr(text.size() - 10), "\n\\/:*?\"<>|");
}

struct ModeCase {
    int mode;
    const char* titleKey;
    const char* titleText;
    const char* labelKey;
    bool update;
};

TEST(ModeTexts, CategoryDialogModes) {
    const ModeCase cases[] = {
        {0, "title0", "增加类别", "10000", false},    {1, "title1", "增加子类别", "10001", false},
        {2, "title2", "编辑类别", "10000", true},     {3, "title3", "编辑子类别", "10001", true},
        {4, "title0", "增加类别", "10000", false},    {-1, "title0", "增加类别", "10000", false},
    };
    for (const auto& c : cases) {
        const auto t = dialogs::ClassModeTexts(c.mode);
        EXPECT_EQ(t.title.section, "dlg_addclass") << c.mode;
        EXPECT_EQ(t.title.key, c.titleKey) << c.mode;
        EXPECT_EQ(t.title.builtin, c.titleText) << c.mode;
        EXPECT_EQ(t.label.section, "dlg_addclass") << c.mode;
        EXPECT_EQ(t.label.key, c.labelKey) << c.mode;
        EXPECT_EQ(t.okIsUpdate, c.update) << c.mode;
    }
}

TEST(ModeTexts, BookmarkAndHomepageModes) {
    EXPECT_EQ(dialogs::BookmarkModeTexts(0).title.builtin, "增加书签");
    EXPECT_FALSE(dialogs::BookmarkModeTexts(0).okIsUpdate);
    EXPECT_EQ(dialogs::BookmarkModeTexts(1).title.key, "title1");
    EXPECT_EQ(dialogs::BookmarkModeTexts(1).title.builtin, "编辑书签");
    EXPECT_TRUE(dialogs::BookmarkModeTexts(1).okIsUpdate);
    EXPECT_EQ(dialogs::BookmarkModeTexts(7).title.key, "title0");
    EXPECT_EQ(dialogs::HomepageModeTexts(0).title.builtin, "增加主页组项");
    EXPECT_EQ(dialogs::HomepageModeTexts(1).title.builtin, "编辑主页组项");
    EXPECT_EQ(dialogs::HomepageModeTexts(1).title.section, "dlg_addhomepage");
    EXPECT_TRUE(dialogs::HomepageModeTexts(1).okIsUpdate);
    EXPECT_FALSE(dialogs::HomepageModeTexts(2).okIsUpdate);
}

}  // namespace

namespace {

TEST(ProductVersion, FourNumbersFromTheTwoDoubleWords) {
    EXPECT_EQ(dialogs::FormatProductVersion(0x00010000, 0x00000000), "1.0.0.0");
    EXPECT_EQ(dialogs::FormatProductVersion(0x00020003, 0x00040005), "2.3.4.5");
    EXPECT_EQ(dialogs::FormatProductVersion(0xFFFFFFFF, 0x0000FFFF), "65535.65535.0.65535");
}

}  // namespace
