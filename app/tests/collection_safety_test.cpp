// quorva.exe against the faults that can cost a user the collection: a file
// another program holds, a damaged file, a file or folder that cannot be
// written, a full disk. Each test runs the real program in its own folder
// and drives it from outside.
#include "program_runner.h"
#include "program_windows.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace program_test {
namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

constexpr int kSaveElsewhere = 1101;
constexpr int kFileNameEdit = 0x480;  // edt1 of the system's save dialog
constexpr int kFileNameCombo = 0x47C;  // cmb13, in the newer layout

// The settings that switch the first-run questions off.
const char kQuietSettings[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<settings>\r\n"
    "<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n"
    "<Other.InIEBookmark>0</Other.InIEBookmark>\r\n</settings>\r\n";

// A collection of `categories` top-level categories of 20 bookmarks each.
std::string Collection(int categories) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n";
    for (int c = 0; c < categories; ++c) {
        xml += "<G t=\"Category " + std::to_string(c) + "\">\r\n";
        for (int b = 0; b < 20; ++b) {
            xml += "<a t=\"Bookmark " + std::to_string(c) + "." + std::to_string(b) + "\" u=\"http://example.com/" +
                   std::to_string(c) + "/" + std::to_string(b) + "\" r=\"\"/>\r\n";
        }
        xml += "</G>\r\n";
    }
    return xml + "</root>\r\n";
}

// The file's bytes opened by this process without sharing, as a backup tool
// or a virus scanner holds it.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : handle_(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() { Release(); }
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

bool HasText(HWND dialog, const std::string& text) { return StaticTexts(dialog).find(text) != std::string::npos; }

// The system's text for `code` (as the program shows it: no final stop).
std::string SystemTextWithoutStop(DWORD code) {
    char text[512] = {};
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                               sizeof text, nullptr);
    std::string s(text, n);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '.')) s.pop_back();
    const std::string fullStop = "\xA1\xA3";  // "。" in the code page
    if (s.size() >= 2 && s.compare(s.size() - 2, 2, fullStop) == 0) s.resize(s.size() - 2);
    return s;
}

// The hint to reopen the browser, shown once the window is up whenever the
// context-menu entry was written anew (every fresh program folder).
bool IsBrowserHint(HWND dialog) { return HasText(dialog, "浏览器"); }
bool IsNotBrowserHint(HWND dialog) { return !IsBrowserHint(dialog); }

std::vector<std::string> UnreadableCopies(const std::string& folder) {
    std::vector<std::string> copies;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("bookmark.xml.unreadable-", 0) == 0) copies.push_back(entry.path().string());
    }
    return copies;
}

class CollectionSafety : public testing::Test {
protected:
    void SetUp() override { UseFolder(dir_.Path().string(), true); }

