#include "setting.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

#include <string>
#include <vector>

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

const char kDecl[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

// The 37 keys with their default file texts, in file order.
const std::vector<std::pair<std::string, std::string>> kDefaults = {
    {"General.Language", ""},
    {"General.AutoRun", "1"},
    {"General.AutoRunMinToTry", "1"},
    {"General.CheckVerMode", "2"},
    {"GUI.MainFrameType", "5"},
    {"GUI.MainFrameX1", "-1"},
    {"GUI.MainFrameY1", "-1"},
    {"GUI.MainFrameX2", "-1"},
    {"GUI.MainFrameY2", "-1"},
    {"GUI.MainFrameShowCmd", "-1"},
    {"GUI.MainFrameFlags", "-1"},
    {"GUI.ShowToolBar", "1"},
    {"GUI.ShowStatusBar", "1"},
    {"GUI.ShowClassView", "1"},
    {"GUI.ShowRemarkView", "1"},
    {"GUI.ShowDragWindow", "0"},
    {"GUI.DragWindowX1", "-1"},
    {"GUI.DragWindowY1", "-1"},
    {"GUI.VerSplitterPos", "200"},
    {"GUI.HorSplitterPos", "300"},
    {"GUI.BookmarkCol0Width", "200"},
    {"GUI.BookmarkCol1Show", "1"},
    {"GUI.BookmarkCol1Width", "200"},
    {"GUI.BookmarkViewFullRowSel", "1"},
    {"GUI.BoolmarkViewShowLine", "0"},
    {"GUI.DefaultToolbarData", "0,1,32770,32820,32795,0,32805,32825,32815,0,32855,32870,0,32800,32940,0,57664"},
    {"GUI.ToolbarData", ""},
    {"GUI.ToolbarSkin", ""},
    {"Other.CloseToTray", "1"},
    {"Other.TopMost", "0"},
    {"Other.RandOpenCount", "10"},
    {"Other.InDefaultBookmark", "1"},
    {"Other.InIEBookmark", "1"},
    {"Other.PromptWhenDelClass", "1"},
    {"Other.PromptWhenDelBookmark", "1"},
    {"Other.DisplayAddBookmarkDlg", "1"},
    {"Other.IEToolbarButton", "1"},
};

std::string Element(const std::string& key, const std::string& text) {
    return text.empty() ? "<" + key + "/>" : "<" + key + ">" + text + "</" + key + ">";
}

// The file as the program writes it, with `texts` in place of the defaults.
std::string FileWith(const std::vector<std::pair<std::string, std::string>>& texts) {
    std::string out = std::string(kDecl) + "<settings>\r\n";
    for (const auto& [key, text] : texts) out += Element(key, text) + "\r\n";
    return out + "</settings>\r\n";
}

std::string Settings(const std::string& body) {
    return std::string(kDecl) + "<settings>\r\n" + body + "</settings>\r\n";
}

class SettingFile : public ::testing::Test {
protected:
    // Loads `content` (or no file when null) into a fresh object.
    bool LoadFrom(const char* content) {
        if (content) WriteBytes(path, content);
        return setting.Load(path);
    }
    TempDir dir;
    std::string path = dir.File("setting.xml");
    CSetting setting;
};

}  // namespace

TEST_F(SettingFile, MissingFileKeepsDefaultsAndSaveWritesAll37KeysInOrder) {
    EXPECT_FALSE(LoadFrom(nullptr));
    EXPECT_EQ(setting.Items().size(), 37u);
    EXPECT_EQ(setting.Other_RandOpenCount, 10);
    EXPECT_EQ(setting.GUI_MainFrameX1, -1);
    EXPECT_EQ(setting.General_AutoRun, 1);
    ASSERT_TRUE(setting.Save());
    EXPECT_EQ(ReadBytes(path), FileWith(kDefaults));
}

