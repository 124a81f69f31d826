// Imports and exports under Wine with everything real: folders of shortcut
// files on disk (names outside the code page, a long path, a huge file, a
// folder named like a shortcut, an empty one), the system's shortcut object,
// the category tree view in a stand-in main window, and the replace question
// answered from another thread, found by its owner.
#include "class_tree_test_support.h"
#include "framework/private_messages.h"
#include "question_answerer.h"
#include "replace_dlg.h"
#include "shortcut_file.h"
#include "transfer_job.h"
#include "win32_file_system.h"
#include "window_transfer_host.h"

#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

using classtree_test::Outline;
using transfer::CTransferJob;
using transfer_test::QuestionAnswerer;

void WriteFileW(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(transfer::LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

void MakeFolderW(const std::wstring& path) { ::CreateDirectoryW(transfer::LongPath(path).c_str(), nullptr); }

std::string Handwritten(const std::string& url) { return "[InternetShortcut]\r\nURL=" + url + "\r\n"; }

class TransferWineTest : public classtree_test::ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        ::CoInitialize(nullptr);
        root = dir->Path().wstring();
    }
    void TearDown() override {
        host.reset();
        ViewFixture::TearDown();
        ::CoUninitialize();
    }
    void MakeHost() {
        host = std::make_unique<transfer::CWindowTransferHost>(
            frame->Hwnd(), [this] { return view->SelectedClass(); },
            [this](ClassRecord* category) {
                ::SendMessageA(frame->Hwnd(), framework::UWM_CLASS_CHANGED, reinterpret_cast<WPARAM>(category), 1);
            },
            dialogs::AskReplaceQuestion);
    }
    std::unique_ptr<CTransferJob> Run(int kind, const std::string& path, ClassRecord* target) {
        if (!host) MakeHost();
        auto job = std::make_unique<CTransferJob>(Store(), fs, *host);
        bool started = kind == CTransferJob::kImportFolder   ? job->StartImportFolder(path, target)
                       : kind == CTransferJob::kExportFolder ? job->StartExportFolder(target, path)
                                                             : job->StartImportXml(path, target);
        EXPECT_TRUE(started);
        job->Join();
        return job;
    }
    std::string Ansi(const std::wstring& path) const { return transfer::AnsiFromWide(path); }

    std::wstring root;
    transfer::CWin32FileSystem fs;
    std::unique_ptr<transfer::CWindowTransferHost> host;
};

// Symbolic links made on the Linux side look like ordinary folders to the
// program; the walk still ends, and takes the shortcut once.
TEST_F(TransferWineTest, ALinuxSymbolicLinkLoopEndsAndImportsEachShortcutOnce) {
    const char* loop = std::getenv("QUORVA_LOOP_FOLDER");
    if (!loop) GTEST_SKIP() << "made by the test's CTest fixture";
    std::string folder = loop;
    std::replace(folder.begin(), folder.end(), '/', '\\');
    Open(classtree_test::SampleFile());
    MakeHost();
    auto job = Run(CTransferJob::kImportFolder, folder, nullptr);
    ClassRecord* ie = Store().FindChildClass(Store().Root(), CTransferJob::kFavoritesCategory, nullptr);
    ASSERT_NE(ie, nullptr);
    std::size_t imported = 0;
    for (const ClassRecord* c = ie; c; c = NextInPreOrder(c, ie)) imported += c->bookmarks.size();
    EXPECT_EQ(imported, 1u);
    EXPECT_EQ(job->Counts().added, 1u);
    EXPECT_GE(job->Counts().skipped, 2u) << "both links lead back to a folder on the way down";
    EXPECT_TRUE(Mirrors());
}

