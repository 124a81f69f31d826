// CLanguage: finding packs, choosing one, and looking texts up.
#include "language.h"

#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// prefix + i, built by appending: GCC 12 warns falsely (-Wrestrict) about
// "literal" + std::to_string(i) in optimised builds.
std::string Numbered(const char* prefix, int i) {
    std::string text = prefix;
    text += std::to_string(i);
    return text;
}


using testing_support::TempDir;
using testing_support::WriteBytes;

std::string Pack(const std::string& language, const std::string& codePage, const std::string& body = "") {
    return "[Info]\r\nLanguage=" + language + "\r\nCodepage=" + codePage + "\r\n" + body;
}

std::vector<std::string> Names(const CLanguage& lang) {
    std::vector<std::string> names;
    for (const auto& p : lang.Packs()) names.push_back(p.name);
    return names;
}

int IndexOf(const CLanguage& lang, const std::string& name) {
    for (std::size_t i = 0; i < lang.Packs().size(); ++i)
        if (lang.Packs()[i].name == name) return static_cast<int>(i);
    return -1;
}

class LanguageTest : public ::testing::Test {
protected:
    void Write(const std::string& file, const std::string& content) { WriteBytes(dir.File(file), content); }
    bool Init(const std::string& preferred, unsigned codePage) {
        lang.SetSystemCodePage(codePage);
        return lang.Init(dir.Path().string(), preferred);
    }
    TempDir dir;
    CLanguage lang;
};

// --- choosing a pack ------------------------------------------------------

TEST_F(LanguageTest, ChineseSystemPicksThePackOfItsCodePage) {
    Write("English.ini", Pack("English", "1252"));
    Write("Chinese.ini", Pack("简体中文", "936"));
    ASSERT_TRUE(Init("", 936));
    EXPECT_EQ(lang.CurrentName(), "Chinese");
    EXPECT_TRUE(lang.IsActive());
    EXPECT_EQ(lang.CurrentPath(), lang.Folder() + "Chinese.ini");
}

TEST_F(LanguageTest, OtherSystemsGetTheirCodePageOrEnglish) {
    Write("English.ini", Pack("English", "1252"));
    Write("Chinese.ini", Pack("简体中文", "936"));
    ASSERT_TRUE(Init("", 1252));
    EXPECT_EQ(lang.CurrentName(), "English");
    ASSERT_TRUE(Init("", 1251));
    EXPECT_EQ(lang.CurrentName(), "English") << "no pack for 1251: the English one";
}

TEST_F(LanguageTest, EnglishIsFoundByNameInAnyCase) {
    Write("english.ini", Pack("English", "1252"));
    Write("French.ini", Pack("Français", "1252"));
    ASSERT_TRUE(Init("", 936));
    EXPECT_EQ(lang.CurrentName(), "english");
}

TEST_F(LanguageTest, NoCodePageMatchAndNoEnglishMeansNoPack) {
    Write("French.ini", Pack("Français", "1252"));
    Write("German.ini", Pack("Deutsch", "1252"));
    ASSERT_TRUE(Init("", 936));
    EXPECT_FALSE(lang.IsActive());
    EXPECT_EQ(lang.Current(), -1);
    EXPECT_EQ(lang.CurrentName(), "");
    EXPECT_EQ(lang.CurrentPath(), "");
    EXPECT_EQ(lang.GetText("common", "hint", "提示"), "提示");
}

TEST_F(LanguageTest, PreferredNameMatchesInAnyCase) {
    Write("English.ini", Pack("English", "1252"));
    Write("Chinese.ini", Pack("简体中文", "936"));
    ASSERT_TRUE(Init("english", 936));
    EXPECT_EQ(lang.CurrentName(), "English");
    ASSERT_TRUE(Init("CHINESE", 1252));
    EXPECT_EQ(lang.CurrentName(), "Chinese");
}

TEST_F(LanguageTest, PreferredNameThatIsGoneFallsBackToTheAutomaticChoice) {
    Write("English.ini", Pack("English", "1252"));
    Write("Chinese.ini", Pack("简体中文", "936"));
    ASSERT_TRUE(Init("Klingon", 936));
    EXPECT_EQ(lang.CurrentName(), "Chinese");
}

