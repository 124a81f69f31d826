// How long the settings dialog takes from its creation to its first paint,
// with an empty homepage group and with one of 10,000 entries, and how long
// switching to each page and opening each editor hold the window's thread.
//
// usage: settings_bench [ROUNDS]   (scripts/bench.sh --settings)
#include "homepage_group.h"
#include "options_sheet.h"
#include "resource.h"
#include "setting.h"
#include "settings_dialog.h"
#include "settings_test_support.h"
#include "test_support/temp_dir.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Round {
    Clock::time_point start;
    double opening = -1;
    std::vector<double> pages;    // switching to pages 1, 2, 3
    std::vector<double> editors;  // opening the list (page 0) and the edit (page 3)
};

Round* g_round = nullptr;

// The time from a change to the end of the paints it causes.
template <typename Change>
double Timed(HWND sheet, Change change) {
    const Clock::time_point start = Clock::now();
    change();
    ::RedrawWindow(sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    settings_test::Pump();
    return Ms(Clock::now() - start);
}

// Selects the item whose caption starts with `prefix`, which opens its editor.
void OpenEditorOf(HWND sheet, const char* prefix) {
    HWND tree = settings_test::OptionTree(sheet);
    settings_test::Select(tree, settings_test::Find(tree, prefix).handle);
}

void Measure(HWND sheet) {
    Round& round = *g_round;
    round.opening = Ms(Clock::now() - round.start);
    HWND pages = ::GetDlgItem(sheet, IDC_OPTIONS_TREE);
    round.editors.push_back(Timed(sheet, [&] { OpenEditorOf(sheet, "检查新版本"); }));
    HTREEITEM item = TreeView_GetRoot(pages);
    for (int i = 1; i < 4; ++i) {
        item = TreeView_GetNextSibling(pages, item);
        round.pages.push_back(Timed(sheet, [&] { TreeView_SelectItem(pages, item); }));
    }
    round.editors.push_back(Timed(sheet, [&] { OpenEditorOf(sheet, "随机打开"); }));
    ::PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
}

// The owner: the dialog's loop tells it when the queue is empty for the
// first time, that is once everything is painted.
LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && g_round && g_round->opening < 0) {
        Measure(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Report(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("  %-44s median %7.2f ms  max %7.2f ms\n", what, values[values.size() / 2], values.back());
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    testing_support::TempDir dir;
    CSetting::Instance()->Load(dir.File("setting.xml"));
    CSetting::Instance()->Other_IEToolbarButton = 0;

    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "settings_bench_owner";
    ::RegisterClassA(&wc);
    HWND owner = ::CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                   nullptr, nullptr, wc.hInstance, nullptr);

    for (int entries : {0, 10000}) {
        CHomepageGroup group;
        for (int i = 0; i < entries; ++i) {
            group.Add("主页 " + std::to_string(i), "http://example.com/" + std::to_string(i));
        }
        std::vector<double> opening, pages[3], editors[2];
        for (int r = 0; r < rounds; ++r) {
            Round round;
            g_round = &round;
            round.start = Clock::now();
            settings::RunSettingsDialog(owner, &group);
            g_round = nullptr;
            settings_test::Pump();
            if (round.opening < 0 || round.pages.size() != 3 || round.editors.size() != 2) {
                std::fprintf(stderr, "round %d did not finish\n", r);
                return 1;
            }
            opening.push_back(round.opening);
            for (int i = 0; i < 3; ++i) pages[i].push_back(round.pages[static_cast<std::size_t>(i)]);
            for (int i = 0; i < 2; ++i) editors[i].push_back(round.editors[static_cast<std::size_t>(i)]);
        }
        std::printf("settings dialog, homepage group of %d entries, %d rounds:\n", entries, rounds);
        Report("creation to first paint (queue idle)", opening);
        Report("switch to page 1 (user interface)", pages[0]);
        Report("switch to page 2 (homepage group)", pages[1]);
        Report("switch to page 3 (miscellaneous)", pages[2]);
        Report("open the drop-down list (page 0)", editors[0]);
        Report("open the edit box (page 3)", editors[1]);
    }
    ::DestroyWindow(owner);
    return 0;
}
