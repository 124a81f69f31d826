// quorva-link.exe as the browser runs it: framed messages written into its
// standard input through a pipe, its replies read from its standard output,
// the real quorva.exe filing the links. And the registration the program
// writes for the browsers. Each test works on its own copy of the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "automation_client.h"
#include "frame_reader.h"
#include "program_runner.h"
#include "test_support/browser_entry.h"
#include "test_support/temp_dir.h"

using automation_test::Finished;
using automation_test::ProcessesOf;
using automation_test::QueryRegistry;
using automation_test::RunToEnd;
using link_host::EncodeFrame;
using program_test::RunningProgram;
using program_test::WaitUntil;

namespace {

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct HostRun {
    bool ran = false;
    DWORD exitCode = 0;
    std::string output;
};

// Runs `commandLine` with `input` written into its standard input (then
// closed) and its standard output collected, as the browser does.
HostRun RunWithInput(const std::string& commandLine, const std::string& input, DWORD timeoutMs = 60000) {
    HostRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr;
    if (!::CreatePipe(&inRead, &inWrite, &inherit, 0)) return run;
    if (!::CreatePipe(&outRead, &outWrite, &inherit, 0)) return run;
    ::SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    // The host's error output is of no interest; it must not share the reply pipe.
    HANDLE nul = ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = nul;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    const bool started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                          nullptr, &startup, &info);
    ::CloseHandle(inRead);
    ::CloseHandle(outWrite);
    ::CloseHandle(nul);
    if (!started) {
        ::CloseHandle(inWrite);
        ::CloseHandle(outRead);
        return run;
    }
    // Written from a thread of its own: the host answers while it reads.
    std::thread writer([&] {
        const char* p = input.data();
        std::size_t left = input.size();
        while (left > 0) {
            DWORD wrote = 0;
            const DWORD chunk = static_cast<DWORD>(left < 65536 ? left : 65536);
            if (!::WriteFile(inWrite, p, chunk, &wrote, nullptr) || wrote == 0) break;
            p += wrote;
            left -= wrote;
        }
        ::CloseHandle(inWrite);
    });
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(outRead, buffer, sizeof buffer, &got, nullptr) && got > 0) run.output.append(buffer, got);
    writer.join();
    ::CloseHandle(outRead);
    if (::WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        run.ran = true;
        ::GetExitCodeProcess(info.hProcess, &run.exitCode);
    } else {
        ::TerminateProcess(info.hProcess, 99);
    }
    ::CloseHandle(info.hProcess);
    ::CloseHandle(info.hThread);
    return run;
}

// The replies' texts, in order; stops at a broken frame.
std::vector<std::string> Replies(const std::string& output) {
    link_host::FrameReader reader;
    std::vector<std::string> replies;
    for (const link_host::Frame& frame : reader.Feed(output.data(), output.size())) replies.push_back(frame.text);
    if (reader.MidMessage()) replies.push_back("<cut short>");
    return replies;
}

class LinkHost : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = program_test::WindowsPath(dir_.Path().string());
        exe_ = folder_ + "\\quorva.exe";
        host_ = folder_ + "\\quorva-link.exe";
        ASSERT_TRUE(::CopyFileA(program_test::BuiltProgram().c_str(), exe_.c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA(program_test::WindowsPath(QUORVA_LINK_PATH).c_str(), host_.c_str(), FALSE));
        ASSERT_TRUE(ProcessesOf(exe_).empty());
        ASSERT_TRUE(testing_support::PointContextMenuAt(folder_ + "\\"));
    }

    void TearDown() override {
        EXPECT_TRUE(WaitUntil([&] { return ProcessesOf(exe_).empty(); }, 20000));
        Finished unreg = RunToEnd("\"" + exe_ + "\" /UnregServer");
        EXPECT_EQ(unreg.exitCode, 0u);
    }

    // The program over one category, "Inbox", on display, filing links
    // without the add-bookmark dialog.
    void WriteInbox() {
        testing_support::WriteBytes(dir_.File("bookmark.xml"),
                                    "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"Inbox\"/>\r\n</root>\r\n");
        testing_support::WriteBytes(dir_.File("setting.xml"),
                                    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<settings>\r\n"
                                    "<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n"
                                    "<Other.InIEBookmark>0</Other.InIEBookmark>\r\n"
                                    "<Other.DisplayAddBookmarkDlg>0</Other.DisplayAddBookmarkDlg>\r\n</settings>\r\n");
    }

    HostRun Host(const std::string& input) {
        return RunWithInput("\"" + host_ + "\" chrome-extension://jfmddahhgobmkhoindnjoicepoomfnkk/", input);
    }

    bool SavedWith(const std::string& text) {
        return WaitUntil(
            [&] { return testing_support::ReadBytes(dir_.File("bookmark.xml")).find(text) != std::string::npos; },
            20000);
    }

    testing_support::TempDir dir_;
    std::string folder_;
    std::string exe_;
    std::string host_;
};