    void UseFolder(const std::string& folder, bool copyProgram) {
        folder_ = folder;
        exe_ = File("quorva.exe");
        if (copyProgram) {
            ASSERT_TRUE(::CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE)) << exe_;
        }
    }

    void TearDown() override {
        RunningProgram unregister;
        if (unregister.Start(exe_, "/UnregServer")) unregister.WaitForExit(kTimeoutMs, nullptr);
    }

    std::string File(const std::string& name) const { return folder_ + "\\" + name; }

    HWND StartAndWait() {
        if (!program_.Start(exe_, "")) return nullptr;
        HWND window = WaitForShownWindow();
        DismissBrowserHint();
        return window;
    }

    // A message about an unreadable file comes before the window is made:
    // tests that expect one answer it first, then wait for the window.
    HWND WaitForShownWindow() {
        HWND window = program_.WaitForMainWindow();
        if (window) WaitUntil([&] { return ::IsWindowVisible(window) != 0; });
        return window;
    }

    void DismissBrowserHint() {
        if (HWND hint = WaitForDialogOf(program_.Pid(), IsBrowserHint, 3000)) {
            PressButton(hint, IDOK);
            WaitUntil([&] { return !::IsWindow(hint); });
        }
    }

    // Waits for the message about an unreadable file; checks what it names
    // and answers it. Returns the kept copy named in it.
    void ExpectUnreadableMessage(const std::string& reasonPart) {
        HWND box = WaitForDialogOf(program_.Pid(), [](HWND d) { return HasText(d, "bookmark.xml.unreadable-"); });
        ASSERT_NE(box, nullptr) << "no message about the unreadable file";
        const std::string text = StaticTexts(box);
        EXPECT_NE(text.find(File("bookmark.xml")), std::string::npos) << text;
        EXPECT_NE(text.find(reasonPart), std::string::npos) << text;
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
        // The collection is not new: no first-run question follows.
        ::Sleep(1000);
        DismissBrowserHint();
        HWND other = DialogOf(program_.Pid(), IsNotBrowserHint);
        EXPECT_EQ(other, nullptr) << StaticTexts(other);
    }

    bool WaitForFileHolding(const std::string& path, const std::string& part, DWORD timeoutMs = kTimeoutMs) {
        return WaitUntil([&] { return ReadBytes(path).find(part) != std::string::npos; }, timeoutMs);
    }

    // A change that the file cannot take: the status bar says so, with
    // `reason` when one is given.
    void ExpectSaveFailureShown(HWND window, const std::string& category, const std::string& reason = {}) {
        const std::string idle = StatusText(window);
        ASSERT_TRUE(AddCategory(program_.Pid(), window, category));
        ASSERT_TRUE(WaitUntil([&] { return StatusText(window) != idle; })) << idle;
        const std::string shown = StatusText(window);
        std::printf("status bar: %s\n", shown.c_str());
        EXPECT_NE(shown.find("("), std::string::npos) << "the reason is shown";
        if (!reason.empty()) {
            EXPECT_NE(shown.find("(" + reason + ")"), std::string::npos) << shown;
        }
    }

    // Closes the window; the save fails, the question comes (naming
    // `reason` when one is given), and the collection goes to `other`
    // through the save dialog.
    void CloseSavingElsewhere(HWND window, const std::string& other, const std::string& reason = {}) {
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        HWND question = WaitForDialogOf(program_.Pid(), [](HWND d) { return ::GetDlgItem(d, kSaveElsewhere); });
        ASSERT_NE(question, nullptr) << "closing did not ask";
        if (!reason.empty()) {
            EXPECT_TRUE(HasText(question, reason)) << StaticTexts(question);
        }
        EXPECT_EQ(::SendMessageA(question, DM_GETDEFID, 0, 0), MAKELRESULT(IDRETRY, DC_HASDEFID));
        PressButton(question, kSaveElsewhere);
        HWND saveAs = WaitForDialogOf(program_.Pid(), [&](HWND d) { return d != question && ::IsWindowEnabled(d); });
        ASSERT_NE(saveAs, nullptr) << "no save dialog";
        HWND name = ::GetDlgItem(saveAs, kFileNameEdit);
        if (!name) name = ::GetDlgItem(saveAs, kFileNameCombo);
        ASSERT_NE(name, nullptr);
        ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(other.c_str()));
        PressButton(saveAs, IDOK);
        DWORD exitCode = 99;
        ASSERT_TRUE(program_.WaitForExit(kTimeoutMs, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    testing_support::TempDir dir_;
    std::string folder_;
    std::string exe_;
    RunningProgram program_;
};

TEST_F(CollectionSafety, AFileHeldForAMomentAtStartIsReadWhole) {
    WriteBytes(File("setting.xml"), kQuietSettings);
    const std::string original = Collection(200);
    WriteBytes(File("bookmark.xml"), original);
    HeldFile held(File("bookmark.xml"));
    ASSERT_TRUE(held.Held());
    ASSERT_TRUE(program_.Start(exe_, ""));
    // Within the program's retries (2 s from its first try).
    ::Sleep(1500);
    // A window still being created (not yet shown) is one whose load waits.
    HWND early = program_.FindMainWindow();
    const bool shownBeforeRelease = early && ::IsWindowVisible(early);
    held.Release();
    HWND window = program_.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    std::printf("main window before the file was let go: %s\n",
                !early ? "not yet made" : shownBeforeRelease ? "shown" : "being made (the load waits)");
    EXPECT_TRUE(WaitUntil([&] { return TreeView_GetCount(CategoryTreeOf(window)) == 200; }))
        << TreeView_GetCount(CategoryTreeOf(window));
    EXPECT_TRUE(UnreadableCopies(folder_).empty());
    DismissBrowserHint();
    EXPECT_EQ(DialogOf(program_.Pid(), IsNotBrowserHint), nullptr);
    ASSERT_TRUE(program_.Close());
    EXPECT_EQ(ReadBytes(File("bookmark.xml")), original);
}

TEST_F(CollectionSafety, AFileHeldLongerIsKeptAndTheCopyOutlivesTheNextSave) {
    const std::string original = Collection(20);
    WriteBytes(File("bookmark.xml"), original);
    HeldFile held(File("bookmark.xml"));
    ASSERT_TRUE(held.Held());
    ASSERT_TRUE(program_.Start(exe_, ""));
    // The copy cannot be made yet: the message names none, says what holds
    // the file, and gives the reason in the user's language.
    HWND box = WaitForDialogOf(program_.Pid(), [](HWND d) { return HasText(d, "无法读取书签文件"); });
    ASSERT_NE(box, nullptr);
    const std::string text = StaticTexts(box);
    std::printf("message: %s\n", text.c_str());
    EXPECT_EQ(text.find("unreadable-"), std::string::npos) << "names a copy that does not exist yet";
    EXPECT_TRUE(UnreadableCopies(folder_).empty());
    EXPECT_NE(text.find("其他程序"), std::string::npos) << text;
    EXPECT_NE(text.find(File("bookmark.xml")), std::string::npos) << text;
    EXPECT_NE(text.find(SystemTextWithoutStop(ERROR_SHARING_VIOLATION)), std::string::npos) << text;
    for (const char* english : {"Permission denied", "denied", "violation"})
        EXPECT_EQ(text.find(english), std::string::npos) << text;
    held.Release();  // let go only now: the copy is made before the first save
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    HWND window = WaitForShownWindow();
    DismissBrowserHint();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(AddCategory(program_.Pid(), window, "After the lock"));
    ASSERT_TRUE(WaitForFileHolding(File("bookmark.xml"), "After the lock"));
    const auto copies = UnreadableCopies(folder_);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadBytes(copies[0]), original);
    ASSERT_TRUE(program_.Close());
}