TEST_F(LanguageTest, FirstPackOfTheCodePageWins) {
    for (const char* name : {"a", "b", "c", "d"}) Write(std::string(name) + ".ini", Pack(name, "936"));
    ASSERT_TRUE(Init("", 936));
    EXPECT_EQ(lang.Current(), 0) << "listing order: " << ::testing::PrintToString(Names(lang));
}

#ifndef _WIN32  // names that differ only in case need a case-sensitive file system
TEST_F(LanguageTest, LastOfSeveralMatchingNamesWins) {
    Write("English.ini", Pack("English A", "1252"));
    Write("ENGLISH.ini", Pack("English B", "1252"));
    Write("english.ini", Pack("English C", "1252"));
    ASSERT_TRUE(Init("", 936));
    int last = -1;
    for (std::size_t i = 0; i < lang.Packs().size(); ++i) last = static_cast<int>(i);
    EXPECT_EQ(lang.Current(), last) << "automatic: the last pack named English";
    ASSERT_TRUE(Init("eNgLiSh", 936));
    EXPECT_EQ(lang.Current(), last) << "preferred: the last match";
}
#endif

TEST_F(LanguageTest, SelectPackByIndexAndOutOfRangeChoosesAutomatically) {
    Write("English.ini", Pack("English", "1252"));
    Write("Chinese.ini", Pack("简体中文", "936"));
    Write("French.ini", Pack("Français", "1252"));
    ASSERT_TRUE(Init("", 936));
    int french = IndexOf(lang, "French");
    lang.SelectPack(french);
    EXPECT_EQ(lang.CurrentName(), "French");
    lang.SelectPack(3);
    EXPECT_EQ(lang.CurrentName(), "Chinese");
    lang.SelectPack(french);
    lang.SelectPack(-1);
    EXPECT_EQ(lang.CurrentName(), "Chinese");
}

TEST_F(LanguageTest, TwelvePacksAreListedAndTheThirdCanBeChosen) {
    for (int i = 0; i < 12; ++i) Write(Numbered("pack", i) + ".ini", Pack(Numbered("P", i), "1"));
    ASSERT_TRUE(Init("", 936));
    ASSERT_EQ(lang.Packs().size(), 12u);
    lang.SelectPack(2);
    EXPECT_EQ(lang.CurrentName(), lang.Packs()[2].name);
    EXPECT_EQ(lang.GetText("Info", "Language"), lang.Packs()[2].language);
}

// --- finding packs --------------------------------------------------------

TEST_F(LanguageTest, OnlyIniFilesWithALanguageAreListed) {
    Write("Good.ini", Pack("Good", "1"));
    Write("Upper.INI", Pack("Upper", "1"));
    Write("Empty.ini", Pack("", "936"));
    Write("Quoted.ini", Pack("\"\"", "936"));
    Write("NoInfo.ini", "[menu]\r\n1=x\r\n");
    Write("Later.ini", "[Info]\r\nCodepage=936\r\n[Info]\r\nLanguage=Hidden\r\n");
    Write("NoEquals.ini", "[Info]\r\nLanguage\r\nLanguage=Hidden\r\n");
    Write(".ini", Pack("Dot", "1"));
    Write("notes.txt", Pack("Text", "1"));
    Write("xini", Pack("NoDot", "1"));
    std::filesystem::create_directory(dir.Path() / "Folder.ini");
    ASSERT_TRUE(Init("", 936));
    std::vector<std::string> names = Names(lang);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Good", "Upper"}));
    EXPECT_FALSE(lang.IsActive()) << "936 packs without a language must not be chosen";
}

TEST_F(LanguageTest, PackRecordsItsLanguageAndCodePage) {
    Write("Chinese.ini", "; comment\r\n[Info]\r\nLanguage = 简体中文 \r\nCodepage= 936x\r\n");
    Write("NoPage.ini", Pack("X", ""));
    ASSERT_TRUE(Init("", 936));
    ASSERT_EQ(lang.Packs().size(), 2u);
    const auto& chinese = lang.Packs()[static_cast<std::size_t>(IndexOf(lang, "Chinese"))];
    EXPECT_EQ(chinese.language, "简体中文");
    EXPECT_EQ(chinese.codePage, 936);
    EXPECT_EQ(chinese.fileName, "Chinese.ini");
    EXPECT_EQ(lang.Packs()[static_cast<std::size_t>(IndexOf(lang, "NoPage"))].codePage, 0);
}