TEST_F(TransferWineTest, ARealFolderImportsIntoTheTreeWithHostileEntriesSkipped) {
    Open(classtree_test::SampleFile());
    const std::wstring fav = root + L"\\Fav";
    MakeFolderW(fav);
    WriteFileW(fav + L"\\Search.url", Handwritten("http://search.example/"));
    WriteFileW(fav + L"\\readme.txt", "not a shortcut");
    WriteFileW(fav + L"\\empty.url", "");
    WriteFileW(fav + L"\\x.url", Handwritten("http://huge.example/") + std::string(2 << 20, ' '));
    MakeFolderW(fav + L"\\y.url");
    MakeFolderW(fav + L"\\News");
    ASSERT_TRUE(transfer::WriteShortcut("http://daily.example/", fav + L"\\News\\Daily.url"));
    WriteFileW(fav + L"\\News\\\u0e44\u0e17\u0e22.url", Handwritten("http://thai.example/"));
    std::wstring deep = fav + L"\\" + std::wstring(120, L'a');
    MakeFolderW(deep);
    deep += L"\\" + std::wstring(120, L'b');
    MakeFolderW(deep);
    WriteFileW(deep + L"\\deep.url", Handwritten("http://deep.example/"));
    ASSERT_GT(deep.size() + 10, 260u);

    MakeHost();
    auto job = Run(CTransferJob::kImportFolder, Ansi(fav), nullptr);
    EXPECT_EQ(job->Total(), 7u) << "every file counts";
    EXPECT_EQ(job->Percent(), 100);
    ClassRecord* ie = Store().FindChildClass(Store().Root(), CTransferJob::kFavoritesCategory, nullptr);
    ASSERT_NE(ie, nullptr);
    std::vector<std::string> titles;
    for (const ClassRecord* c = ie; c; c = NextInPreOrder(c, ie)) {
        for (const BookmarkRecord* b : c->bookmarks) titles.push_back(c->name + "/" + b->title + "=" + b->url);
    }
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"IE收藏夹/Search=http://search.example/",
                                                "News/Daily=http://daily.example/", "News/？？？=http://thai.example/"}));
    // The shortcut object cuts paths of MAX_PATH units or more: the file past
    // that length is counted but never opened under a cut name.
    ClassRecord* longA = Store().FindChildClass(ie, std::string(120, 'a'), nullptr);
    ASSERT_NE(longA, nullptr);
    ASSERT_NE(longA->FirstChild(), nullptr);
    EXPECT_TRUE(longA->FirstChild()->bookmarks.empty());
    EXPECT_EQ(job->Counts().skipped, 4u) << "readme.txt, empty.url, x.url (2 MB) and the long path";
    EXPECT_NE(Store().FindChildClass(ie, "y.url", nullptr), nullptr);
    EXPECT_TRUE(Mirrors());
    const auto outline = Outline(Store().Root());
    EXPECT_NE(std::find(outline.begin(), outline.end(), "0:IE收藏夹"), outline.end());
}

TEST_F(TransferWineTest, ExportReadsBackRepeatsQuietlyAndAsksOnceForAChangedUrl) {
    Open(classtree_test::SampleFile());
    MakeHost();
    const std::string out = Ansi(root + L"\\out\\sub");
    auto first = Run(CTransferJob::kExportFolder, out, nullptr);
    EXPECT_GT(first->Counts().added, 0u);
    EXPECT_EQ(first->Counts().failed, 0u);
    const ClassRecord* r = Store().Root();
    for (const ClassRecord* c = r->FirstChild(); c; c = NextInPreOrder(c, r)) {
        std::string folder = out;
        for (const ClassRecord* p = c; p != r; p = p->Parent()) folder.insert(out.size(), "\\" + p->name);
        for (const BookmarkRecord* b : c->bookmarks) {
            EXPECT_EQ(transfer::ReadShortcutUrl(folder + "\\" + b->title + ".url"), b->url) << folder;
        }
    }
    {
        QuestionAnswerer answerer(frame->Hwnd(), {});
        auto again = Run(CTransferJob::kExportFolder, out, nullptr);
        EXPECT_EQ(again->Counts().added + again->Counts().replaced, 0u);
        EXPECT_TRUE(answerer.names.empty());
    }
    ClassRecord* news = Find("News");
    ASSERT_FALSE(news->bookmarks.empty());
    const std::string file = out + "\\News\\" + news->bookmarks[0]->title + ".url";
    news->bookmarks[0]->url = "http://changed.example/";
    {
        QuestionAnswerer answerer(frame->Hwnd(), {1});  // Enter: keep
        Run(CTransferJob::kExportFolder, out, nullptr);
        EXPECT_EQ(answerer.names, std::vector<std::string>{news->bookmarks[0]->title});
    }
    EXPECT_NE(transfer::ReadShortcutUrl(file), "http://changed.example/");
    {
        QuestionAnswerer answerer(frame->Hwnd(), {1006});
        Run(CTransferJob::kExportFolder, out, nullptr);
        EXPECT_EQ(answerer.names.size(), 1u);
    }
    EXPECT_EQ(transfer::ReadShortcutUrl(file), "http://changed.example/");
    EXPECT_FALSE(fs.KindOf(transfer::Utf8FromWide(transfer::WideFromAnsi(file + ".quorva-new"))) ==
                 transfer::PathKind::kFile) << "no temporary file is left";
}

