// The real quorva.exe as an automation server, with Wine's script host as the
// client calling it the way the browser's page does. Each test works on its
// own copy of the program and leaves no registration behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include <filesystem>
#include <string>
#include <vector>

#include "automation_client.h"
#include "program_runner.h"
#include "quorva_automation.h"
#include "test_support/browser_entry.h"
#include "test_support/temp_dir.h"
#include "typelib_registration.h"

using automation_test::Finished;
using automation_test::ProcessesOf;
using automation_test::QueryRegistry;
using automation_test::RunToEnd;
using automation_test::ScriptCommand;
using automation_test::WriteScript;
using integration::GuidText;
using program_test::MainWindowOf;
using program_test::RunningProgram;
using program_test::WaitUntil;

namespace {

// Three calls as the page makes them; the second title is 书签 (bookmark).
const char kThreeCalls[] =
    "try {\r\n"
    "  var o = new ActiveXObject(\"quorva.IEMenuCatch\");\r\n"
    "  o.AddURL(\"http://example.com/one\", \"One\", 0);\r\n"
    "  o.AddURL(\"http://example.com/\\u4e66\", \"\\u4e66\\u7b7e\", 0);\r\n"
    "  o.AddURL(\"http://example.com/three\", \"\", 0);\r\n"
    "  WScript.Echo(\"calls-ok\");\r\n"
    "} catch (e) { WScript.Echo(\"fail \" + e.number); WScript.Quit(3); }\r\n";

HRESULT CallThroughDispatch(IDispatch* object, const wchar_t* url, const wchar_t* title) {
    LPOLESTR name = const_cast<LPOLESTR>(L"AddURL");
    DISPID id = 0;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    VARIANT args[3];
    args[0].vt = VT_I4;
    args[0].lVal = 0;
    args[1].vt = VT_BSTR;
    args[1].bstrVal = ::SysAllocString(title);
    args[2].vt = VT_BSTR;
    args[2].bstrVal = ::SysAllocString(url);
    DISPPARAMS params{args, nullptr, 3, 0};
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    ::SysFreeString(args[1].bstrVal);
    ::SysFreeString(args[2].bstrVal);
    return hr;
}

HRESULT CallDirectly(IIEMenuCatch* object, const wchar_t* url, const wchar_t* title) {
    BSTR u = ::SysAllocString(url);
    BSTR t = ::SysAllocString(title);
    HRESULT hr = object->AddURL(u, t, 0);
    ::SysFreeString(u);
    ::SysFreeString(t);
    return hr;
}

// A key nobody may open: an empty access list, as a user without rights
// finds HKEY_CLASSES_ROOT on Windows. Unlocked and deleted at the end.
class LockedKey {
public:
    LockedKey(HKEY root, const std::string& path) : root_(root), path_(path) {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        ::RegCloseKey(key);
        ACL empty;
        ::InitializeAcl(&empty, sizeof empty, ACL_REVISION);
        locked_ = SetDacl(&empty);
    }
    ~LockedKey() {
        SetDacl(nullptr);  // the owner may always change the access list
        ::RegDeleteTreeA(root_, path_.c_str());
    }
    LockedKey(const LockedKey&) = delete;
    LockedKey& operator=(const LockedKey&) = delete;
    bool Locked() const { return locked_; }

private:
    bool SetDacl(ACL* acl) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root_, path_.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
        SECURITY_DESCRIPTOR sd;
        ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        ::SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        const bool done = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
        ::RegCloseKey(key);
        return done;
    }

    HKEY root_;
    std::string path_;
    bool locked_ = false;
};