TEST_F(LanguageTest, MissingFolderCannotBeListed) {
    lang.SetSystemCodePage(936);
    EXPECT_FALSE(lang.Init((dir.Path() / "nothing").string(), "English"));
    EXPECT_FALSE(lang.IsActive());
    EXPECT_TRUE(lang.Packs().empty());
    EXPECT_EQ(lang.GetText("common", "hint", "提示"), "提示");
}

TEST_F(LanguageTest, EmptyFolderListsNothing) {
    EXPECT_TRUE(Init("English", 936));
    EXPECT_TRUE(lang.Packs().empty());
    EXPECT_FALSE(lang.IsActive());
}

TEST_F(LanguageTest, InitAgainForgetsThePreviousChoice) {
    Write("Chinese.ini", Pack("简体中文", "936"));
    ASSERT_TRUE(Init("", 936));
    ASSERT_TRUE(lang.IsActive());
    std::filesystem::remove(dir.File("Chinese.ini"));
    ASSERT_TRUE(Init("", 936));
    EXPECT_FALSE(lang.IsActive());
    EXPECT_TRUE(lang.Packs().empty());
}

TEST_F(LanguageTest, AThousandPacksAreListed) {
    for (int i = 0; i < 1000; ++i) Write(Numbered("p", i) + ".ini", Pack(Numbered("L", i), "1", "[x]\r\nk=v\r\n"));
    Write("Chinese.ini", Pack("简体中文", "936", "[common]\r\nhint=Hint\r\n"));
    ASSERT_TRUE(Init("", 936));
    EXPECT_EQ(lang.Packs().size(), 1001u);
    EXPECT_EQ(lang.CurrentName(), "Chinese");
    EXPECT_EQ(lang.GetText("common", "hint", "提示"), "Hint");
}

TEST_F(LanguageTest, UnreadablePackGivesBuiltInTexts) {
    Write("Chinese.ini", Pack("简体中文", "936", "[common]\r\nhint=Hint\r\n"));
    ASSERT_TRUE(Init("", 1252));
    ASSERT_FALSE(lang.IsActive());
    std::filesystem::remove(dir.File("Chinese.ini"));
    lang.SelectPack(0);  // listed, but gone by the time it is chosen
    EXPECT_TRUE(lang.IsActive());
    EXPECT_EQ(lang.CurrentName(), "Chinese");
    EXPECT_EQ(lang.GetText("common", "hint", "提示"), "提示");
}

#ifndef _WIN32
TEST_F(LanguageTest, DanglingLinkIsNoPack) {
    std::filesystem::create_symlink(dir.Path() / "gone.ini", dir.Path() / "Broken.ini");
    Write("English.ini", Pack("English", "1252"));
    ASSERT_TRUE(Init("Broken", 936));
    EXPECT_EQ(Names(lang), std::vector<std::string>{"English"});
    EXPECT_EQ(lang.CurrentName(), "English");
}
#endif

// --- looking texts up -----------------------------------------------------

class LookupTest : public LanguageTest {
protected:
    void SetUp() override {
        Write("Test.ini", Pack("Test", "936",
                               "[common]\r\nhint=Note\r\nempty=\r\nnovalue\r\n"
                               "[lines]\r\ntwo=Line1\\nLine2\\tEnd\r\nslashes=a\\\\nb\\x\\\r\n"
                               "trail=\x95\x5Cn\x95\x5Ct\r\n"
                               "long=" + std::string(300, 'L') + "\r\n"
                               "[String]\r\nplain=from String\r\n"));
        ASSERT_TRUE(Init("Test", 936));
        ASSERT_TRUE(lang.IsActive());
    }
};

TEST_F(LookupTest, PackTextReplacesTheBuiltInOne) {
    EXPECT_EQ(lang.GetText("common", "hint", "提示"), "Note");
    EXPECT_EQ(lang.GetText("COMMON", "HINT", "提示"), "Note");
}

