// quorva.exe driven from outside, each test in a fresh program folder.
#include "program_runner.h"
#include "test_support/browser_entry.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace program_test {
namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

const std::vector<std::string> kAllKeys = {
    "General.Language", "General.AutoRun", "General.AutoRunMinToTry", "General.CheckVerMode",
    "GUI.MainFrameType", "GUI.MainFrameX1", "GUI.MainFrameY1", "GUI.MainFrameX2", "GUI.MainFrameY2",
    "GUI.MainFrameShowCmd", "GUI.MainFrameFlags", "GUI.ShowToolBar", "GUI.ShowStatusBar",
    "GUI.ShowClassView", "GUI.ShowRemarkView", "GUI.ShowDragWindow", "GUI.DragWindowX1",
    "GUI.DragWindowY1", "GUI.VerSplitterPos", "GUI.HorSplitterPos", "GUI.BookmarkCol0Width",
    "GUI.BookmarkCol1Show", "GUI.BookmarkCol1Width", "GUI.BookmarkViewFullRowSel",
    "GUI.BoolmarkViewShowLine", "GUI.DefaultToolbarData", "GUI.ToolbarData", "GUI.ToolbarSkin",
    "Other.CloseToTray", "Other.TopMost", "Other.RandOpenCount", "Other.InDefaultBookmark",
    "Other.InIEBookmark", "Other.PromptWhenDelClass", "Other.PromptWhenDelBookmark",
    "Other.DisplayAddBookmarkDlg", "Other.IEToolbarButton"};

// A normal rectangle well inside the 1024x768 desktop.
constexpr RECT kStoredRect{120, 90, 620, 470};

std::string StoredPlacementXml(int frameType) {
    char xml[1024];
    std::snprintf(xml, sizeof xml,
                  "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<settings>\r\n"
                  "<GUI.MainFrameType>%d</GUI.MainFrameType>\r\n"
                  "<GUI.MainFrameX1>%ld</GUI.MainFrameX1>\r\n<GUI.MainFrameY1>%ld</GUI.MainFrameY1>\r\n"
                  "<GUI.MainFrameX2>%ld</GUI.MainFrameX2>\r\n<GUI.MainFrameY2>%ld</GUI.MainFrameY2>\r\n"
                  "<GUI.MainFrameShowCmd>1</GUI.MainFrameShowCmd>\r\n"
                  "<GUI.MainFrameFlags>0</GUI.MainFrameFlags>\r\n</settings>\r\n",
                  frameType, kStoredRect.left, kStoredRect.top, kStoredRect.right, kStoredRect.bottom);
    return xml;
}

RECT NormalRect(HWND window) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ::GetWindowPlacement(window, &wp);
    return wp.rcNormalPosition;
}

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != 0; }

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        exe_ = dir_.File("quorva.exe");
        ASSERT_TRUE(::CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE)) << BuiltProgram();
        ASSERT_TRUE(testing_support::PointContextMenuAt(dir_.File("")));
        ASSERT_TRUE(testing_support::PointContextMenuAt(dir_.File(""), "Add to quorva"));  // the English pack's
    }

    // Every normal start registers the server for this copy of the program;
    // take that registration away again.
    void TearDown() override {
        RunningProgram unregister;
        if (unregister.Start(exe_, "/UnregServer")) unregister.WaitForExit(kTimeoutMs, nullptr);
    }

    std::string SettingsPath() const { return dir_.File("setting.xml"); }
    bool SettingsExist() const { return std::filesystem::exists(SettingsPath()); }

    void ExpectCompleteSettingsFile() {
        ASSERT_TRUE(SettingsExist());
        const std::string xml = ReadBytes(SettingsPath());
        EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u) << xml;
        EXPECT_EQ(SettingElementNames(xml), kAllKeys) << xml;
    }

    testing_support::TempDir dir_;
    std::string exe_;
};