class AutomationServer : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = program_test::WindowsPath(dir_.Path().string());
        exe_ = folder_ + "\\quorva.exe";
        ASSERT_TRUE(::CopyFileA(program_test::BuiltProgram().c_str(), exe_.c_str(), FALSE));
        ASSERT_TRUE(ProcessesOf(exe_).empty());
        ASSERT_TRUE(testing_support::PointContextMenuAt(folder_ + "\\"));
    }

    void TearDown() override {
        // Whatever a test started must have ended; then take the registration back.
        EXPECT_TRUE(WaitUntil([&] { return ProcessesOf(exe_).empty(); }, 20000));
        Finished unreg = Run("/UnregServer");
        EXPECT_TRUE(unreg.ran);
        EXPECT_EQ(unreg.exitCode, 0u);
    }

    Finished Run(const std::string& arguments) { return RunToEnd("\"" + exe_ + "\" " + arguments); }

    std::string Script(const char* name, const char* text) {
        const std::string path = folder_ + "\\" + name;
        WriteScript(path, text);
        return path;
    }

    // The program over one category, "Inbox", on display, filing links
    // without the add-bookmark dialog.
    void StartWithAnInbox(RunningProgram& program) {
        testing_support::WriteBytes(dir_.File("bookmark.xml"),
                                    "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"Inbox\"/>\r\n</root>\r\n");
        testing_support::WriteBytes(dir_.File("setting.xml"),
                                    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<settings>\r\n"
                                    "<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n"
                                    "<Other.InIEBookmark>0</Other.InIEBookmark>\r\n"
                                    "<Other.DisplayAddBookmarkDlg>0</Other.DisplayAddBookmarkDlg>\r\n</settings>\r\n");
        ASSERT_TRUE(program.Start(exe_, ""));
        ASSERT_NE(program.WaitForMainWindow(), nullptr);
    }

    std::string ClassKey() const { return "HKCR\\CLSID\\" + GuidText(CLSID_IEMenuCatch); }

    // Every key the registration writes, as the registry tool prints it.
    std::vector<Finished> RegistrationKeys(const std::string& appId) {
        std::vector<Finished> keys;
        for (const std::string& key :
             {ClassKey(), std::string("HKCR\\quorva.IEMenuCatch"), std::string("HKCR\\quorva.IEMenuCatch.1"),
              "HKCR\\AppID\\" + appId, std::string("HKCR\\AppID\\quorva.EXE"),
              "HKCR\\TypeLib\\" + GuidText(LIBID_quorvaLib), "HKCR\\Interface\\" + GuidText(IID_IIEMenuCatch)})
            keys.push_back(QueryRegistry(key));
        return keys;
    }

    testing_support::TempDir dir_;
    std::string folder_;
    std::string exe_;
};

TEST_F(AutomationServer, RegServerTwiceLeavesTheSameKeysAndUnregServerKeepsTheRoots) {
    Finished first = Run("/RegServer");
    ASSERT_TRUE(first.ran);
    EXPECT_EQ(first.exitCode, 0u);
    EXPECT_TRUE(std::filesystem::exists(dir_.File("setting.xml")));  // the shutdown tail still ran

    Finished cls = QueryRegistry(ClassKey());
    ASSERT_EQ(cls.exitCode, 0u) << cls.output;
    EXPECT_NE(cls.output.find("\"" + exe_ + "\""), std::string::npos) << cls.output;
    EXPECT_NE(cls.output.find("quorva.IEMenuCatch.1"), std::string::npos) << cls.output;
    EXPECT_NE(cls.output.find(GuidText(LIBID_quorvaLib)), std::string::npos) << cls.output;
    const size_t at = cls.output.find("AppID");
    ASSERT_NE(at, std::string::npos) << cls.output;
    const size_t brace = cls.output.find('{', at);
    ASSERT_NE(brace, std::string::npos);
    const std::string appId = cls.output.substr(brace, 38);

    const std::vector<Finished> once = RegistrationKeys(appId);
    for (const Finished& key : once) EXPECT_EQ(key.exitCode, 0u) << key.output;

    Finished second = Run("/RegServer");
    EXPECT_EQ(second.exitCode, 0u);
    const std::vector<Finished> twice = RegistrationKeys(appId);
    ASSERT_EQ(twice.size(), once.size());
    for (size_t i = 0; i < once.size(); ++i) EXPECT_EQ(twice[i].output, once[i].output);

    Finished unreg = Run("/UnregServer");
    EXPECT_EQ(unreg.exitCode, 0u);
    for (const Finished& key : RegistrationKeys(appId)) EXPECT_NE(key.exitCode, 0u) << key.output;
    EXPECT_EQ(QueryRegistry("HKCR\\AppID").exitCode, 0u);
    EXPECT_EQ(QueryRegistry("HKCR\\CLSID").exitCode, 0u);
}

