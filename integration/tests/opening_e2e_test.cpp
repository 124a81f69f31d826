// quorva.exe opening its homepage group and random bookmarks, with a
// recording program registered as the browser of the test prefix, so that
// no test ever reaches a real browser.
#include "automation_client.h"
#include "program_runner.h"
#include "test_support/browser_entry.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace program_test {
namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

constexpr WORD kOpenHomepageGroup = 32800;
constexpr WORD kOpenRandomBookmarks = 32940;
constexpr WORD kSelectAllBookmarks = 32905;

// A default value under HKEY_CLASSES_ROOT set for one test and put back as it
// was afterwards (or removed, with the keys the test created).
class ClassesDefault {
public:
    ClassesDefault(const std::string& key, const std::string& value) : key_(key) {
        HKEY handle = nullptr;
        if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &handle) == ERROR_SUCCESS) {
            char old[1024];
            DWORD size = sizeof old;
            if (::RegQueryValueExA(handle, nullptr, nullptr, &oldType_, reinterpret_cast<BYTE*>(old), &size) ==
                ERROR_SUCCESS) {
                old_ = std::string(old, size);
            }
            ::RegCloseKey(handle);
        } else {
            created_ = true;
        }
        ok_ = ::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
                             static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
    }
    ~ClassesDefault() {
        if (created_) {
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, key_.c_str());
            return;
        }
        HKEY handle = nullptr;
        if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
        if (old_) {  // as it was, of its own type
            ::RegSetValueExA(handle, nullptr, 0, oldType_, reinterpret_cast<const BYTE*>(old_->data()),
                             static_cast<DWORD>(old_->size()));
        } else {
            ::RegDeleteValueA(handle, nullptr);
        }
        ::RegCloseKey(handle);
    }
    ClassesDefault(const ClassesDefault&) = delete;
    ClassesDefault& operator=(const ClassesDefault&) = delete;
    bool Ok() const { return ok_; }

private:
    std::string key_;
    std::optional<std::string> old_;
    DWORD oldType_ = REG_SZ;
    bool created_ = false;
    bool ok_ = false;
};

struct Opened {
    unsigned long long tick;
    std::string commandLine;
    std::string address;  // the last quoted argument
};

class OpeningTest : public testing::Test {
protected:
    void SetUp() override {
        exe_ = dir_.File("quorva.exe");
        recorder_ = dir_.File("recorder.exe");
        ASSERT_TRUE(::CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA(WindowsPath(QUORVA_RECORDER_PATH).c_str(), recorder_.c_str(), FALSE));
        ASSERT_TRUE(testing_support::PointContextMenuAt(dir_.File("")));
        browser_.emplace("http\\shell\\open\\command", "\"" + recorder_ + "\" \"%1\"");
        ASSERT_TRUE(browser_->Ok());
    }
    void TearDown() override {
        browser_.reset();
        RunningProgram unregister;
        if (unregister.Start(exe_, "/UnregServer")) unregister.WaitForExit(kTimeoutMs, nullptr);
    }

    void WriteSettings(int randomCount) {
        char xml[512];
        std::snprintf(xml, sizeof xml,
                      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<settings>\r\n"
                      "<Other.RandOpenCount>%d</Other.RandOpenCount>\r\n"
                      "<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n"
                      "<Other.InIEBookmark>0</Other.InIEBookmark>\r\n"
                      "<Other.DisplayAddBookmarkDlg>0</Other.DisplayAddBookmarkDlg>\r\n</settings>\r\n",
                      randomCount);
        WriteBytes(dir_.File("setting.xml"), xml);
    }
    void WriteGroup(const std::vector<std::string>& urls) {
        std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n";
        for (const std::string& url : urls) xml += "<a t=\"page\" u=\"" + url + "\"/>\r\n";
        WriteBytes(dir_.File("HomepageGroup.xml"), xml + "</root>\r\n");
    }

    std::vector<Opened> Log() const {
        std::vector<Opened> opened;
        std::istringstream lines(ReadBytes(dir_.File("recorder.log")));
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::size_t space = line.find(' ');
            if (space == std::string::npos) continue;
            Opened o{std::stoull(line.substr(0, space)), line.substr(space + 1), ""};
            const std::size_t close = o.commandLine.rfind('"');
            const std::size_t open = close == std::string::npos ? close : o.commandLine.rfind('"', close - 1);
            if (open != std::string::npos) o.address = o.commandLine.substr(open + 1, close - open - 1);
            opened.push_back(o);
        }
        return opened;
    }
    std::vector<Opened> WaitForLog(std::size_t count, DWORD timeoutMs) const {
        WaitUntil([&] { return Log().size() >= count; }, timeoutMs);
        return Log();
    }

    // Starts the program and sends it `command` once its window is there.
    void StartAndSend(RunningProgram& program, WORD command) {
        ASSERT_TRUE(program.Start(exe_, ""));
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(::PostMessageA(window, WM_COMMAND, command, 0));
    }

    testing_support::TempDir dir_;
    std::string exe_;
    std::string recorder_;
    std::optional<ClassesDefault> browser_;
};

