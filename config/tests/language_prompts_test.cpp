#include "language_prompts.h"

#include "language.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(PromptKey, MapsSharedRangesAndKeepsTheRest) {
    struct Case { unsigned id, key; };
    const Case cases[] = {
        {0xF000, 0xEF00}, {0xF010, 0xEF01}, {0xF060, 0xEF06}, {0xF120, 0xEF12}, {0xF1EF, 0xEF1E},
        {0xF1F0, 0xF1F0}, {0xE110, 0xEFDA}, {0xE11F, 0xEFDA}, {0xE120, 0xE120}, {0xFEFF, 0xFEFF},
        {0xFF00, 0xEF1F}, {0xFFFF, 0xEF1F}, {32805, 32805}, {8888, 8888},
    };
    for (const Case& c : cases) EXPECT_EQ(PromptKeyForCommand(c.id), c.key) << std::hex << c.id;
}

class PromptTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::WriteBytes(
            dir.File("P.ini"),
            "[Info]\r\nLanguage=P\r\nCodepage=936\r\n[message]\r\n32805=Add a bookmark\\nAdd\r\n"
            "61184=Size the window\\nSize\r\n32910=No break\r\n32915=One\\nTwo\\nThree\r\n"
            "32920=" + std::string(60, 'p') + "\\n" + std::string(70, 't') + "\xD6\xD0\xD6\xD0\r\n");
        lang.SetSystemCodePage(936);
        ASSERT_TRUE(lang.Init(dir.Path().string(), ""));
        ASSERT_TRUE(lang.IsActive());
    }
    testing_support::TempDir dir;
    CLanguage lang;
};

TEST_F(PromptTest, PromptIsTheTextBeforeTheFirstBreak) {
    EXPECT_EQ(MenuPrompt(lang, 32805), "Add a bookmark");
    EXPECT_EQ(MenuPrompt(lang, 0xF000), "Size the window") << "SC_SIZE reads key 61184";
    EXPECT_EQ(MenuPrompt(lang, 32915), "One");
    EXPECT_EQ(MenuPrompt(lang, 32910), "") << "no line break: no prompt";
    EXPECT_EQ(MenuPrompt(lang, 32999), "") << "missing: no built-in prompt";
}

TEST_F(PromptTest, ToolTipIsTheTextAfterTheFirstBreakCutBetweenCharacters) {
    EXPECT_EQ(CommandToolTip(lang, 32805), "Add");
    EXPECT_EQ(CommandToolTip(lang, 32915), "Two\nThree");
    EXPECT_EQ(CommandToolTip(lang, 32910), "");
    EXPECT_EQ(CommandToolTip(lang, 32920), std::string(70, 't') + "\xD6\xD0\xD6\xD0");
    testing_support::WriteBytes(dir.File("P.ini"), "[Info]\r\nLanguage=P\r\nCodepage=936\r\n[message]\r\n1=a\\n" +
                                                       std::string(78, 't') + "\xD6\xD0\r\n");
    lang.SelectPack(0);
    EXPECT_EQ(CommandToolTip(lang, 1), std::string(78, 't')) << "79 bytes would split the last character";
}

TEST_F(PromptTest, NoPackNoPrompt) {
    CLanguage none;
    none.Init((dir.Path() / "missing").string(), "");
    EXPECT_EQ(MenuPrompt(none, 32805), "");
    EXPECT_EQ(CommandToolTip(none, 32805), "");
}

TEST(ButtonText, SplitsAtTheLastBreak) {
    ButtonTexts t = SplitButtonText("增加书签\n增加");
    EXPECT_EQ(t.label, "增加");
    EXPECT_EQ(t.description, "增加书签");
    t = SplitButtonText("a\nb\nc");
    EXPECT_EQ(t.label, "c");
    EXPECT_EQ(t.description, "a\nb");
    t = SplitButtonText("only");
    EXPECT_EQ(t.label, "only");
    EXPECT_EQ(t.description, "");
}

}  // namespace