// What a process that ended in the middle of a write left is gone after the
// next start; the user's files beside it are not touched.
TEST_F(CollectionSafety, TheLeftoversOfAnInterruptedWriteAreRemovedAtStart) {
    WriteBytes(File("setting.xml"), kQuietSettings);
    const std::string original = Collection(3);
    WriteBytes(File("bookmark.xml"), original);
    ASSERT_TRUE(::CreateDirectoryA(File("Backup").c_str(), nullptr));
    const char* leftovers[] = {"bookmark.xml.tmp", "setting.xml.tmp", "bookmark.xml.unreadable-20261208-110000.tmp",
                               "Backup\\bookmark-2026-12-08.xml.tmp"};
    const char* kept[] = {"bookmark.xml.unreadable-20261208-110000", "notes.tmp", "Backup\\bookmark-2026-12-07.xml"};
    for (const char* name : leftovers) WriteBytes(File(name), original.substr(0, 100));
    for (const char* name : kept) WriteBytes(File(name), "mine");
    HWND window = StartAndWait();
    ASSERT_NE(window, nullptr);
    for (const char* name : leftovers) EXPECT_FALSE(std::filesystem::exists(File(name))) << name;
    for (const char* name : kept) EXPECT_EQ(ReadBytes(File(name)), "mine") << name;
    ASSERT_TRUE(program_.Close());
    EXPECT_EQ(ReadBytes(File("bookmark.xml")), original);
}

