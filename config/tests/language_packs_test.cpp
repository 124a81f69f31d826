// The packs shipped in res/Language against the list of keys the program
// looks up: every key present in both, no unknown keys, the Chinese pack
// equal to the built-in texts, the English one usable in their place.
#include "ini_file.h"
#include "language.h"
#include "language_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#ifndef QUORVA_LANGUAGE_DIR
#error "QUORVA_LANGUAGE_DIR must name the folder of the shipped packs"
#endif

namespace {

const std::string kFolder = QUORVA_LANGUAGE_DIR;

std::string Describe(const LanguageKey& k) { return std::string("[") + k.section + "] " + k.key; }

// The printf conversions of a text, in order ("%s", "%u", ...).
std::vector<std::string> Conversions(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        std::size_t j = i + 1;
        while (j < text.size() && std::string_view("-+ #0123456789.lhzjt").find(text[j]) != std::string_view::npos) ++j;
        if (j < text.size()) out.push_back(text.substr(i, j - i + 1));
        i = j;
    }
    return out;
}

class ShippedPack : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_TRUE(ini.Load(kFolder + "/" + GetParam())) << kFolder << "/" << GetParam(); }
    std::string Text(const LanguageKey& k) const {
        const std::string* v = ini.Find(k.section, k.key);
        return v ? UnescapeLanguageText(*v) : std::string();
    }
    IniFile ini;
};

TEST_P(ShippedPack, HoldsEveryKeyTheProgramLooksUp) {
    for (const LanguageKey& k : LanguageKeys()) {
        const std::string* v = ini.Find(k.section, k.key);
        EXPECT_NE(v, nullptr) << GetParam() << " lacks " << Describe(k);
        if (v) {
            EXPECT_FALSE(v->empty()) << GetParam() << " has an empty " << Describe(k);
        }
    }
}

TEST_P(ShippedPack, HoldsNoKeyTheProgramDoesNotKnow) {
    std::set<std::pair<std::string, std::string>> known;
    for (const LanguageKey& k : LanguageKeys()) known.emplace(ini_text::FoldCase(k.section), ini_text::FoldCase(k.key));
    for (const IniFile::Entry& e : ini.Entries()) {
        if (e.key.starts_with(";") || ini_text::EqualNoCase(e.section, "Info")) continue;
        EXPECT_TRUE(known.count({ini_text::FoldCase(e.section), ini_text::FoldCase(e.key)}))
            << GetParam() << ": [" << e.section << "] " << e.key << " is not in the key list (a typo?)";
    }
}

TEST_P(ShippedPack, IsAPackWithInfo) {
    const std::string* language = ini.Find("Info", "Language");
    ASSERT_NE(language, nullptr);
    EXPECT_FALSE(language->empty());
    EXPECT_NE(ini.Find("Info", "Codepage"), nullptr);
    EXPECT_NE(ini.Find("Info", "Version"), nullptr);
    EXPECT_NE(ini.Find("Info", "Translator"), nullptr);
}

TEST_P(ShippedPack, CommandTextsHavePromptAndLabel) {
    for (const LanguageKey& k : LanguageKeys()) {
        if (!ini_text::EqualNoCase(k.section, "message") || std::string(k.key) == "57345") continue;
        std::string text = Text(k);
        std::size_t br = text.find('\n');
        ASSERT_NE(br, std::string::npos) << GetParam() << ": " << Describe(k) << " needs \"prompt\\nlabel\"";
        EXPECT_GT(br, 0u) << Describe(k);
        EXPECT_LT(br + 1, text.size()) << Describe(k);
        EXPECT_EQ(text.find('\n', br + 1), std::string::npos) << Describe(k);
    }
}

TEST_P(ShippedPack, FormatsTakeTheSameArgumentsAsTheBuiltInTexts) {
    for (const LanguageKey& k : LanguageKeys()) {
        if (!k.builtin) continue;
        EXPECT_EQ(Conversions(Text(k)), Conversions(k.builtin)) << GetParam() << ": " << Describe(k);
    }
}

TEST_P(ShippedPack, ValuesFitTheReadersBuffer) {
    // The reader cuts longer values to 258 or 259 bytes (between characters);
    // a shipped text must stay clear of that.
    for (const LanguageKey& k : LanguageKeys()) {
        const std::string* v = ini.Find(k.section, k.key);
        if (v) {
            EXPECT_LT(v->size(), IniFile::kMaxValueBytes - 1) << GetParam() << ": " << Describe(k);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Packs, ShippedPack, ::testing::Values("English.ini", "Chinese.ini"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.'));
                         });

TEST(ChinesePack, HoldsExactlyTheBuiltInTexts) {
    IniFile ini;
    ASSERT_TRUE(ini.Load(kFolder + "/Chinese.ini"));
    EXPECT_EQ(*ini.Find("Info", "Language"), "简体中文");
    EXPECT_EQ(*ini.Find("Info", "Codepage"), "936");
    for (const LanguageKey& k : LanguageKeys()) {
        if (!k.builtin) continue;
        const std::string* v = ini.Find(k.section, k.key);
        ASSERT_NE(v, nullptr) << Describe(k);
        EXPECT_EQ(UnescapeLanguageText(*v), k.builtin) << Describe(k);
    }
}

TEST(EnglishPack, IsWrittenInCodePage1252AndPlainAscii) {
    IniFile ini;
    ASSERT_TRUE(ini.Load(kFolder + "/English.ini"));
    EXPECT_EQ(*ini.Find("Info", "Language"), "English");
    EXPECT_EQ(*ini.Find("Info", "Codepage"), "1252");
    for (const IniFile::Entry& e : ini.Entries()) {
        for (unsigned char c : e.value) EXPECT_LT(c, 0x80) << "[" << e.section << "] " << e.key;
    }
}

TEST(EnglishPack, TranslatesEveryChineseText) {
    IniFile ini;
    ASSERT_TRUE(ini.Load(kFolder + "/English.ini"));
    for (const LanguageKey& k : LanguageKeys()) {
        const std::string* v = ini.Find(k.section, k.key);
        if (!v || !k.builtin) continue;
        bool builtinIsChinese = false;
        for (const char* p = k.builtin; *p; ++p) builtinIsChinese |= static_cast<unsigned char>(*p) >= 0x80;
        if (builtinIsChinese) {
            EXPECT_NE(UnescapeLanguageText(*v), k.builtin) << Describe(k);
        }
    }
}

TEST(LanguageKeyList, NamesEachKeyOnce) {
    std::set<std::pair<std::string, std::string>> seen;
    for (const LanguageKey& k : LanguageKeys()) {
        EXPECT_TRUE(seen.emplace(ini_text::FoldCase(k.section), ini_text::FoldCase(k.key)).second) << Describe(k);
    }
    EXPECT_GT(seen.size(), 200u);
}

TEST(ShippedPacks, AutomaticChoiceGivesChineseOn936AndEnglishElsewhere) {
    CLanguage lang;
    lang.SetSystemCodePage(936);
    ASSERT_TRUE(lang.Init(kFolder, ""));
    EXPECT_EQ(lang.Packs().size(), 2u);
    EXPECT_EQ(lang.CurrentName(), "Chinese");
    EXPECT_EQ(lang.GetText("Message", "57345", "x"), "就绪");
    lang.SetSystemCodePage(1252);
    lang.SelectPack(-1);
    EXPECT_EQ(lang.CurrentName(), "English");
    EXPECT_EQ(lang.GetText("menu", "32910P"), "&File");
    lang.SetSystemCodePage(1251);
    lang.SelectPack(-1);
    EXPECT_EQ(lang.CurrentName(), "English");
}

}  // namespace
