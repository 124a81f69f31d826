// quorva.exe and its entries for the browser and the log-on: the page beside
// it, the context-menu entry and the hint to reopen the browser, the toolbar
// button, the run-list value. Read back with the registry's A functions
// (code page 936), byte for byte.
#include "program_runner.h"
#include "test_support/browser_entry.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace program_test {
namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

const std::string kMenuKey =
    std::string("Software\\Microsoft\\Internet Explorer\\MenuExt\\!&") + testing_support::kBuiltinMenuText;
constexpr char kButtonKey[] =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{9D3E2B4A-6C1F-4E8B-A2D7-51F0C8E3B6A9}";
constexpr char kRunKey[] = "software\\microsoft\\windows\\currentversion\\run";
constexpr char kHint[] = "请您先关闭然后再打开您的浏览器,这样您的浏览器才能支持IE右键菜单.";

std::optional<std::string> StringValue(HKEY root, const std::string& key, const char* name) {
    char data[2048];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (::RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, &type, data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(data);
}

std::optional<DWORD> DwordValue(HKEY root, const std::string& key, const char* name) {
    DWORD data = 0;
    DWORD size = sizeof data;
    if (::RegGetValueA(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return data;
}

class BrowserEntries : public testing::Test {
protected:
    void SetUp() override {
        // A folder with a space: the run-list value must quote it.
        folder_ = dir_.File("with space") + "\\";
        std::filesystem::create_directories(folder_);
        exe_ = folder_ + "quorva.exe";
        ASSERT_TRUE(::CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE));
    }
    void TearDown() override {
        RunningProgram unregister;
        if (unregister.Start(exe_, "/UnregServer")) unregister.WaitForExit(kTimeoutMs, nullptr);
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kButtonKey);
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "quorva");
        testing_support::PointContextMenuAt("C:\\nowhere\\");
    }
    // The program reads its keys in their own order: `general` goes before
    // the "Other" keys, `other` after the first-run ones.
    void WriteSettings(const char* general, const char* other) {
        WriteBytes(folder_ + "setting.xml", std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<settings>\r\n") +
                                                general +
                                                "<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n"
                                                "<Other.InIEBookmark>0</Other.InIEBookmark>\r\n" +
                                                other + "</settings>\r\n");
    }
    // Starts the program; when a hint comes, its text is kept and it is
    // answered. Then the program is closed.
    std::string RunOnce(bool expectHint) {
        RunningProgram program;
        EXPECT_TRUE(program.Start(exe_, ""));
        HWND window = program.WaitForMainWindow();
        EXPECT_NE(window, nullptr);
        std::string hint;
        HWND box = nullptr;
        const bool came = WaitUntil([&] { return (box = DialogOf(program.Pid())) != nullptr; }, expectHint ? 10000 : 2500);
        if (came) {
            char text[512] = "";
            ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            hint = text;
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            WaitUntil([&] { return DialogOf(program.Pid()) == nullptr; });
        }
        EXPECT_TRUE(program.Close());
        return hint;
    }

    testing_support::TempDir dir_;
    std::string folder_;
    std::string exe_;
};

TEST_F(BrowserEntries, TheFirstStartWritesThePageAndTheEntryAndHintsOnce) {
    testing_support::PointContextMenuAt("C:\\moved away\\");  // an old folder that is gone
    WriteSettings("", "<Other.IEToolbarButton>1</Other.IEToolbarButton>\r\n");
    EXPECT_EQ(RunOnce(true), kHint);
    EXPECT_EQ(ReadBytes(folder_ + "Bm_Link.htm"), ReadBytes(WindowsPath(QUORVA_PAGE_SOURCE)))
        << "the page is written as the program carries it";
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, kMenuKey, nullptr), folder_ + "Bm_Link.htm");
    EXPECT_EQ(DwordValue(HKEY_CURRENT_USER, kMenuKey, "contexts"), 243u);
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kButtonKey, "Exec"), exe_);
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kButtonKey, "MenuText"), "zevLinkarbor(岚舟链匣)");

    // The next start writes nothing: a planted marker survives, no hint.
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kMenuKey.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    const DWORD marker = 1;
    ::RegSetValueExA(key, "contexts", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&marker), sizeof marker);
    ::RegCloseKey(key);
    WriteSettings("", "<Other.IEToolbarButton>0</Other.IEToolbarButton>\r\n");
    EXPECT_EQ(RunOnce(false), "");
    EXPECT_EQ(DwordValue(HKEY_CURRENT_USER, kMenuKey, "contexts"), 1u);
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kButtonKey, "Exec"), std::nullopt) << "the button goes when off";
}

TEST_F(BrowserEntries, TheRunValueFollowsTheAutoRunSettingsAtExit) {
    ASSERT_TRUE(testing_support::PointContextMenuAt(folder_));
    WriteSettings("<General.AutoRun>1</General.AutoRun>\r\n<General.AutoRunMinToTry>0</General.AutoRunMinToTry>\r\n", "");
    EXPECT_EQ(RunOnce(false), "") << "the entry already points here";
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, kRunKey, "quorva"), "\"" + exe_ + "\"");
    WriteSettings("<General.AutoRun>1</General.AutoRun>\r\n<General.AutoRunMinToTry>1</General.AutoRunMinToTry>\r\n", "");
    EXPECT_EQ(RunOnce(false), "");
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, kRunKey, "quorva"), "\"" + exe_ + "\" /hide");
    WriteSettings("<General.AutoRun>0</General.AutoRun>\r\n", "");
    RunOnce(false);
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, kRunKey, "quorva"), std::nullopt);
}

}  // namespace
}  // namespace program_test