TEST_F(SettingFile, EveryValueRoundTripsThroughTheFile) {
    LoadFrom(nullptr);
    setting.General_Language = "\xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4";  // 简体中文 in GBK
    setting.GUI_ToolbarSkin = "Skin\\Toolbar\\Normal\\";
    setting.GUI_ToolbarData = "a&b<c>d\"e'f " + std::string(600, '9');  // longer than one format buffer
    setting.GUI_MainFrameX1 = -2147483647 - 1;
    setting.GUI_MainFrameY2 = 2147483647;
    setting.Other_TopMost = 1;
    setting.General_AutoRun = 0;
    ASSERT_TRUE(setting.Save());

    CSetting again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.General_Language, setting.General_Language);
    EXPECT_EQ(again.GUI_ToolbarSkin, setting.GUI_ToolbarSkin);
    EXPECT_EQ(again.GUI_ToolbarData, setting.GUI_ToolbarData);
    EXPECT_EQ(again.GUI_MainFrameX1, setting.GUI_MainFrameX1);
    EXPECT_EQ(again.GUI_MainFrameY2, setting.GUI_MainFrameY2);
    EXPECT_EQ(again.Other_TopMost, 1);
    EXPECT_EQ(again.General_AutoRun, 0);
    EXPECT_NE(ReadBytes(path).find("a&amp;b&lt;c&gt;d\"e'f"), std::string::npos);
}

TEST_F(SettingFile, ValueTextsAreReadWithIntegerAndBooleanRules) {
    struct Case {
        const char* body;
        int showToolBar;
        int randOpenCount;
    };
    const Case cases[] = {
        {"<GUI.ShowToolBar>abc</GUI.ShowToolBar>", 0, 10},
        {"<GUI.ShowToolBar>7</GUI.ShowToolBar>", 1, 10},
        {"<GUI.ShowToolBar> -3x</GUI.ShowToolBar>", 1, 10},
        {"<Other.RandOpenCount></Other.RandOpenCount>", 1, 10},
        {"<Other.RandOpenCount/>", 1, 10},
        {"<Other.RandOpenCount>  42abc</Other.RandOpenCount>", 1, 42},
        {"<Other.RandOpenCount>-7</Other.RandOpenCount>", 1, -7},
        {"<Other.RandOpenCount>99999999999999999999</Other.RandOpenCount>", 1, 2147483647},
        {"<Other.RandOpenCount>-99999999999999999999</Other.RandOpenCount>", 1, -2147483647 - 1},
        {"<Other.RandOpenCount>&#52;&#50;</Other.RandOpenCount>", 1, 42},
    };
    for (const Case& c : cases) {
        CSetting s;
        WriteBytes(path, Settings(c.body));
        EXPECT_TRUE(s.Load(path)) << c.body;
        EXPECT_EQ(s.GUI_ShowToolBar, c.showToolBar) << c.body;
        EXPECT_EQ(s.Other_RandOpenCount, c.randOpenCount) << c.body;
    }
    // A boolean read as 7 is written back as 1.
    CSetting s;
    WriteBytes(path, Settings("<GUI.ShowToolBar>7</GUI.ShowToolBar>"));
    s.Load(path);
    s.Save();
    EXPECT_NE(ReadBytes(path).find("<GUI.ShowToolBar>1</GUI.ShowToolBar>"), std::string::npos);
}

TEST_F(SettingFile, SearchGoesForwardOnly) {
    // Other.TopMost first, then every key in order: all read except TopMost.
    std::vector<std::pair<std::string, std::string>> texts = {{"Other.TopMost", "1"}};
    for (const auto& kv : kDefaults)
        if (kv.first != "Other.TopMost") texts.push_back(kv);
    for (auto& [key, text] : texts) {
        if (key == "Other.RandOpenCount") text = "55";  // after TopMost in the key order
        if (key == "General.CheckVerMode") text = "0";
    }
    ASSERT_TRUE(LoadFrom(FileWith(texts).c_str()));
    EXPECT_EQ(setting.Other_TopMost, 0);
    EXPECT_EQ(setting.Other_RandOpenCount, 55);
    EXPECT_EQ(setting.General_CheckVerMode, 0);
}