TEST_F(AutomationServer, UnregServerFromAMovedCopyRemovesTheRegistrationOfTheOldOne) {
    testing_support::TempDir oldDir;
    const std::string oldExe = program_test::WindowsPath(oldDir.Path().string()) + "\\quorva.exe";
    ASSERT_TRUE(::CopyFileA(exe_.c_str(), oldExe.c_str(), FALSE));
    Finished reg = RunToEnd("\"" + oldExe + "\" /RegServer");
    ASSERT_EQ(reg.exitCode, 0u);
    Finished cls = QueryRegistry(ClassKey());
    ASSERT_NE(cls.output.find(oldExe), std::string::npos) << cls.output;
    ASSERT_TRUE(::DeleteFileA(oldExe.c_str()));  // the registered files are gone

    Finished unreg = Run("/UnregServer");
    EXPECT_EQ(unreg.exitCode, 0u);
    EXPECT_NE(QueryRegistry(ClassKey()).exitCode, 0u);
    EXPECT_NE(QueryRegistry("HKCR\\TypeLib\\" + GuidText(LIBID_quorvaLib)).exitCode, 0u);
    EXPECT_NE(QueryRegistry("HKCR\\Interface\\" + GuidText(IID_IIEMenuCatch)).exitCode, 0u);
}

TEST_F(AutomationServer, KeyThatCannotBeWrittenFailsRegServerButNotANormalStart) {
    {
        LockedKey machine(HKEY_CLASSES_ROOT, "quorva.IEMenuCatch.1");
        LockedKey user(HKEY_CURRENT_USER, "Software\\Classes\\quorva.IEMenuCatch.1");
        ASSERT_TRUE(machine.Locked());
        ASSERT_TRUE(user.Locked());

        Finished reg = Run("/RegServer");
        ASSERT_TRUE(reg.ran);
        EXPECT_EQ(reg.exitCode, static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)));

        RunningProgram program;
        ASSERT_TRUE(program.Start(exe_, ""));
        EXPECT_NE(program.WaitForMainWindow(), nullptr);
        DWORD code = 99;
        EXPECT_TRUE(program.Close());
        EXPECT_TRUE(program.WaitForExit(0, &code));
        EXPECT_EQ(code, 0u);
    }
    EXPECT_NE(QueryRegistry("HKCR\\quorva.IEMenuCatch.1").exitCode, 0u);
}

TEST_F(AutomationServer, CallsReachTheRunningProgram) {
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));  // a normal start registers the server
    ASSERT_NE(program.WaitForMainWindow(), nullptr);

    Finished client = RunToEnd(ScriptCommand(Script("calls.js", kThreeCalls), ""));
    ASSERT_TRUE(client.ran);
    EXPECT_EQ(client.exitCode, 0u) << client.output;
    EXPECT_NE(client.output.find("calls-ok"), std::string::npos) << client.output;

    // Served by the running program: no second server was started.
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(ProcessesOf(exe_), std::vector<DWORD>{program.Pid()});
    EXPECT_TRUE(program.Close());
}

// The browser's three links become bookmarks of the category on display, in
// the order of the calls, and reach the bookmark file.
TEST_F(AutomationServer, LinksFromTheBrowserLandInTheBookmarkFileInCallOrder) {
    RunningProgram program;
    ASSERT_NO_FATAL_FAILURE(StartWithAnInbox(program));
    const char script[] =
        "try {\r\n"
        "  var o = new ActiveXObject(\"quorva.IEMenuCatch\");\r\n"
        "  o.AddURL(\"http://example.com/one\", \"One\", 0);\r\n"
        "  o.AddURL(\"http://example.com/two\", \"\\u4e66\\u7b7e\", 0);\r\n"
        "  o.AddURL(\"http://example.com/three\", \"Three\", 0);\r\n"
        "  o = null; CollectGarbage();\r\n"
        "  WScript.Echo(\"calls-ok\");\r\n"
        "} catch (e) { WScript.Echo(\"fail \" + e.number); WScript.Quit(3); }\r\n";
    Finished client = RunToEnd(ScriptCommand(Script("links.js", script), ""));
    ASSERT_EQ(client.exitCode, 0u) << client.output;
    const std::string file = dir_.File("bookmark.xml");
    auto saved = [&] { return testing_support::ReadBytes(file).find("example.com/three") != std::string::npos; };
    ASSERT_TRUE(WaitUntil(saved, 20000)) << testing_support::ReadBytes(file);
    const std::string xml = testing_support::ReadBytes(file);
    const std::size_t one = xml.find("t=\"One\" u=\"http://example.com/one\"");
    const std::size_t two = xml.find("t=\"书签\" u=\"http://example.com/two\"");
    const std::size_t three = xml.find("t=\"Three\" u=\"http://example.com/three\"");
    ASSERT_NE(one, std::string::npos) << xml;
    ASSERT_NE(two, std::string::npos) << xml;
    ASSERT_NE(three, std::string::npos) << xml;
    EXPECT_LT(one, two);
    EXPECT_LT(two, three);
    EXPECT_TRUE(program.Close());
}