// Names and addresses outside the code page, as Windows writes them: the
// folder's name shows stand-ins, the address comes whole from the Unicode
// section, percent-encoded; a plain shortcut reads as before.
TEST_F(TransferWineTest, ShortcutsOutsideTheCodePageKeepTheirAddresses) {
    const std::wstring folder = root + L"\\Fav\\\xD55C\xAD6D";
    MakeFolderW(root + L"\\Fav");
    MakeFolderW(folder);
    WriteFileW(folder + L"\\\xC704\xD0A4.url",
               "[InternetShortcut]\r\nURL=https://ko.wikipedia.org/wiki/??\r\n"
               "[InternetShortcut.A]\r\nURL=https://ko.wikipedia.org/wiki/??\r\n"
               "[InternetShortcut.W]\r\nURL=https://ko.wikipedia.org/wiki/+xwTQpA-\r\n");
    WriteFileW(folder + L"\\plain.url", Handwritten("http://plain.example/"));
    Open(classtree_test::SampleFile());
    ClassRecord* news = Find("News");
    auto job = Run(CTransferJob::kImportFolder, Ansi(root + L"\\Fav"), news);
    EXPECT_EQ(job->Counts().failed, 0u);
    ClassRecord* korean = Store().FindChildClass(news, "？？", nullptr);
    ASSERT_NE(korean, nullptr);
    std::vector<std::string> links;
    for (const BookmarkRecord* b : korean->bookmarks) {
        links.push_back(std::string(b->title) + " " + std::string(b->url));
    }
    std::sort(links.begin(), links.end());
    EXPECT_EQ(links, (std::vector<std::string>{"plain http://plain.example/",
                                               "？？ https://ko.wikipedia.org/wiki/%EC%9C%84%ED%82%A4"}));
}

TEST_F(TransferWineTest, ShippedDefaultXmlImportsIntoTheSelectedCategoryAndRefreshesTheList) {
    Open(classtree_test::SampleFile());
    Select("Tools");
    MakeHost();
    Run(CTransferJob::kImportXml, QUORVA_DEFAULT_XML, Find("Tools"));
    ClassRecord* tools = Find("Tools");
    ASSERT_NE(Store().FindChildClass(tools, "搜索引擎", nullptr), nullptr);
    EXPECT_NE(Store().FindChildClass(Store().FindChildClass(tools, "常用工具", nullptr), "翻译", nullptr), nullptr);
    EXPECT_TRUE(Mirrors());
    // Again with a sub-category on display: one question, "全部" replaces
    // every URL, and the list is told to show the category anew.
    Select("Tools/搜索引擎");
    ClassRecord* search = Find("Tools/搜索引擎");
    frame->messages.clear();
    {
        QuestionAnswerer answerer(frame->Hwnd(), {1001});
        auto again = Run(CTransferJob::kImportXml, QUORVA_DEFAULT_XML, Find("Tools"));
        EXPECT_EQ(answerer.names.size(), 1u);
        EXPECT_EQ(again->Counts().added, 0u);
        EXPECT_GT(again->Counts().replaced, 0u);
    }
    bool refreshed = false;
    for (const auto& sent : frame->Of(framework::UWM_CLASS_CHANGED)) {
        refreshed |= sent.wParam == reinterpret_cast<WPARAM>(search) && sent.lParam == 1;
    }
    EXPECT_TRUE(refreshed);
    EXPECT_TRUE(Store().IsModified());
}

TEST_F(TransferWineTest, DestroyingARunningImportReturnsPromptly) {
    Open(classtree_test::SampleFile());
    const std::wstring many = root + L"\\many";
    MakeFolderW(many);
    for (int f = 0; f < 10; ++f) {
        MakeFolderW(many + L"\\f" + std::to_wstring(f));
        for (int i = 0; i < 50; ++i) {
            WriteFileW(many + L"\\f" + std::to_wstring(f) + L"\\s" + std::to_wstring(i) + L".url",
                       Handwritten("http://x/" + std::to_string(i)));
        }
    }
    MakeHost();
    const auto begin = std::chrono::steady_clock::now();
    {
        CTransferJob job(Store(), fs, *host);
        ASSERT_TRUE(job.StartImportFolder(Ansi(many), nullptr));
        ::Sleep(50);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(3));
    EXPECT_FALSE(CTransferJob::CollectionHeld());
    EXPECT_TRUE(Mirrors());
}

}  // namespace