struct Damage {
    const char* name;
    std::string bytes;
    const char* reason;  // part of the engine's message in the box
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

class DamagedFile : public CollectionSafety, public testing::WithParamInterface<Damage> {};

TEST_P(DamagedFile, IsKeptReportedAndNeverReplaced) {
    const Damage& damage = GetParam();
    WriteBytes(File("bookmark.xml"), damage.bytes);  // no settings: the first-run questions are on
    ASSERT_TRUE(program_.Start(exe_, ""));
    ExpectUnreadableMessage(damage.reason);
    HWND window = WaitForShownWindow();
    ASSERT_NE(window, nullptr);
    const auto copies = UnreadableCopies(folder_);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadBytes(copies[0]), damage.bytes);

    ASSERT_TRUE(AddCategory(program_.Pid(), window, "Fresh start"));
    ASSERT_TRUE(WaitForFileHolding(File("bookmark.xml"), "Fresh start"));
    ASSERT_TRUE(program_.Close());
    EXPECT_EQ(ReadBytes(copies[0]), damage.bytes);
    EXPECT_EQ(UnreadableCopies(folder_).size(), 1u);
}

const std::string kWhole = Collection(5);

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedFile,
    testing::Values(Damage{"truncated", kWhole.substr(0, kWhole.size() - 20), "Root element has sibling"},
                    Damage{"garbage", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR<<", 18), "18 bytes"},
                    Damage{"one stray byte", kWhole.substr(0, 46) + "<" + kWhole.substr(46), "offset 46"}));