TEST_F(SettingFile, KeyNotFoundLeavesSearchWhereItWas) {
    // General.AutoRun is missing; the keys after it are still found.
    ASSERT_TRUE(LoadFrom(Settings("<General.CheckVerMode>0</General.CheckVerMode>\r\n"
                                  "<Other.TopMost>1</Other.TopMost>\r\n").c_str()));
    EXPECT_EQ(setting.General_AutoRun, 1);
    EXPECT_EQ(setting.General_CheckVerMode, 0);
    EXPECT_EQ(setting.Other_TopMost, 1);
}

TEST_F(SettingFile, EachKeyDroppedInTurnKeepsOnlyThatDefault) {
    for (std::size_t drop = 0; drop < kDefaults.size(); ++drop) {
        std::vector<std::pair<std::string, std::string>> texts;
        for (std::size_t i = 0; i < kDefaults.size(); ++i) {
            if (i == drop) continue;
            std::string text = kDefaults[i].second;
            // A non-default text for every other key, so that reading it shows.
            if (text == "1") text = "0";
            else if (text == "0") text = "1";
            else if (text == "-1") text = "7";
            else if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) text += "1";
            else text += "Z";
            texts.push_back({kDefaults[i].first, text});
        }
        CSetting s;
        WriteBytes(path, FileWith(texts));
        ASSERT_TRUE(s.Load(path));
        CSetting defaults;
        for (std::size_t i = 0; i < kDefaults.size(); ++i) {
            SettingItem& got = const_cast<SettingItem&>(s.Items()[i]);
            const SettingItem& def = defaults.Items()[i];
            bool same = got.type == ST_STRING
                            ? *static_cast<std::string*>(got.value) == *static_cast<const std::string*>(def.value)
                            : std::memcmp(got.value, def.value, got.type == ST_INT ? 4 : 1) == 0;
            EXPECT_EQ(same, i == drop) << "dropped " << kDefaults[drop].first << ", key " << kDefaults[i].first;
        }
    }
}

TEST_F(SettingFile, UnreadableFilesLeaveEveryDefault) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
    const std::string cases[] = {
        "",
        binary,
        std::string(kDecl) + "<Settings><Other.TopMost>1</Other.TopMost></Settings>",
        std::string(kDecl) + "<settings><Other.TopMost>1</Other.TopMost>",
        std::string(kDecl) + "<settings><Other.TopMost>1</Other.TopMost></settings><settings/>",
        std::string(kDecl) + "<root><Other.TopMost>1</Other.TopMost></root>",
        std::string(kDecl) + "<settings><other.topmost>1</other.topmost></settings>",
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CSetting s;
        WriteBytes(path, cases[i]);
        s.Load(path);
        EXPECT_EQ(s.Other_TopMost, 0) << "case " << i;
        EXPECT_EQ(s.Other_RandOpenCount, 10) << "case " << i;
    }
}

TEST_F(SettingFile, HugeValueIsReadWhole) {
    const std::string big(1 << 20, 'q');
    ASSERT_TRUE(LoadFrom(Settings("<GUI.ToolbarData>" + big + "</GUI.ToolbarData>").c_str()));
    EXPECT_EQ(setting.GUI_ToolbarData, big);
}

TEST_F(SettingFile, SaveWithoutLoadHasNoPathAndFails) {
    EXPECT_FALSE(setting.Save());
}

TEST_F(SettingFile, SaveIntoMissingFolderReportsFalse) {
    CSetting s;
    s.Load(dir.File("missing-folder") + "/setting.xml");
    EXPECT_FALSE(s.Save());
}

TEST(SettingInstance, IsOneObjectUntilDestroyed) {
    CSetting* a = CSetting::Instance();
    EXPECT_EQ(a, CSetting::Instance());
    EXPECT_EQ(a->Other_RandOpenCount, 10);
    CSetting::DestroyInstance();
    CSetting* b = CSetting::Instance();
    EXPECT_EQ(b->Items().size(), 37u);
    CSetting::DestroyInstance();
}
