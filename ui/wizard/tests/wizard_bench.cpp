// The import of a large bookmark file through the wizard against the same
// job run bare, under Wine (not a test: the figures depend on the machine):
//   wizard_bench.exe WORKLOAD.xml direct|wizard
// Each run imports the workload into an empty collection shown in the
// category tree and prints the time from the start of the job (Next on
// page 2) to its end being shown (Finish enabled, or the bare job joined),
// and the longest gap between two ticks of a 10 ms timer on the window's
// thread meanwhile. scripts/bench.sh --wizard alternates the two.
#include "class_tree_test_support.h"
#include "dialog_test_driver.h"
#include "framework/private_messages.h"
#include "question_answerer.h"
#include "resource.h"
#include "setting.h"
#include "transfer_job.h"
#include "win32_file_system.h"
#include "window_transfer_host.h"

#include <objbase.h>
#include <prsht.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

Clock::time_point g_lastTick;
double g_longestGap = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    const auto now = Clock::now();
    g_longestGap = std::max(g_longestGap, Ms(now - g_lastTick));
    g_lastTick = now;
}

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wizard_bench WORKLOAD.xml direct|wizard\n");
        return 2;
    }
    const std::string workload = argv[1];
    const bool throughWizard = std::strcmp(argv[2], "wizard") == 0;
    ::CoInitialize(nullptr);
    CSetting* settings = CSetting::Instance();
    settings->Other_InDefaultBookmark = 0;
    settings->Other_InIEBookmark = 0;
    testing_support::TempDir dir;
    classtree_test::FakeFrame frame;
    classtree::CClassTreeView view(frame.Hwnd(), dir.File("bookmark.xml"));
    RECT client{};
    ::GetClientRect(frame.Hwnd(), &client);
    if (!view.CreateView(frame.Hwnd(), client)) return 1;

    Clock::time_point start;
    double elapsed = 0;
    std::size_t added = 0;
    if (throughWizard) {
        // The workload repeats titles: the first question is answered "全部",
        // as the bare job's host answers every one.
        std::unique_ptr<transfer_test::QuestionAnswerer> answerer;
        dialog_test::DialogScript script(std::chrono::minutes(10));
        script
            .On([](HWND s) { HWND p = CurrentPage(s); return p && ::GetDlgItem(p, IDC_WIZARD_TYPE); },
                [&](HWND s) {
                    ::SetDlgItemTextA(CurrentPage(s), IDC_WIZARD_PATH, workload.c_str());
                    ::PostMessageA(s, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
                })
            .On([](HWND s) { HWND p = CurrentPage(s); return p && ::GetDlgItem(p, IDC_WIZARD_BROWSE_CLASS); },
                [&](HWND s) {
                    answerer = std::make_unique<transfer_test::QuestionAnswerer>(s, std::vector<int>{1001});
                    start = g_lastTick = Clock::now();
                    ::SetTimer(nullptr, 0, 10, Tick);
                    ::PostMessageA(s, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
                })
            .On([](HWND s) {
                    HWND finish = ::GetDlgItem(s, 0x3025);
                    return CurrentPage(s) && finish && ::IsWindowVisible(finish) && ::IsWindowEnabled(finish);
                },
                [&](HWND s) {
                    elapsed = Ms(Clock::now() - start);
                    ::PostMessageA(s, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
                });
        ::SendMessageA(view.Hwnd(), WM_COMMAND, ID_FILE_IMPORT, 2);
        if (!script.AllStepsRan()) {
            std::fprintf(stderr, "%s\n", script.Failure().c_str());
            return 1;
        }
        added = CBookmarkStore::Instance().TotalBookmarks();
    } else {
        transfer::CWin32FileSystem fs;
        transfer::CWindowTransferHost host(
            frame.Hwnd(), [&] { return view.SelectedClass(); },
            [&](ClassRecord* c) {
                ::SendMessageA(frame.Hwnd(), framework::UWM_CLASS_CHANGED, reinterpret_cast<WPARAM>(c), 1);
            },
            [](HWND, const std::string&, const std::string&, const std::string&) { return 1001; });
        transfer::CTransferJob job(CBookmarkStore::Instance(), fs, host);
        start = g_lastTick = Clock::now();
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, Tick);
        job.StartImportXml(workload, nullptr);
        while (job.IsRunning()) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        job.Join();
        elapsed = Ms(Clock::now() - start);
        ::KillTimer(nullptr, timer);
        added = job.Counts().added;
    }
    std::printf("%-8s xml import %8.0f ms  longest timer gap %6.1f ms  (%zu bookmarks)\n",
                throughWizard ? "wizard" : "direct", elapsed, g_longestGap, added);
    CSetting::DestroyInstance();
    return 0;
}
