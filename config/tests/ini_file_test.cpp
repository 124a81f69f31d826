// The ini reader's rules, case by case. Each expectation was measured with
// the system's profile reader (GetPrivateProfileStringA under Wine, code page
// 936); the Windows build also compares both readers file by file.
#include "ini_file.h"

#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace std::string_literals;

struct LookupCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> expected;  // nullopt: the caller's default
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class IniLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, FindsWhatTheSystemReaderFinds) {
    const LookupCase& c = GetParam();
    IniFile ini;
    ini.Parse(c.file);
    const std::string* value = ini.Find(c.section, c.key);
    if (!c.expected) {
        EXPECT_EQ(value, nullptr) << "got [" << (value ? *value : "") << "]";
    } else {
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(*value, *c.expected);
    }
}

const std::string k300 = [] {
    std::string s;
    for (int i = 0; i < 300; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}();
std::string Repeat(const std::string& unit, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += unit;
    return s;
}
const std::string kZhong = "\xD6\xD0";  // one double-byte character

INSTANTIATE_TEST_SUITE_P(
    Rules, IniLookup,
    ::testing::Values(
        LookupCase{"plain", "[A]\r\nx=1\r\n", "A", "x", "1"},
        LookupCase{"sectionCase", "[info]\r\nLANGUAGE=x\r\n", "Info", "Language", "x"},
        LookupCase{"firstKeyWins", "[A]\r\nx=1\r\nX=2\r\n", "A", "x", "1"},
        LookupCase{"secondSectionIgnored", "[A]\r\nx=1\r\n[B]\r\n[a]\r\nx=2\r\ny=3\r\n", "A", "y", std::nullopt},
        LookupCase{"secondSectionKeepsFirstValue", "[A]\r\nx=1\r\n[A]\r\nx=2\r\n", "A", "x", "1"},
        LookupCase{"keyWithoutEqualsShadowsLaterOne", "[A]\r\nx\r\nx=2\r\n", "A", "x", std::nullopt},
        LookupCase{"spacesAroundKeyAndValue", "[A]\r\n  x  =  v a l  \r\n", "A", "x", "v a l"},
        LookupCase{"tabsAroundKeyAndValue", "[A]\r\n\t y\t=\tw\t\r\n", "A", "y", "w"},
        LookupCase{"queryIsTrimmed", "[A]\r\nx=1\r\n", " A ", "  x  ", "1"},
        LookupCase{"innerSpacesOfKeyCount", "[A]\r\na b=1\r\n", "A", "a  b", std::nullopt},
        LookupCase{"sectionNameTrimmed", "[ A ]\r\nx=1\r\n", "A", "x", "1"},
        LookupCase{"sectionEndsAtLastBracket", "[C] x ]\r\ny=2\r\n", "C] x", "y", "2"},
        LookupCase{"textAfterBracketIgnored", "[B] junk\r\ny=2\r\n", "B", "y", "2"},
        LookupCase{"nestedBrackets", "[[E]]\r\nw=4\r\n", "[E]", "w", "4"},
        LookupCase{"headerWithoutBracketIsAKey", "[A\r\nx=1\r\n", "A", "x", std::nullopt},
        LookupCase{"keysBeforeAnySection", "x=1\r\n[A]\r\n", "", "x", "1"},
        LookupCase{"emptySectionNameComesSecond", "[]\r\nx=1\r\n", "", "x", std::nullopt},
        LookupCase{"doubleQuotesRemoved", "[A]\r\na=\"abc\"\r\n", "A", "a", "abc"},
        LookupCase{"singleQuotesRemoved", "[A]\r\nb='abc'\r\n", "A", "b", "abc"},
        LookupCase{"mixedQuotesKept", "[A]\r\nc=\"abc'\r\n", "A", "c", "\"abc'"},
        LookupCase{"loneQuoteKept", "[A]\r\nd=\"\r\n", "A", "d", "\""},
        LookupCase{"emptyQuotes", "[A]\r\ne=\"\"\r\n", "A", "e", ""},
        LookupCase{"innerQuoteKept", "[A]\r\nf=\"a\"b\"\r\n", "A", "f", "a\"b"},
        LookupCase{"quotesAfterTrim", "[A]\r\ng= \"abc\" \r\n", "A", "g", "abc"},
        LookupCase{"openingQuoteOnly", "[A]\r\nh=\"abc\r\n", "A", "h", "\"abc"},
        LookupCase{"semicolonIsNoComment", "[A]\r\n;x=1\r\n", "A", ";x", "1"},
        LookupCase{"commentedKeyNotFound", "[A]\r\n;x=1\r\n", "A", "x", std::nullopt},
        LookupCase{"crOnly", "[A]\rx=1\ry=2\r", "A", "y", "2"},
        LookupCase{"lfOnly", "[A]\nx=1\ny=2\n", "A", "y", "2"},
        LookupCase{"emptyValue", "[A]\r\nx=\r\n", "A", "x", ""},
        LookupCase{"blankValue", "[A]\r\ny =  \r\n", "A", "y", ""},
        LookupCase{"equalsInValue", "[A]\r\nx=a=b\r\n", "A", "x", "a=b"},
        LookupCase{"emptyKeyName", "[A]\r\n=c\r\n", "A", "", "c"},
        LookupCase{"ctrlZIsSpace", "[A]\r\nd=\x1ax\x1a\r\n", "A", "d", "x"},
        LookupCase{"vtFfAreSpace", "[A]\r\nx=\x0bq\x0c\r\n", "A", "x", "q"},
        LookupCase{"ideographicSpaceKept", "[A]\r\nf=\xA1\xA1q\xA1\xA1\r\n", "A", "f", "\xA1\xA1q\xA1\xA1"},
        LookupCase{"nulEndsValue", "[A]\r\nc=ab\0cd\r\n"s, "A", "c", "ab"},
        LookupCase{"nulEndsKey", "[A]\r\nk\0y=1\r\nky=2\r\n"s, "A", "k", "1"},
        LookupCase{"nulEndsSectionName", "[A\0B]\r\nx=1\r\n"s, "A", "x", "1"},
        LookupCase{"validPairsKept", "[A]\r\na=\x80\x81\x40\x81\x80\x81\xFE\xFF\xFF\r\n", "A", "a", "\x80\x81\x40\x81\x80\x81\xFE\xFF\xFF"},
        LookupCase{"badTrailReadsAsQuestionMark", "[A]\r\na=\x81\x7F" "b\x81\xFF" "c\r\n", "A", "a", "?b?c"},
        LookupCase{"leadBeforeSpaceTakesIt", "[A]\r\nb=\x81\x20z\r\n", "A", "b", "?z"},
        LookupCase{"leadAtLineEnd", "[A]\r\ne=\x81\r\nf=2\r\n", "A", "f", "2"},
        LookupCase{"leadAtFileEnd", "[A]\r\nf=q\x81", "A", "f", "q?"},
        LookupCase{"leadSwallowsLineFeed", "[A]\nx=a\x81\ny=2\n", "A", "x", "a?y=2"},
        LookupCase{"leadKeepsNul", "[A]\r\nx=a\x81\0zz\r\n"s, "A", "x", "a?"},
        LookupCase{"leadSwallowsEquals", "[A]\r\nx\x81=1\r\n", "A", "x", std::nullopt},
        LookupCase{"trailBracketIsNoBracket", "[\x81\x5D\x81\x5D]\r\nk=v\r\n", "\x81\x5D\x81\x5D", "k", "v"},
        LookupCase{"trailLetterNotFolded", "[A]\r\n\x81\x61=1\r\n", "A", "\x81\x41", std::nullopt},
        LookupCase{"cut300Ascii", "[A]\r\na=" + k300 + "\r\n", "A", "a", k300.substr(0, 259)},
        LookupCase{"cutBetweenCharacters", "[A]\r\nb=" + Repeat(kZhong, 150) + "\r\n", "A", "b", Repeat(kZhong, 129)},
        LookupCase{"exactly259WithCharacters", "[A]\r\nc=a" + Repeat(kZhong, 150) + "\r\n", "A", "c", "a" + Repeat(kZhong, 129)},
        LookupCase{"quoted258", "[A]\r\ne=\"" + k300.substr(0, 258) + "\"\r\n", "A", "e", k300.substr(0, 258)},
        LookupCase{"quoted300", "[A]\r\ng=\"" + k300 + "\"\r\n", "A", "g", k300.substr(0, 259)},
        LookupCase{"utf8Bom", "\xEF\xBB\xBF[A]\r\nx=\xE4\xB8\xAD\xE6\x96\x87\r\n", "A", "x", "\xD6\xD0\xCE\xC4"},
        LookupCase{"utf8WithoutBomIsAnsi", "[A]\r\nx=\xE4\xB8\xAD\xE6\x96\x87\r\n", "A", "x", "\xE4\xB8\xAD\xE6\x96\x87"},
        LookupCase{"utf8BomBadBytes", "\xEF\xBB\xBF[A]\r\nx=\xD6\xD0z\r\n", "A", "x", "??z"},
        LookupCase{"utf16Le", "\xFF\xFE[\0A\0]\0\r\0\n\0x\0=\0\x2d\x4e\r\0\n\0"s, "A", "x", "\xD6\xD0"},
        LookupCase{"utf16Be", "\xFE\xFF\0[\0A\0]\0\r\0\n\0x\0=\x4e\x2d\0\r\0\n"s, "A", "x", "\xD6\xD0"},
        LookupCase{"utf16Surrogates", "\xFF\xFE[\0A\0]\0\r\0\n\0x\0=\0\x3d\xd8\x00\xde\x3d\xd8q\0\r\0\n\0"s, "A", "x", "???q"}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

TEST(IniFile, QuotedValueOf259BytesKeepsItsLastCharacter) {
    // The system reader loses the last character here (it cuts before it
    // removes the closing quote); the text fits, so it is kept whole.
    IniFile ini;
    ini.Parse("[A]\r\nd=\"" + k300.substr(0, 259) + "\"\r\n");
    ASSERT_NE(ini.Find("A", "d"), nullptr);
    EXPECT_EQ(*ini.Find("A", "d"), k300.substr(0, 259));
}

TEST(IniFile, TenThousandByteValueIsCutAndTheNextKeyStillRead) {
    IniFile ini;
    ini.Parse("[A]\r\nlong=" + std::string(10000, 'x') + "\r\nnext=ok\r\n");
    ASSERT_NE(ini.Find("A", "long"), nullptr);
    EXPECT_EQ(ini.Find("A", "long")->size(), IniFile::kMaxValueBytes);
    ASSERT_NE(ini.Find("a", "NEXT"), nullptr);
    EXPECT_EQ(*ini.Find("a", "NEXT"), "ok");
}

TEST(IniFile, OnlySectionKeepsNothingElse) {
    IniFile ini;
    ini.Parse("[Menu]\r\n1=a\r\n[info]\r\nLanguage=L\r\n[Info]\r\nCodepage=9\r\n", "INFO");
    ASSERT_EQ(ini.Entries().size(), 1u);
    EXPECT_EQ(*ini.Find("Info", "Language"), "L");
    EXPECT_EQ(ini.Find("Menu", "1"), nullptr);
    EXPECT_EQ(ini.Find("Info", "Codepage"), nullptr) << "the second [Info] is not read";
}

TEST(IniFile, EntriesListReachableKeysInFileOrder) {
    IniFile ini;
    ini.Parse("top=0\r\n[S]\r\nb=2\r\na\r\nB=3\r\n[s]\r\nc=4\r\n[T]\r\n'q'='v'\r\n");
    const auto& e = ini.Entries();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].section, "");
    EXPECT_EQ(e[0].key, "top");
    EXPECT_EQ(e[1].key, "b");
    EXPECT_EQ(e[2].key, "a");
    EXPECT_FALSE(e[2].hasValue);
    EXPECT_EQ(e[3].section, "T");
    EXPECT_EQ(e[3].key, "'q'") << "quotes are removed from values only";
    EXPECT_EQ(e[3].value, "v");
}

TEST(IniFile, LoadReadsAFileAndFailsOnAMissingOne) {
    testing_support::TempDir dir;
    testing_support::WriteBytes(dir.File("p.ini"), "[Info]\r\nLanguage=X\r\n");
    IniFile ini;
    ASSERT_TRUE(ini.Load(dir.File("p.ini")));
    EXPECT_EQ(*ini.Find("info", "language"), "X");
    EXPECT_FALSE(ini.Load(dir.File("missing.ini")));
    EXPECT_TRUE(ini.Entries().empty()) << "a failed load holds nothing";
}

TEST(IniFile, FileAboveTheSizeLimitIsRefused) {
    testing_support::TempDir dir;
    std::string big = "[Info]\r\nLanguage=X\r\n" + std::string(IniFile::kMaxFileBytes, ';');
    testing_support::WriteBytes(dir.File("big.ini"), big);
    IniFile ini;
    EXPECT_FALSE(ini.Load(dir.File("big.ini")));
    EXPECT_EQ(ini.Find("Info", "Language"), nullptr);
}

TEST(IniText, CutNeverSplitsACharacter) {
    std::string s = "a" + kZhong + kZhong;
    ini_text::CutToBytes(s, 4);
    EXPECT_EQ(s, "a" + kZhong);
    std::string t = "abc";
    ini_text::CutToBytes(t, 5);
    EXPECT_EQ(t, "abc");
}

TEST(IniText, FoldCaseTouchesAsciiLettersOnly) {
    EXPECT_EQ(ini_text::FoldCase("dlg_About1"), "DLG_ABOUT1");
    EXPECT_EQ(ini_text::FoldCase("\x81\x61z"), "\x81\x61Z");
    EXPECT_TRUE(ini_text::EqualNoCase("English", "eNGLISH"));
    EXPECT_FALSE(ini_text::EqualNoCase("English", "Englis"));
}

}  // namespace
