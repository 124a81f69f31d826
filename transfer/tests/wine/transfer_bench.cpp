// The transfer jobs under Wine, timed by hand (not a test: the figures
// depend on the machine):
//   transfer_bench.exe WORKLOAD.xml [shortcuts] [export-categories]
// 1. the workload imported to the top level of an empty collection shown in
//    the category tree, then imported again answering "全部"; the thread
//    runs a 10 ms timer as the wizard's window would, and its longest gap
//    between two ticks is printed;
// 2. a folder of `shortcuts` shortcut files imported, against the floor:
//    the shortcut object reading each file alone;
// 3. the first `export-categories` categories without sub-categories
//    exported, against the floor: the object writing each shortcut alone (no
//    checks, no replacement).
#include "class_tree_test_support.h"
#include "framework/private_messages.h"
#include "setting.h"
#include "shortcut_file.h"
#include "transfer_job.h"
#include "win32_file_system.h"
#include "window_transfer_host.h"

#include <objbase.h>
#include <intshcut.h>
#include <isguids.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Runs the thread's messages with a 10 ms timer until the job ends, as a
// modal wizard would; returns the longest gap between two ticks in ms.
double RunLikeTheWizard(transfer::CTransferJob& job) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, nullptr);
    Clock::time_point last = Clock::now();
    double longest = 0;
    while (job.IsRunning()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER) {
                const auto now = Clock::now();
                longest = std::max(longest, Ms(now - last));
                last = now;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    ::KillTimer(nullptr, timer);
    job.Join();
    return longest;
}

void WriteText(const std::wstring& path, const std::string& text) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

bool SaveBare(const std::string& url, const std::wstring& file) {
    IUniformResourceLocatorA* locator = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER, IID_IUniformResourceLocatorA,
                                  reinterpret_cast<void**>(&locator))))
        return false;
    IPersistFile* persist = nullptr;
    bool ok = SUCCEEDED(locator->SetURL(url.c_str(), IURL_SETURL_FL_GUESS_PROTOCOL)) &&
              SUCCEEDED(locator->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
              SUCCEEDED(persist->Save(file.c_str(), TRUE));
    if (persist) persist->Release();
    locator->Release();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: transfer_bench WORKLOAD.xml [shortcuts] [export-categories]\n");
        return 2;
    }
    const std::string workload = argv[1];
    const int shortcuts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20000;
    const int exportCategories = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1000;
    ::CoInitialize(nullptr);
    CSetting* settings = CSetting::Instance();
    settings->Other_InDefaultBookmark = 0;
    settings->Other_InIEBookmark = 0;
    testing_support::TempDir dir;
    const std::wstring root = dir.Path().wstring();

    classtree_test::FakeFrame frame;
    classtree::CClassTreeView view(frame.Hwnd(), dir.File("bookmark.xml"));
    RECT client{};
    ::GetClientRect(frame.Hwnd(), &client);
    if (!view.CreateView(frame.Hwnd(), client)) return 1;
    CBookmarkStore& store = CBookmarkStore::Instance();
    transfer::CWin32FileSystem fs;
    transfer::CWindowTransferHost host(
        frame.Hwnd(), [&] { return view.SelectedClass(); },
        [&](ClassRecord* c) { ::SendMessageA(frame.Hwnd(), framework::UWM_CLASS_CHANGED, reinterpret_cast<WPARAM>(c), 1); },
        [](HWND, const std::string&, const std::string&, const std::string&) { return 1001; });

    // 1. The workload into the tree, twice.
    for (int round = 0; round < 2; ++round) {
        transfer::CTransferJob job(store, fs, host);
        const auto start = Clock::now();
        job.StartImportXml(workload, nullptr);
        const double gap = RunLikeTheWizard(job);
        const auto counts = job.Counts();
        std::printf("%-34s %8.0f ms  longest timer gap %5.1f ms  (%zu added, %zu replaced)\n",
                    round == 0 ? "xml import into the tree" : "xml import again, answering All", Ms(Clock::now() - start),
                    gap, counts.added, counts.replaced);
    }

    // 2. A folder of shortcuts.
    const std::wstring fav = root + L"\\fav";
    ::CreateDirectoryW(fav.c_str(), nullptr);
    std::vector<std::wstring> files;
    for (int i = 0; i < shortcuts; ++i) {
        files.push_back(fav + L"\\s" + std::to_wstring(i) + L".url");
        WriteText(files.back(), "[InternetShortcut]\r\nURL=http://example.com/" + std::to_string(i) + "\r\n");
    }
    auto start = Clock::now();
    std::size_t read = 0;
    for (const std::wstring& file : files) read += transfer::ReadShortcutUrl(file).empty() ? 0 : 1;
    const double readFloor = Ms(Clock::now() - start);
    double importMs = 0;
    {
        transfer::CTransferJob job(store, fs, host);
        start = Clock::now();
        job.StartImportFolder(transfer::AnsiFromWide(fav), nullptr);
        const double gap = RunLikeTheWizard(job);
        importMs = Ms(Clock::now() - start);
        std::printf("%-34s %8.0f ms  floor %8.0f ms = %.2fx  longest timer gap %5.1f ms  (%zu added, %zu read alone)\n",
                    "folder of shortcuts", importMs, readFloor, importMs / readFloor, gap, job.Counts().added, read);
    }

    // 3. Export of the first categories without sub-categories (so that the
    // floor writes exactly what the job writes).
    ClassRecord* const treeRoot = store.Root();
    std::vector<ClassRecord*> chosen;
    for (ClassRecord* c = treeRoot->FirstChild(); c && static_cast<int>(chosen.size()) < exportCategories;
         c = NextInPreOrder(c, treeRoot)) {
        if (!c->HasChildren() && !c->bookmarks.empty() && c->name != transfer::CTransferJob::kFavoritesCategory)
            chosen.push_back(c);
    }
    const std::wstring floorDir = root + L"\\floor";
    ::CreateDirectoryW(floorDir.c_str(), nullptr);
    start = Clock::now();
    std::size_t written = 0;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::wstring folder = floorDir + L"\\" + std::to_wstring(i);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        std::size_t j = 0;
        for (const BookmarkRecord* b : chosen[i]->bookmarks) {
            written += SaveBare(b->url, folder + L"\\" + std::to_wstring(j++) + L".url") ? 1 : 0;
        }
    }
    const double writeFloor = Ms(Clock::now() - start);
    double exportMs = 0;
    std::size_t exported = 0;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        transfer::CTransferJob job(store, fs, host);
        const auto begin = Clock::now();
        job.StartExportFolder(chosen[i], transfer::AnsiFromWide(root + L"\\out"));
        RunLikeTheWizard(job);
        exportMs += Ms(Clock::now() - begin);
        exported += job.Counts().added;
    }
    std::printf("%-34s %8.0f ms  floor %8.0f ms = %.2fx  (%zu written, %zu by the floor)\n", "export", exportMs,
                writeFloor, exportMs / writeFloor, exported, written);
    CSetting::DestroyInstance();
    return 0;
}