long long Gap(const Opened& a, const Opened& b) {
    return static_cast<long long>(b.tick) - static_cast<long long>(a.tick);
}

TEST_F(OpeningTest, TheHomepageGroupOpensInOrderPausingAtEmptyEntries) {
    WriteSettings(10);
    WriteGroup({"http://a.example/", "", "http://c.example/页"});
    RunningProgram program;
    StartAndSend(program, kOpenHomepageGroup);
    const std::vector<Opened> opened = WaitForLog(2, 15000);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].address, "http://a.example/");
    EXPECT_EQ(opened[1].address, "http://c.example/页");
    // 2 s after the first, 1 s after the empty one; starting a process takes
    // its own time under load.
    EXPECT_GE(Gap(opened[0], opened[1]), 2600);
    EXPECT_LE(Gap(opened[0], opened[1]), 4500);
    std::printf("opened after %lld ms\n", Gap(opened[0], opened[1]));
    EXPECT_TRUE(program.Close());
}

TEST_F(OpeningTest, TenRandomBookmarksOfTwentyFiveOpenInCollectionOrderAtTheirPace) {
    WriteSettings(10);
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"All\">\r\n";
    for (int i = 1; i <= 25; ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "<a t=\"site %02d\" u=\"http://site.example/%02d\" r=\"\"/>\r\n", i, i);
        xml += line;
    }
    WriteBytes(dir_.File("bookmark.xml"), xml + "</G>\r\n</root>\r\n");
    RunningProgram program;
    StartAndSend(program, kOpenRandomBookmarks);
    const std::vector<Opened> opened = WaitForLog(10, 30000);
    ASSERT_EQ(opened.size(), 10u);
    std::set<std::string> distinct;
    for (std::size_t i = 0; i < opened.size(); ++i) {
        distinct.insert(opened[i].address);
        EXPECT_EQ(opened[i].address.rfind("http://site.example/", 0), 0u) << opened[i].address;
        if (i > 0) {
            EXPECT_LT(opened[i - 1].address, opened[i].address) << "collection order";
        }
    }
    EXPECT_EQ(distinct.size(), 10u);
    EXPECT_GE(Gap(opened[0], opened[1]), 1600);
    EXPECT_LE(Gap(opened[0], opened[1]), 3200);
    const long long rest = Gap(opened[1], opened[9]);
    EXPECT_GE(rest, 8 * 1000 - 800);
    EXPECT_LE(rest, 8 * 1000 + 2500);
    std::printf("first gap %lld ms, then 8 more in %lld ms\n", Gap(opened[0], opened[1]), rest);
    EXPECT_TRUE(program.Close());
}

// A script sends a link whose address and title lie outside the code page
// while there is no category: it lands in a category made for it, with the
// address percent-encoded, and opening it hands the browser that address.
TEST_F(OpeningTest, ALinkOutsideTheCodePageIsKeptAndOpenedAsItsEncodedAddress) {
    WriteSettings(1);
    WriteBytes(dir_.File("bookmark.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n</root>\r\n");
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::string script = dir_.File("korean.js");
    automation_test::WriteScript(
        script,
        "try {\r\n"
        "  var o = new ActiveXObject(\"quorva.IEMenuCatch\");\r\n"
        "  o.AddURL(\"http://ko.wikipedia.org/wiki/\\uB300\\uD55C\\uBBFC\\uAD6D\",\r\n"
        "           \"\\uB300\\uD55C\\uBBFC\\uAD6D - \\uC704\\uD0A4\\uBC31\\uACFC: \\u4E66\", 0);\r\n"
        "  o = null; CollectGarbage();\r\n"
        "  WScript.Echo(\"sent\");\r\n"
        "} catch (e) { WScript.Echo(\"fail \" + e.number); WScript.Quit(3); }\r\n");
    const automation_test::Finished client = automation_test::RunToEnd(automation_test::ScriptCommand(script, ""));
    ASSERT_EQ(client.exitCode, 0u) << client.output;
    const std::string encoded = "http://ko.wikipedia.org/wiki/%EB%8C%80%ED%95%9C%EB%AF%BC%EA%B5%AD";
    const std::string line = "<a t=\"？？？？ - ？？？？： 书\" u=\"" + encoded + "\" r=\"\"/>";
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(dir_.File("bookmark.xml")).find(line) != std::string::npos; }, 20000))
        << ReadBytes(dir_.File("bookmark.xml"));
    EXPECT_NE(ReadBytes(dir_.File("bookmark.xml")).find("<G t=\"收到的链接\">"), std::string::npos);
    ASSERT_TRUE(::PostMessageA(window, WM_COMMAND, kOpenRandomBookmarks, 0));
    const std::vector<Opened> opened = WaitForLog(1, 15000);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].address, encoded);
    EXPECT_TRUE(program.Close());
}