TEST_F(ProgramTest, FirstRunWritesEveryKeyAndThePlacementWhenClosed) {
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // Without a stored placement the window is shown.
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != 0; }));
    char title[64] = "";
    ::GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "岚舟链匣");
    EXPECT_FALSE(SettingsExist()) << "the settings are written only when the process ends";

    // Move it so that the stored rectangle is known.
    ASSERT_TRUE(::MoveWindow(window, 50, 60, 400, 300, TRUE));
    ASSERT_TRUE(WaitUntil([&] { return SameRect(NormalRect(window), RECT{50, 60, 450, 360}); }));

    // The first start's import offers: declined.
    EXPECT_TRUE(program.AnswerQuestions());
    const ULONGLONG closed = ::GetTickCount64();
    ASSERT_TRUE(::PostMessageA(window, WM_CLOSE, 0, 0));
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(kTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    // The last lock was the window's: no grace period, no final pause.
    std::printf("process ended %llu ms after WM_CLOSE\n",
                static_cast<unsigned long long>(::GetTickCount64() - closed));

    ExpectCompleteSettingsFile();
    const std::string xml = ReadBytes(SettingsPath());
    EXPECT_EQ(SettingValue(xml, "GUI.MainFrameX1"), "50");
    EXPECT_EQ(SettingValue(xml, "GUI.MainFrameY1"), "60");
    EXPECT_EQ(SettingValue(xml, "GUI.MainFrameX2"), "450");
    EXPECT_EQ(SettingValue(xml, "GUI.MainFrameY2"), "360");
    EXPECT_EQ(SettingValue(xml, "GUI.MainFrameShowCmd"), "1");
    EXPECT_NE(SettingValue(xml, "GUI.MainFrameFlags"), "-1");
    EXPECT_NE(SettingValue(xml, "GUI.MainFrameFlags"), "");
}

TEST_F(ProgramTest, ClosedMaximizedReopensMaximized) {
    {
        RunningProgram program;
        ASSERT_TRUE(program.Start(exe_, ""));
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != 0; }));
        ::ShowWindow(window, SW_MAXIMIZE);
        ASSERT_TRUE(WaitUntil([&] { return ::IsZoomed(window) != 0; }));
        ASSERT_TRUE(program.Close());
    }
    EXPECT_EQ(SettingValue(ReadBytes(SettingsPath()), "GUI.MainFrameType"), "3");

    RunningProgram again;
    ASSERT_TRUE(again.Start(exe_, ""));
    HWND window = again.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) && ::IsZoomed(window); }));
    ASSERT_TRUE(again.Close());
}

// A settings file holding the smallest numbers there are: the window still
// comes up with its caption on the screen and a usable size, and the
// placement written at the end is the reachable one.
TEST_F(ProgramTest, APlacementOfIntMinOpensReachableAndIsStoredReachable) {
    WriteBytes(SettingsPath(),
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<settings>\r\n"
               "<GUI.MainFrameType>1</GUI.MainFrameType>\r\n"
               "<GUI.MainFrameX1>-2147483648</GUI.MainFrameX1>\r\n<GUI.MainFrameY1>-2147483648</GUI.MainFrameY1>\r\n"
               "<GUI.MainFrameX2>-2147483648</GUI.MainFrameX2>\r\n<GUI.MainFrameY2>-2147483648</GUI.MainFrameY2>\r\n"
               "<GUI.MainFrameShowCmd>1</GUI.MainFrameShowCmd>\r\n"
               "<GUI.MainFrameFlags>0</GUI.MainFrameFlags>\r\n</settings>\r\n");
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != 0; }));
    RECT work{};
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    RECT frame{};
    ::GetWindowRect(window, &frame);
    EXPECT_GE(frame.left, work.left);
    EXPECT_GE(frame.top, work.top);
    EXPECT_LE(frame.right, work.right);
    EXPECT_LT(frame.top + ::GetSystemMetrics(SM_CYCAPTION), work.bottom);
    EXPECT_GE(frame.right - frame.left, 320);
    EXPECT_GE(frame.bottom - frame.top, 240);
    ASSERT_TRUE(program.Close());

    const std::string xml = ReadBytes(SettingsPath());
    EXPECT_EQ(SettingValue(xml, "GUI.MainFrameX1"), std::to_string(frame.left)) << xml;
    EXPECT_EQ(SettingValue(xml, "GUI.MainFrameY1"), std::to_string(frame.top)) << xml;
    EXPECT_EQ(SettingValue(xml, "GUI.MainFrameX2"), std::to_string(frame.right)) << xml;
    EXPECT_EQ(SettingValue(xml, "GUI.MainFrameY2"), std::to_string(frame.bottom)) << xml;
}

