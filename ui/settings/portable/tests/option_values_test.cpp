#include "option_values.h"

#include "setting.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

using namespace settings;

// Each item points at a member of its own object: a copy would edit the
// original's members.
static_assert(!std::is_copy_constructible_v<CSetting> && !std::is_copy_assignable_v<CSetting>);
static_assert(!std::is_move_constructible_v<CSetting> && !std::is_move_assignable_v<CSetting>);
static_assert(!std::is_copy_constructible_v<CSettingBase>);

// Every numeric key's value, by key.
std::map<std::string, std::int64_t> Numbers(const CSetting& s) {
    std::map<std::string, std::int64_t> out;
    for (const SettingItem& item : s.Items()) {
        if (item.type == ST_BOOL) out[item.name] = *static_cast<const std::uint8_t*>(item.value);
        if (item.type == ST_INT) out[item.name] = *static_cast<const std::int32_t*>(item.value);
    }
    return out;
}

// The keys whose values differ.
std::map<std::string, std::int64_t> Changed(const CSetting& before, const CSetting& after) {
    std::map<std::string, std::int64_t> out;
    const auto a = Numbers(before), b = Numbers(after);
    for (const auto& [key, value] : b) {
        if (a.at(key) != value) out[key] = value;
    }
    return out;
}

// Every key the dialog edits, most of them away from their defaults.
const std::string kNonDefaults =
    "<General.AutoRun>0</General.AutoRun><General.AutoRunMinToTry>1</General.AutoRunMinToTry>"
    "<General.CheckVerMode>1</General.CheckVerMode><GUI.BookmarkCol1Show>0</GUI.BookmarkCol1Show>"
    "<GUI.BookmarkViewFullRowSel>0</GUI.BookmarkViewFullRowSel>"
    "<GUI.BoolmarkViewShowLine>1</GUI.BoolmarkViewShowLine><Other.CloseToTray>0</Other.CloseToTray>"
    "<Other.RandOpenCount>-5</Other.RandOpenCount><Other.PromptWhenDelClass>0</Other.PromptWhenDelClass>"
    "<Other.PromptWhenDelBookmark>1</Other.PromptWhenDelBookmark>"
    "<Other.DisplayAddBookmarkDlg>0</Other.DisplayAddBookmarkDlg>"
    "<Other.IEToolbarButton>0</Other.IEToolbarButton>";

void LoadFile(CSetting& s, const std::string& body) {
    testing_support::TempDir dir;
    const std::string path = dir.File("setting.xml");
    testing_support::WriteBytes(path, "<?xml version=\"1.0\" encoding=\"utf-8\"?><settings>" + body + "</settings>");
    ASSERT_TRUE(s.Load(path));
}

// Each field of each page's values reaches exactly its own key, and reading
// gives back what a file held.
TEST(OptionValues, EachFieldIsItsOwnKey) {
    CSetting file;
    LoadFile(file, kNonDefaults);
    const GeneralValues g = ReadGeneral(file);
    EXPECT_FALSE(g.autoRun);
    EXPECT_TRUE(g.autoRunHidden);
    EXPECT_EQ(g.checkVersionMode, 1);
    const InterfaceValues i = ReadInterface(file);
    EXPECT_FALSE(i.closeToTray);
    EXPECT_FALSE(i.urlColumn);
    EXPECT_FALSE(i.fullRowSelect);
    EXPECT_TRUE(i.gridLines);
    const MiscValues m = ReadMisc(file);
    EXPECT_FALSE(m.promptDeleteClass);
    EXPECT_TRUE(m.promptDeleteBookmark);
    EXPECT_FALSE(m.addBookmarkDialog);
    EXPECT_EQ(m.randomOpenCount, -5);
    EXPECT_FALSE(m.toolbarButton);

    struct Case {
        const char* key;
        std::function<void(CSetting&)> change;
        std::int64_t value;
    };
    const Case cases[] = {
        {"General.AutoRun", [&](CSetting& s) { auto v = g; v.autoRun = true; WriteGeneral(v, s); }, 1},
        {"General.AutoRunMinToTry", [&](CSetting& s) { auto v = g; v.autoRunHidden = false; WriteGeneral(v, s); }, 0},
        {"General.CheckVerMode", [&](CSetting& s) { auto v = g; v.checkVersionMode = 2; WriteGeneral(v, s); }, 2},
        {"Other.CloseToTray", [&](CSetting& s) { auto v = i; v.closeToTray = true; WriteInterface(v, s); }, 1},
        {"GUI.BookmarkCol1Show", [&](CSetting& s) { auto v = i; v.urlColumn = true; WriteInterface(v, s); }, 1},
        {"GUI.BookmarkViewFullRowSel", [&](CSetting& s) { auto v = i; v.fullRowSelect = true; WriteInterface(v, s); }, 1},
        {"GUI.BoolmarkViewShowLine", [&](CSetting& s) { auto v = i; v.gridLines = false; WriteInterface(v, s); }, 0},
        {"Other.PromptWhenDelClass", [&](CSetting& s) { auto v = m; v.promptDeleteClass = true; WriteMisc(v, s); }, 1},
        {"Other.PromptWhenDelBookmark", [&](CSetting& s) { auto v = m; v.promptDeleteBookmark = false; WriteMisc(v, s); }, 0},
        {"Other.DisplayAddBookmarkDlg", [&](CSetting& s) { auto v = m; v.addBookmarkDialog = true; WriteMisc(v, s); }, 1},
        {"Other.RandOpenCount", [&](CSetting& s) { auto v = m; v.randomOpenCount = 12; WriteMisc(v, s); }, 12},
        {"Other.IEToolbarButton", [&](CSetting& s) { auto v = m; v.toolbarButton = true; WriteMisc(v, s); }, 1},
    };
    for (const Case& c : cases) {
        CSetting edited;
        LoadFile(edited, kNonDefaults);
        c.change(edited);
        const auto changed = Changed(file, edited);
        EXPECT_EQ(changed.size(), 1u) << c.key;
        EXPECT_EQ(changed.count(c.key), 1u) << c.key;
        if (changed.count(c.key)) {
            EXPECT_EQ(changed.at(c.key), c.value) << c.key;
        }
    }

    // Writing back what was read changes nothing.
    CSetting same;
    LoadFile(same, kNonDefaults);
    WriteGeneral(ReadGeneral(same), same);
    WriteInterface(ReadInterface(same), same);
    WriteMisc(ReadMisc(same), same);
    EXPECT_TRUE(Changed(file, same).empty());
}