// The context-menu page itself, with the real object, as the browser runs
// it over a link: the link reaches the bookmark file.
TEST_F(AutomationServer, TheContextMenuPageHandsTheLinkToTheRunningProgram) {
    RunningProgram program;
    ASSERT_NO_FATAL_FAILURE(StartWithAnInbox(program));
    const std::string page = automation_test::PageScript(QUORVA_PAGE_SOURCE);
    ASSERT_FALSE(page.empty());
    const std::string script =
        "var link = { tagName: 'A', href: 'http://from.page.example/', innerText: 'From the page', parentElement: null };\r\n"
        "var external = { menuArguments: { event: { clientX: 5, clientY: 6 }, document: {\r\n"
        "  elementFromPoint: function (x, y) { return link; }, location: 'http://p.example/', title: 'P' } } };\r\n"
        "try {\r\n" + page + "\r\nCollectGarbage(); WScript.Echo('page-ok');\r\n"
        "} catch (e) { WScript.Echo('fail ' + e.number); WScript.Quit(3); }\r\n";
    const std::string path = folder_ + "\\page.js";
    WriteScript(path, script);
    Finished client = RunToEnd(ScriptCommand(path, ""));
    ASSERT_EQ(client.exitCode, 0u) << client.output;
    EXPECT_NE(client.output.find("page-ok"), std::string::npos) << client.output;
    const std::string file = dir_.File("bookmark.xml");
    EXPECT_TRUE(WaitUntil([&] {
        return testing_support::ReadBytes(file).find("t=\"From the page\" u=\"http://from.page.example/\"") !=
               std::string::npos;
    }, 20000)) << testing_support::ReadBytes(file);
    EXPECT_TRUE(program.Close());
}

// A 100 MB URL, built by the script (200 MB of UTF-16): the call is refused
// with E_INVALIDARG, an ordinary call after it still works, and the program
// keeps no more memory than before. The time of the refused call is printed
// (a figure, not a limit).
const char kHugeCall[] =
    "try {\r\n"
    "  var s = \"0123456789abcdef\";\r\n"
    "  while (s.length < 1048576) s += s;\r\n"
    "  var parts = [];\r\n"
    "  for (var i = 0; i < 100; ++i) parts.push(s);\r\n"
    "  var huge = parts.join(\"\");\r\n"
    "  parts = null;\r\n"
    "  var o = new ActiveXObject(\"quorva.IEMenuCatch\");\r\n"
    "  var code = 0, t0 = new Date().getTime();\r\n"
    "  try { o.AddURL(huge, \"huge\", 0); } catch (e) { code = e.number; }\r\n"
    "  var t1 = new Date().getTime();\r\n"
    "  huge = null;\r\n"
    "  o.AddURL(\"http://example.com/after\", \"After\", 0);\r\n"
    "  WScript.Echo(\"length \" + s.length * 100 + \" code \" + (code < 0 ? code + 0x100000000 : code).toString(16) +\r\n"
    "               \" ms \" + (t1 - t0));\r\n"
    "  o = null; CollectGarbage();\r\n"
    "} catch (e) { WScript.Echo(\"fail \" + e.number); WScript.Quit(3); }\r\n";

// Committed private memory and working set of a process (Wine reports no
// PrivateUsage; PagefileUsage is the committed private memory).
struct Memory {
    SIZE_T committed = 0;
    SIZE_T workingSet = 0;
};