struct PutAway {
    const char* name;
    int showCommand;
    bool (*done)(HWND);
};

void PrintTo(const PutAway& c, std::ostream* os) { *os << c.name; }

class SecondStart : public ProgramTest, public testing::WithParamInterface<PutAway> {};

TEST_P(SecondStart, EndsAtOnceTouchesNothingAndBringsTheFirstForward) {
    WriteBytes(SettingsPath(), StoredPlacementXml(1));
    RunningProgram first;
    ASSERT_TRUE(first.Start(exe_, ""));
    HWND window = first.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != 0; }));
    ::ShowWindow(window, GetParam().showCommand);
    ASSERT_TRUE(WaitUntil([&] { return GetParam().done(window); }));

    const auto before = FolderContents(dir_.Path().string());
    const auto writeTime = std::filesystem::last_write_time(SettingsPath());

    RunningProgram second;
    ASSERT_TRUE(second.Start(exe_, ""));
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(kTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);

    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) && !::IsIconic(window) && !::IsZoomed(window); }))
        << "the first window was not restored";
    EXPECT_EQ(FolderContents(dir_.Path().string()), before);
    EXPECT_EQ(std::filesystem::last_write_time(SettingsPath()), writeTime);
    EXPECT_TRUE(first.Running());
    ASSERT_TRUE(first.Close());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SecondStart,
    testing::Values(PutAway{"Minimized", SW_MINIMIZE, [](HWND w) { return ::IsIconic(w) != 0; }},
                    PutAway{"Hidden", SW_HIDE, [](HWND w) { return ::IsWindowVisible(w) == 0; }},
                    PutAway{"Maximized", SW_MAXIMIZE, [](HWND w) { return ::IsZoomed(w) != 0; }}),
    [](const testing::TestParamInfo<PutAway>& info) { return std::string(info.param.name); });

struct HideCase {
    const char* name;
    const char* arguments;
    bool placementStored;
    bool visible;
};

void PrintTo(const HideCase& c, std::ostream* os) { *os << c.name << " [" << c.arguments << "]"; }

class HideSwitch : public ProgramTest, public testing::WithParamInterface<HideCase> {};

TEST_P(HideSwitch, StartsHiddenOnlyAtTheEndOfTheLineAndWithAStoredPlacement) {
    const HideCase& c = GetParam();
    if (c.placementStored) WriteBytes(SettingsPath(), StoredPlacementXml(1));
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, c.arguments));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    if (c.placementStored) {
        // The stored placement has been applied: the first show has begun.
        ASSERT_TRUE(WaitUntil([&] { return SameRect(NormalRect(window), kStoredRect); }));
    }
    if (c.visible) {
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != 0; }));
    } else {
        // Idle means the message loop runs: the first show is over.
        EXPECT_EQ(::WaitForInputIdle(program.Process(), kTimeoutMs), 0u);
        EXPECT_FALSE(::IsWindowVisible(window));
    }
    ASSERT_TRUE(program.Close());
    ExpectCompleteSettingsFile();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HideSwitch,
    testing::Values(HideCase{"SlashHideWithPlacement", "/hide", true, false},
                    HideCase{"DashUpperCaseWithPlacement", "-HIDE", true, false},
                    HideCase{"HideOnFirstRunIsShown", "/hide", false, true},
                    HideCase{"HideFollowedByTextIsShown", "/hide x", true, true},
                    HideCase{"HideThenEmbeddingIsShown", "/hide /Embedding", true, true},
                    HideCase{"NoSwitchIsShown", "", true, true},
                    HideCase{"EmbeddingStartsNormally", "-Embedding", false, true}),
    [](const testing::TestParamInfo<HideCase>& info) { return std::string(info.param.name); });

void ExpectEndsWithoutWindow(RunningProgram& program, DWORD* exitCode) {
    bool windowSeen = false;
    ASSERT_TRUE(WaitUntil([&] {
        windowSeen = windowSeen || program.FindMainWindow() != nullptr;
        return !program.Running();
    }));
    EXPECT_FALSE(windowSeen);
    ASSERT_TRUE(program.WaitForExit(0, exitCode));
}