TEST_F(CollectionSafety, AReadOnlyFileIsReportedNeverGetsATemporaryFileAndClosingSavesElsewhere) {
    WriteBytes(File("setting.xml"), kQuietSettings);
    const std::string original = Collection(30);
    WriteBytes(File("bookmark.xml"), original);
    ASSERT_TRUE(::SetFileAttributesA(File("bookmark.xml").c_str(), FILE_ATTRIBUTE_READONLY));
    HWND window = StartAndWait();
    ASSERT_NE(window, nullptr);
    const std::string idle = StatusText(window);

    bool temporarySeen = false;
    ASSERT_TRUE(AddCategory(program_.Pid(), window, "Not yet saved"));
    // Two save periods, watching for the temporary file all along.
    ASSERT_TRUE(WaitUntil([&] {
        temporarySeen = temporarySeen || std::filesystem::exists(File("bookmark.xml.tmp"));
        return StatusText(window) != idle;
    }));
    const ULONGLONG until = ::GetTickCount64() + 6000;
    while (::GetTickCount64() < until) {
        temporarySeen = temporarySeen || std::filesystem::exists(File("bookmark.xml.tmp"));
        ::Sleep(5);
    }
    EXPECT_FALSE(temporarySeen);
    std::printf("status bar: %s\n", StatusText(window).c_str());

    // Writable again: the automatic save goes through and the bar is idle.
    ASSERT_TRUE(::SetFileAttributesA(File("bookmark.xml").c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(WaitForFileHolding(File("bookmark.xml"), "Not yet saved"));
    EXPECT_TRUE(WaitUntil([&] { return StatusText(window) == idle; })) << StatusText(window);

    const std::string saved = ReadBytes(File("bookmark.xml"));
    ASSERT_TRUE(::SetFileAttributesA(File("bookmark.xml").c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectSaveFailureShown(window, "Only elsewhere");
    const std::string other = dir_.File("elsewhere.xml");
    CloseSavingElsewhere(window, other);
    const std::string written = ReadBytes(other);
    EXPECT_NE(written.find("Only elsewhere"), std::string::npos);
    EXPECT_NE(written.find("Bookmark 29.19"), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 9), "</root>\r\n");
    EXPECT_EQ(ReadBytes(File("bookmark.xml")), saved);
    ::SetFileAttributesA(File("bookmark.xml").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The folders a tmpfs gives (scripts/fault_folders.sh), or none.
std::string FaultFolders() {
    const char* base = std::getenv("QUORVA_FAULT_FOLDERS");
    if (!base || !std::filesystem::exists(WindowsPath(base) + "\\ready")) return {};
    return WindowsPath(base);
}

TEST_F(CollectionSafety, AReadOnlyFolderIsReportedAndClosingSavesElsewhere) {
    const std::string faults = FaultFolders();
    if (faults.empty()) GTEST_SKIP() << "no read-only mount (scripts/fault_folders.sh needs root)";
    UseFolder(faults + "\\readonly", false);
    const std::string original = ReadBytes(File("bookmark.xml"));
    HWND window = StartAndWait();
    ASSERT_NE(window, nullptr);
    ExpectSaveFailureShown(window, "Read-only folder");
    const std::string other = dir_.File("from-readonly.xml");
    CloseSavingElsewhere(window, other);
    const std::string written = ReadBytes(other);
    EXPECT_NE(written.find("Read-only folder"), std::string::npos);
    EXPECT_NE(written.find("Bookmark 49.19"), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 9), "</root>\r\n");
    EXPECT_EQ(ReadBytes(File("bookmark.xml")), original);
}

TEST_F(CollectionSafety, AFullDiskIsReportedKeepsTheOldFileAndClosingSavesElsewhere) {
    const std::string faults = FaultFolders();
    if (faults.empty()) GTEST_SKIP() << "no tmpfs (scripts/fault_folders.sh needs root)";
    UseFolder(faults + "\\full", true);
    WriteBytes(File("setting.xml"), kQuietSettings);
    const std::string original = Collection(300);  // about 1.3 MB: more than the disk has left
    WriteBytes(File("bookmark.xml"), original);
    // Fill what is left of the disk.
    {
        HANDLE filler = ::CreateFileA(File("filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(filler, INVALID_HANDLE_VALUE);
        const std::string block(64 * 1024, 'f');
        DWORD written = 0;
        while (::WriteFile(filler, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
               written == block.size()) {
        }
        const std::string little(4096, 'f');
        while (::WriteFile(filler, little.data(), static_cast<DWORD>(little.size()), &written, nullptr) &&
               written == little.size()) {
        }
        // Two pages given back: the save's first block fits only in part,
        // a write that sets no error code.
        LARGE_INTEGER back{};
        back.QuadPart = -8192;
        ASSERT_TRUE(::SetFilePointerEx(filler, back, nullptr, FILE_END));
        ASSERT_TRUE(::SetEndOfFile(filler));
        ::CloseHandle(filler);
    }
    HWND window = StartAndWait();
    ASSERT_NE(window, nullptr);
    // The system's own words for a full disk, in the user's language.
    const std::string diskFull = SystemTextWithoutStop(ERROR_DISK_FULL);
    ASSERT_FALSE(diskFull.empty());
    ExpectSaveFailureShown(window, "Disk full", diskFull);
    EXPECT_EQ(StatusText(window).find(SystemTextWithoutStop(ERROR_SUCCESS)), std::string::npos)
        << "a short write is no success";
    EXPECT_EQ(ReadBytes(File("bookmark.xml")), original);
    const std::string other = dir_.File("from-full-disk.xml");
    CloseSavingElsewhere(window, other, diskFull);
    const std::string written = ReadBytes(other);
    EXPECT_NE(written.find("Disk full"), std::string::npos);
    EXPECT_NE(written.find("Bookmark 299.19"), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 9), "</root>\r\n");
    EXPECT_EQ(ReadBytes(File("bookmark.xml")), original);
    EXPECT_FALSE(std::filesystem::exists(File("bookmark.xml.tmp")));
    for (const char* name : {"filler", "bookmark.xml", "setting.xml"}) ::DeleteFileA(File(name).c_str());
}

}  // namespace
}  // namespace program_test