Memory MemoryOf(DWORD pid) {
    Memory memory;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return memory;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (::K32GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        memory.committed = counters.PagefileUsage;
        memory.workingSet = counters.WorkingSetSize;
    }
    ::CloseHandle(process);
    return memory;
}

TEST_F(AutomationServer, AHundredMegabyteUrlIsRefusedAndLeavesNoMemoryBehind) {
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    // A first call brings in everything an ordinary call needs.
    ASSERT_EQ(RunToEnd(ScriptCommand(Script("calls.js", kThreeCalls), "")).exitCode, 0u);
    const Memory before = MemoryOf(program.Pid());
    ASSERT_NE(before.committed, 0u);

    Finished client = RunToEnd(ScriptCommand(Script("huge.js", kHugeCall), ""), 180000);
    ASSERT_TRUE(client.ran);
    EXPECT_EQ(client.exitCode, 0u) << client.output;
    EXPECT_NE(client.output.find("length 104857600 code 80070057"), std::string::npos) << client.output;
    const Memory after = MemoryOf(program.Pid());
    std::printf("100 MB AddURL: %s; program committed %.1f MB before, %.1f MB after; working set %.1f MB before, "
                "%.1f MB after\n",
                client.output.c_str(), before.committed / 1048576.0, after.committed / 1048576.0,
                before.workingSet / 1048576.0, after.workingSet / 1048576.0);
    EXPECT_LT(after.committed, before.committed + 16 * 1024 * 1024);
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(program.Close());
}

TEST_F(AutomationServer, CallWhenNotRunningStartsTheProgramWithItsMainWindow) {
    ASSERT_EQ(Run("/RegServer").exitCode, 0u);
    ASSERT_TRUE(ProcessesOf(exe_).empty());

    Finished client = RunToEnd(ScriptCommand(Script("calls.js", kThreeCalls), ""));
    ASSERT_TRUE(client.ran);
    EXPECT_EQ(client.exitCode, 0u) << client.output;
    EXPECT_NE(client.output.find("calls-ok"), std::string::npos) << client.output;

    std::vector<DWORD> servers;
    ASSERT_TRUE(WaitUntil([&] { return (servers = ProcessesOf(exe_)).size() == 1; }));
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = MainWindowOf(servers[0])) && ::IsWindowVisible(window); }));

    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, servers[0]);
    ASSERT_NE(process, nullptr);
    // A first start: its import offers (and the links refused without a
    // category) are answered before closing.
    program_test::AnswerQuestionsOf(servers[0]);
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    ::GetExitCodeProcess(process, &code);
    EXPECT_EQ(code, 0u);
    ::CloseHandle(process);
}

// A refused link reaches a script as an error carrying AddURL's own code
// (E_INVALIDARG, the number -2147024809) and a text, not as a bare
// DISP_E_EXCEPTION.
TEST_F(AutomationServer, AScriptLearnsWhyALinkWasRefused) {
    ASSERT_EQ(Run("/RegServer").exitCode, 0u);
    RunningProgram program;
    StartWithAnInbox(program);
    const char kTooLong[] =
        "var o = new ActiveXObject(\"quorva.IEMenuCatch\");\r\n"
        "try {\r\n"
        "  o.AddURL(\"http://example.com/\" + new Array(70000).join(\"u\"), \"long\", 0);\r\n"
        "  WScript.Echo(\"accepted\");\r\n"
        "} catch (e) { WScript.Echo(\"refused \" + e.number + \" [\" + e.description + \"]\"); }\r\n"
        "o = null; CollectGarbage();\r\n";
    Finished client = RunToEnd(ScriptCommand(Script("long.js", kTooLong), ""));
    ASSERT_TRUE(client.ran);
    std::printf("script: %s\n", client.output.c_str());
    EXPECT_NE(client.output.find("refused -2147024809 ["), std::string::npos) << client.output;
    EXPECT_EQ(client.output.find("[]"), std::string::npos) << "no text" << client.output;
    program.AnswerQuestions();
    EXPECT_TRUE(program.Close());
}