TEST_F(ProgramTest, RegistrationSwitchesShowNoWindowAndWriteTheSettings) {
    {
        RunningProgram program;
        ASSERT_TRUE(program.Start(exe_, "/RegServer"));
        DWORD exitCode = 99;
        ExpectEndsWithoutWindow(program, &exitCode);
        EXPECT_EQ(exitCode, 0u) << "the registration's result";
        ExpectCompleteSettingsFile();
    }
    ASSERT_TRUE(std::filesystem::remove(SettingsPath()));
    {
        // Removes what the first run wrote; the switch in any letter case.
        RunningProgram program;
        ASSERT_TRUE(program.Start(exe_, "-unregserver"));
        DWORD exitCode = 99;
        ExpectEndsWithoutWindow(program, &exitCode);
        EXPECT_EQ(exitCode, 0u) << "the removal's result";
        ExpectCompleteSettingsFile();
    }
}

// Language packs -------------------------------------------------------------

class LanguageTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        const std::string packs = dir_.File("Language");
        std::filesystem::create_directories(packs);
        for (const char* name : {"Chinese.ini", "English.ini"}) {
            ASSERT_TRUE(::CopyFileA((WindowsPath(QUORVA_LANGUAGE_DIR) + "\\" + name).c_str(),
                                    (packs + "\\" + name).c_str(), FALSE));
        }
    }
    // The position of a pack in the language submenu: the order in which
    // the folder lists it.
    int PackPosition(const std::string& file) const {
        int position = 0;
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA(dir_.File("Language\\*.ini").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return -1;
        int result = -1;
        do {
            if (file == found.cFileName) result = position;
            ++position;
        } while (result < 0 && ::FindNextFileA(search, &found));
        ::FindClose(search);
        return result;
    }
    // Opens a dialog with `command`, returns its title and cancels it.
    static std::string DialogTitle(const RunningProgram& program, HWND window, WORD command) {
        ::PostMessageA(window, WM_COMMAND, command, 0);
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = DialogOf(program.Pid())) != nullptr; })) return "(no dialog)";
        const std::string title = TextOf(dialog);
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([&] { return DialogOf(program.Pid()) == nullptr; });
        return title;
    }
    std::string StoredLanguage() const { return SettingValue(ReadBytes(SettingsPath()), "General.Language"); }
};

constexpr WORD kAbout = 57664;
constexpr WORD kAddCategory = 32770;
constexpr WORD kFirstLanguage = 8888;

TEST_F(LanguageTest, TheChosenPackTranslatesTheWindowAndItsDialogsAndIsKeptAtClose) {
    WriteBytes(SettingsPath(),
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<settings>\r\n"
               "<General.Language>English</General.Language>\r\n"
               "<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n"
               "<Other.InIEBookmark>0</Other.InIEBookmark>\r\n</settings>\r\n");
    // The user's own edit of a pack shows.
    std::string english = ReadBytes(dir_.File("Language\\English.ini"));
    const std::size_t title = english.find("10003=quorva\r\n");
    ASSERT_NE(title, std::string::npos);
    english.replace(title, 14, "10003=quorva (edited)\r\n");
    WriteBytes(dir_.File("Language\\English.ini"), english);

    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(window) == "quorva (edited)"; })) << TextOf(window);
    EXPECT_EQ(DialogTitle(program, window, kAbout), "About quorva");
    EXPECT_EQ(DialogTitle(program, window, kAddCategory), "Add Category");

    const int chinese = PackPosition("Chinese.ini");
    ASSERT_GE(chinese, 0);
    ::PostMessageA(window, WM_COMMAND, kFirstLanguage + chinese, 0);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(window) == "岚舟链匣"; })) << TextOf(window);
    EXPECT_EQ(DialogTitle(program, window, kAbout), "关于链匣");
    EXPECT_EQ(DialogTitle(program, window, kAddCategory), "增加类别");

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(StoredLanguage(), "Chinese");
}

}  // namespace
}  // namespace program_test