TEST(OptionValues, CheckVersionTextsMatchInOrder) {
    const CheckVersionTexts builtin = BuiltinCheckVersionTexts();
    EXPECT_EQ(CheckVersionText(0, builtin), "不检查");
    EXPECT_EQ(CheckVersionText(1, builtin), "每次启动检查");
    EXPECT_EQ(CheckVersionText(2, builtin), "每天检查一次");
    EXPECT_EQ(CheckVersionText(3, builtin), "");
    EXPECT_EQ(CheckVersionText(-1, builtin), "");
    EXPECT_EQ(CheckVersionMode("不检查", builtin), 0);
    EXPECT_EQ(CheckVersionMode("每次启动检查", builtin), 1);
    EXPECT_EQ(CheckVersionMode("每天检查一次", builtin), 2);

    // A pack's words: only they match, not the built-in ones.
    const CheckVersionTexts pack = {"Never", "At every start", "Once a day"};
    EXPECT_EQ(CheckVersionMode("Once a day", pack), 2);
    EXPECT_EQ(CheckVersionMode("每天检查一次", pack), std::nullopt);
    EXPECT_EQ(CheckVersionMode("", pack), std::nullopt);
    EXPECT_EQ(CheckVersionMode("once a day", pack), std::nullopt) << "compared exactly";
    // Two choices worded alike: the first wins.
    EXPECT_EQ(CheckVersionMode("Same", CheckVersionTexts{"x", "Same", "Same"}), 1);
}

TEST(OptionValues, RandomOpenCountIsShownSignedAndReadWithinLimits) {
    EXPECT_EQ(FormatRandomOpenCount(10), "10");
    EXPECT_EQ(FormatRandomOpenCount(-5), "-5") << "not 4294967291";
    EXPECT_EQ(FormatRandomOpenCount(INT32_MIN), "-2147483648");

    const struct {
        const char* text;
        std::int32_t count;
    } cases[] = {
        {"", 0},         {"abc", 0},      {"12", 12},       {"-5", 0},  {"99999999", kMaxRandomOpenCount},
        {"  7", 7},      {"+9", 9},       {"12abc", 12},    {"1 2", 1}, {"100", 100},
        {"101", kMaxRandomOpenCount},     {"99999999999999999999999", kMaxRandomOpenCount},
        {"-0", 0},       {"- 5", 0},      {"０", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseRandomOpenCount(c.text), c.count) << c.text;
    EXPECT_EQ(kMaxRandomOpenCount, 100);
    // The text given ends where its view ends, not at the next zero byte.
    EXPECT_EQ(ParseRandomOpenCount(std::string_view("12345").substr(0, 2)), 12);
}

// Opening and closing the page must not rewrite a count it did not edit.
TEST(OptionValues, AStoredCountStaysUntilTheUserEditsIt) {
    EXPECT_EQ(RandomOpenCountAfterEdit(250, "250"), 250);
    EXPECT_EQ(RandomOpenCountAfterEdit(-3, "-3"), -3);
    EXPECT_EQ(RandomOpenCountAfterEdit(250, "251"), kMaxRandomOpenCount);
    EXPECT_EQ(RandomOpenCountAfterEdit(250, "12"), 12);
    EXPECT_EQ(RandomOpenCountAfterEdit(12, ""), 0);
}

}  // namespace