// Enter in the list opens every selected bookmark, as a double-click opens one.
TEST_F(OpeningTest, EnterInTheListOpensTheSelectedBookmarks) {
    WriteSettings(10);
    WriteBytes(dir_.File("bookmark.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"Two\">\r\n"
                                          "<a t=\"first\" u=\"http://first.example/\" r=\"\"/>\r\n"
                                          "<a t=\"second\" u=\"http://second.example/\" r=\"\"/>\r\n</G>\r\n</root>\r\n");
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        ::EnumChildWindows(
            window,
            [](HWND child, LPARAM found) {
                char name[64] = {};
                ::GetClassNameA(child, name, sizeof name);
                if (std::string(name) != "SysListView32") return TRUE;
                *reinterpret_cast<HWND*>(found) = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&list));
        return list && ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2;
    }, 10000));
    ASSERT_TRUE(::PostMessageA(::GetParent(list), WM_COMMAND, kSelectAllBookmarks, 0));  // the list view's own
    ASSERT_TRUE(::PostMessageA(list, WM_KEYDOWN, VK_RETURN, 0));
    const std::vector<Opened> opened = WaitForLog(2, 15000);
    ASSERT_EQ(opened.size(), 2u);
    std::set<std::string> addresses{opened[0].address, opened[1].address};
    EXPECT_EQ(addresses, (std::set<std::string>{"http://first.example/", "http://second.example/"}));
    EXPECT_TRUE(program.Close());
}

TEST_F(OpeningTest, ClosingTheWindowStopsTheOpener) {
    WriteSettings(10);
    WriteGroup({"http://first.example/", "http://second.example/", "http://third.example/"});
    RunningProgram program;
    StartAndSend(program, kOpenHomepageGroup);
    ASSERT_EQ(WaitForLog(1, 30000).size(), 1u);
    DWORD exitCode = 99;
    ASSERT_TRUE(program.Close());
    ASSERT_TRUE(program.WaitForExit(kTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    ::Sleep(3500);
    EXPECT_EQ(Log().size(), 1u) << "an address was opened after the window closed";
}

TEST_F(OpeningTest, WhatTheShellRefusesGoesToThePageProgramAsOneQuotedArgument) {
    WriteSettings(0);
    WriteGroup({"qvtest:a b&quot;c --flag"});  // an address no program is registered for
    ClassesDefault pageType(".htm", "quorvatest.htmfile");
    struct RemoveClass {
        ~RemoveClass() { ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "quorvatest.htmfile"); }
    } removeClass;
    ClassesDefault pageCommand("quorvatest.htmfile\\shell\\open\\command", "\"" + recorder_ + "\" \"%1\" --page");
    ASSERT_TRUE(pageType.Ok());
    ASSERT_TRUE(pageCommand.Ok());
    RunningProgram program;
    StartAndSend(program, kOpenHomepageGroup);
    const std::vector<Opened> opened = WaitForLog(1, 30000);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].commandLine, "\"" + recorder_ + "\"  \"qvtest:a b%22c --flag\"");
    EXPECT_TRUE(program.Close());
}

TEST_F(OpeningTest, ARandomCountOfZeroOrLessOpensNothing) {
    WriteSettings(-1);
    WriteBytes(dir_.File("bookmark.xml"),
               "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"All\">\r\n"
               "<a t=\"one\" u=\"http://one.example/\" r=\"\"/>\r\n</G>\r\n</root>\r\n");
    RunningProgram program;
    StartAndSend(program, kOpenRandomBookmarks);
    ::Sleep(1500);
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(program.Close());
}

}  // namespace
}  // namespace program_test