TEST_F(LookupTest, MissingKeyOrSectionGivesTheBuiltInText) {
    EXPECT_EQ(lang.GetText("common", "warning", "警告"), "警告");
    EXPECT_EQ(lang.GetText("nosuchsection", "hint", "提示"), "提示");
    EXPECT_EQ(lang.GetText("common", "warning"), "") << "no built-in text given";
}

TEST_F(LookupTest, PresentButEmptyGivesEmptyText) {
    EXPECT_EQ(lang.GetText("common", "empty", "built-in"), "");
}

TEST_F(LookupTest, KeyWrittenWithoutEqualsGivesTheBuiltInText) {
    EXPECT_EQ(lang.GetText("common", "novalue", "built-in"), "built-in");
}

TEST_F(LookupTest, EscapesBecomeLineBreakAndTab) {
    EXPECT_EQ(lang.GetText("lines", "two"), "Line1\nLine2\tEnd");
    EXPECT_EQ(lang.GetText("lines", "slashes"), "a\\\nb\\x\\") << "no escape for the backslash itself";
}

TEST_F(LookupTest, TrailByteBackslashIsNoEscape) {
    EXPECT_EQ(lang.GetText("lines", "trail"), "\x95\x5Cn\x95\x5Ct");
}

TEST_F(LookupTest, BuiltInTextIsUnescapedToo) {
    EXPECT_EQ(lang.GetText("common", "missing", "a\\tb\\nc"), "a\tb\nc");
}

TEST_F(LookupTest, ValueIsCutTo259Bytes) {
    EXPECT_EQ(lang.GetText("lines", "long"), std::string(259, 'L'));
}

TEST_F(LookupTest, NoSectionMeansString) {
    EXPECT_EQ(lang.GetText("", "plain", "x"), "from String");
}

TEST_F(LookupTest, NumericKeys) {
    Write("Num.ini", Pack("Num", "1", "[menu]\r\n32910=Import\r\n-1=Label\r\n"));
    ASSERT_TRUE(Init("Num", 936));
    EXPECT_EQ(lang.GetText("menu", 32910L), "Import");
    EXPECT_EQ(lang.GetText("menu", -1L), "Label");
    EXPECT_EQ(lang.GetText("menu", 32915L, "导出..."), "导出...");
}

TEST_F(LanguageTest, MalformedPackStillGivesWhatItCanAndBuiltInsForTheRest) {
    std::string nasty = Pack("Nasty", "936");
    nasty += "[common]\r\nhint\r\nhint=late\r\nwarning=first\r\nwarning=second\r\n";
    nasty += std::string("\x00\x01\x02\xFF\xFE\x81\r\n", 8);
    nasty += "[common]\r\nerror=ignored\r\n";
    nasty += "[mainframe]\r\n10001=" + std::string(10000, 'v') + "\r\n10002=ok\r\n";
    nasty += "just some words\r\n[broken\r\n===\r\n";
    Write("Nasty.ini", nasty);
    ASSERT_TRUE(Init("", 936));
    ASSERT_EQ(lang.CurrentName(), "Nasty");
    EXPECT_EQ(lang.GetText("common", "hint", "提示"), "提示");
    EXPECT_EQ(lang.GetText("common", "warning", "警告"), "first");
    EXPECT_EQ(lang.GetText("common", "error", "错误"), "错误");
    EXPECT_EQ(lang.GetText("mainframe", "10001").size(), 259u);
    EXPECT_EQ(lang.GetText("mainframe", "10002"), "ok");
    EXPECT_EQ(lang.GetText("bookmarkview", "10000", "标题"), "标题");
}

TEST(LanguageInstance, IsOneObjectUntilDestroyed) {
    CLanguage* first = CLanguage::Instance();
    EXPECT_EQ(CLanguage::Instance(), first);
    EXPECT_FALSE(first->IsActive());
    CLanguage::DestroyInstance();
    CLanguage* second = CLanguage::Instance();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->IsActive());
    CLanguage::DestroyInstance();
}

}  // namespace