TEST_F(LinkHost, LinksReachTheBookmarkFileWithTheirTitlesAndBadMessagesGetTheirReasons) {
    WriteInbox();
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));
    ASSERT_NE(program.WaitForMainWindow(), nullptr);

    const std::string input =
        EncodeFrame(R"({"url":"http://example.com/one","title":"One"})") + EncodeFrame("{\"url\":") +
        EncodeFrame(U8(u8R"({"url":"http://example.com/书","title":"书签"})")) +
        EncodeFrame(R"({"title":"no address"})") + EncodeFrame(std::string(1024 * 1024 + 1, ' ')) +
        // Korean and an emoji are outside GBK: the host name in its ASCII form, the
        // path percent-encoded, the title with full-width question marks.
        EncodeFrame(U8(u8R"({"url":"http://한국.example/😀?q=书","title":"한국 😀 书"})")) +
        EncodeFrame(R"({"url":"http://example.com/)" + std::string(65537, 'x') + "\"}");
    const HostRun run = Host(input);
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(Replies(run.output), (std::vector<std::string>{
                                       R"({"ok":true})",
                                       R"({"ok":false,"error":"not-json"})",
                                       R"({"ok":true})",
                                       R"({"ok":false,"error":"url-missing"})",
                                       R"({"ok":false,"error":"message-too-long"})",
                                       R"({"ok":true})",
                                       R"({"ok":false,"error":"url-too-long"})",
                                   }));

    ASSERT_TRUE(SavedWith("xn--3e0b707e")) << testing_support::ReadBytes(dir_.File("bookmark.xml"));
    const std::string xml = testing_support::ReadBytes(dir_.File("bookmark.xml"));
    const std::size_t one = xml.find("t=\"One\" u=\"http://example.com/one\"");
    const std::size_t chinese = xml.find("t=\"书签\" u=\"http://example.com/书\"");
    const std::size_t korean = xml.find("t=\"？？ ？ 书\" u=\"http://xn--3e0b707e.example/%F0%9F%98%80?q=书\"");
    EXPECT_NE(one, std::string::npos) << xml;
    EXPECT_NE(chinese, std::string::npos) << xml;
    EXPECT_NE(korean, std::string::npos) << xml;
    EXPECT_LT(one, chinese);
    EXPECT_LT(chinese, korean);
    EXPECT_EQ(xml.find("no address"), std::string::npos);
    EXPECT_TRUE(program.Close());
}

TEST_F(LinkHost, InputEndingInsideAMessageEndsTheHostQuietlyAfterTheWholeOnes) {
    WriteInbox();
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    const std::string whole = EncodeFrame(R"({"url":"http://example.com/whole","title":"Whole"})");
    const std::string cut = EncodeFrame(R"({"url":"http://example.com/cut","title":"Cut"})");
    const HostRun run = Host(whole + cut.substr(0, cut.size() / 2));
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(Replies(run.output), std::vector<std::string>{R"({"ok":true})"});
    EXPECT_TRUE(SavedWith("t=\"Whole\""));
    EXPECT_EQ(testing_support::ReadBytes(dir_.File("bookmark.xml")).find("example.com/cut"), std::string::npos);
    EXPECT_TRUE(program.Close());
}

// The browser starts the host whether the program runs or not: the
// automation object starts it, and the link is filed.
TEST_F(LinkHost, AProgramThatIsNotRunningIsStartedByTheCall) {
    WriteInbox();
    ASSERT_EQ(RunToEnd("\"" + exe_ + "\" /RegServer").exitCode, 0u);
    const HostRun run = Host(EncodeFrame(R"({"url":"http://example.com/started","title":"Started"})"));
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(Replies(run.output), std::vector<std::string>{R"({"ok":true})"});
    std::vector<DWORD> pids;
    ASSERT_TRUE(WaitUntil([&] { return !(pids = ProcessesOf(exe_)).empty(); }));
    EXPECT_TRUE(SavedWith("t=\"Started\" u=\"http://example.com/started\""));
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = program_test::MainWindowOf(pids[0])) != nullptr; }));
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return ProcessesOf(exe_).empty(); }));
}

TEST_F(LinkHost, WithoutTheProgramRegisteredTheReplySaysSo) {
    // Nothing of this copy is registered, and no other copy is.
    ASSERT_EQ(RunToEnd("\"" + exe_ + "\" /UnregServer").exitCode, 0u);
    const HostRun run = Host(EncodeFrame(R"({"url":"http://example.com/"})"));
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(Replies(run.output), std::vector<std::string>{R"({"ok":false,"error":"program-not-registered"})"});
}

// The program's start writes the manifests beside it and the three browsers'
// keys; a second start changes nothing; a moved copy takes them over;
// UnregServer removes them.
TEST_F(LinkHost, TheProgramRegistersTheHostForTheBrowsers) {
    const char* keys[] = {"HKCU\\Software\\Google\\Chrome\\NativeMessagingHosts\\io.github.quorva.link",
                          "HKCU\\Software\\Microsoft\\Edge\\NativeMessagingHosts\\io.github.quorva.link",
                          "HKCU\\Software\\Mozilla\\NativeMessagingHosts\\io.github.quorva.link"};
    ASSERT_EQ(RunToEnd("\"" + exe_ + "\" /RegServer").exitCode, 0u);
    const std::string chromium = folder_ + "\\quorva-link.json";
    const std::string firefox = folder_ + "\\quorva-link.firefox.json";
    for (const char* key : keys) {
        const Finished query = QueryRegistry(key);
        ASSERT_EQ(query.exitCode, 0u) << key;
        EXPECT_NE(query.output.find(std::strstr(key, "Mozilla") ? firefox : chromium), std::string::npos)
            << query.output;
    }
    std::string escapedHost;
    for (char c : host_) escapedHost += c == '\\' ? std::string("\\\\") : std::string(1, c);
    const std::string manifest = testing_support::ReadBytes(dir_.File("quorva-link.json"));
    EXPECT_NE(manifest.find("\"path\": \"" + escapedHost + "\""), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("chrome-extension://jfmddahhgobmkhoindnjoicepoomfnkk/"), std::string::npos);
    const std::string firefoxManifest = testing_support::ReadBytes(dir_.File("quorva-link.firefox.json"));
    EXPECT_NE(firefoxManifest.find("\"allowed_extensions\": [\"link@quorva.github.io\"]"), std::string::npos);

    // Again: the files are not rewritten.
    const auto written = std::filesystem::last_write_time(dir_.File("quorva-link.json"));
    ::Sleep(1100);
    ASSERT_EQ(RunToEnd("\"" + exe_ + "\" /RegServer").exitCode, 0u);
    EXPECT_EQ(std::filesystem::last_write_time(dir_.File("quorva-link.json")), written);

    // A copy in another folder takes the keys over.
    testing_support::TempDir other;
    const std::string otherFolder = program_test::WindowsPath(other.Path().string());
    const std::string otherExe = otherFolder + "\\quorva.exe";
    ASSERT_TRUE(::CopyFileA(exe_.c_str(), otherExe.c_str(), FALSE));
    ASSERT_EQ(RunToEnd("\"" + otherExe + "\" /RegServer").exitCode, 0u);
    EXPECT_NE(QueryRegistry(keys[0]).output.find(otherFolder + "\\quorva-link.json"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(other.File("quorva-link.json")));

    ASSERT_EQ(RunToEnd("\"" + otherExe + "\" /UnregServer").exitCode, 0u);
    for (const char* key : keys) EXPECT_NE(QueryRegistry(key).exitCode, 0u) << key;
    EXPECT_FALSE(std::filesystem::exists(other.File("quorva-link.json")));
    EXPECT_FALSE(std::filesystem::exists(other.File("quorva-link.firefox.json")));
}

}  // namespace