// This test process is the client here (the script host cannot wait): it
// calls through IDispatch as a page does, and through the interface itself,
// which travels through the registered type library, and never lets go
// before the program has ended.
class HeldObject {
public:
    HeldObject() {
        if (FAILED(::CoInitialize(nullptr))) return;
        initialised_ = true;
        if (FAILED(::CoCreateInstance(CLSID_IEMenuCatch, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                      reinterpret_cast<void**>(&dispatch)))) {
            dispatch = nullptr;
            return;
        }
        if (FAILED(dispatch->QueryInterface(IID_IIEMenuCatch, reinterpret_cast<void**>(&direct)))) direct = nullptr;
    }
    ~HeldObject() {
        if (direct) direct->Release();
        if (dispatch) dispatch->Release();
        if (initialised_) ::CoUninitialize();
    }
    HeldObject(const HeldObject&) = delete;
    HeldObject& operator=(const HeldObject&) = delete;

    IDispatch* dispatch = nullptr;
    IIEMenuCatch* direct = nullptr;

private:
    bool initialised_ = false;
};

TEST_F(AutomationServer, AClientHoldingTheObjectNeverKeepsTheProgramAfterItsWindowCloses) {
    ASSERT_EQ(Run("/RegServer").exitCode, 0u);
    RunningProgram program;
    StartWithAnInbox(program);
    HWND window = program.FindMainWindow();
    ASSERT_NE(window, nullptr);
    const std::string settingsBefore = testing_support::ReadBytes(dir_.File("setting.xml"));

    HeldObject held;
    ASSERT_NE(held.dispatch, nullptr);
    ASSERT_NE(held.direct, nullptr);
    EXPECT_EQ(CallThroughDispatch(held.dispatch, L"http://held/", L"held"), S_OK);
    EXPECT_EQ(CallDirectly(held.direct, L"http://held/2", L"\x4E66"), S_OK);
    ASSERT_TRUE(WaitUntil([&] {
        return testing_support::ReadBytes(dir_.File("bookmark.xml")).find("http://held/2") != std::string::npos;
    }));

    // The window goes: the program saves, cuts the client off and ends
    // within seconds although the client still holds the object.
    program.AnswerQuestions();
    const ULONGLONG closed = ::GetTickCount64();
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(program.WaitForExit(15000, &code)) << "the program stays for a client that never lets go";
    std::printf("ended %llu ms after the window was closed\n",
                static_cast<unsigned long long>(::GetTickCount64() - closed));
    EXPECT_EQ(code, 0u);
    EXPECT_NE(CallThroughDispatch(held.dispatch, L"http://after-close/", L"after"), S_OK);
    EXPECT_NE(CallDirectly(held.direct, L"http://after-close/2", L"after 2"), S_OK);

    const std::string settingsAfter = testing_support::ReadBytes(dir_.File("setting.xml"));
    EXPECT_NE(settingsAfter, settingsBefore) << "setting.xml is written at the end";
    EXPECT_NE(settingsAfter.find("<Other.DisplayAddBookmarkDlg>0</Other.DisplayAddBookmarkDlg>"), std::string::npos);
    EXPECT_NE(testing_support::ReadBytes(dir_.File("bookmark.xml")).find("http://held/"), std::string::npos);
}

// A start while the first instance has lost its window and is ending waits
// for it and then opens its own window, instead of handing over to a
// process that shows none.
TEST_F(AutomationServer, AStartWhileTheFirstInstanceEndsWaitsAndShowsItsOwnWindow) {
    ASSERT_EQ(Run("/RegServer").exitCode, 0u);
    RunningProgram first;
    StartWithAnInbox(first);
    HWND window = first.FindMainWindow();
    ASSERT_NE(window, nullptr);
    HeldObject held;  // keeps the first one from ending at once
    ASSERT_NE(held.dispatch, nullptr);

    first.AnswerQuestions();
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return first.FindMainWindow() == nullptr; }));
    const bool firstStillRan = first.Running();
    RunningProgram second;
    ASSERT_TRUE(second.Start(exe_, ""));
    std::printf("the first instance was %s when the second started\n", firstStillRan ? "still ending" : "gone");
    HWND secondWindow = second.WaitForMainWindow();
    EXPECT_NE(secondWindow, nullptr) << "the second start handed over to a program without a window";
    EXPECT_TRUE(first.WaitForExit(15000, nullptr));
    EXPECT_TRUE(second.Running());
    if (secondWindow) {
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(secondWindow) != FALSE; }));
        second.AnswerQuestions();
        EXPECT_TRUE(second.Close());
    }
}

}  // namespace
