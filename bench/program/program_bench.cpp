// The program benchmark: quorva.exe started from outside under Wine, once
// with an empty collection and once with the workload, in the same run.
//
//   program_bench.exe WORKLOAD.xml [--saves N] [--baseline OTHER.exe]
//
// For each collection: the time from starting the process to its main
// window's first paint; the working set after start-up and its peak (the
// load); the longest time the window does not answer a message while a
// change is saved, probed every 10 ms from here (a category is moved, which
// the periodic save writes within one period; the workload only); and the
// time to close. The figures of interest are the workload's minus the empty
// collection's. With --baseline, another build of the program (an earlier
// commit's) runs the workload's last round too, right after this one's, for
// figures before and after a change taken in one run.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "classtree_res.h"
#include "program_runner.h"
#include "test_support/temp_dir.h"

namespace {

using program_test::RunningProgram;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// How long the window takes to answer one message; `limit` when it does not.
double AnswerMs(HWND window, UINT limitMs = 20000) {
    const double start = NowMs();
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, &result)) return limitMs;
    return NowMs() - start;
}

FILETIME WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return FILETIME{};
    return data.ftLastWriteTime;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Figures {
    bool ok = false;
    double startupMs = 0;
    double workingSetKb = 0;
    double peakKb = 0;
    std::vector<double> saveStallsMs;  // the longest stall of each save
    double closeMs = 0;
};

// The first window of class `className` anywhere below `parent` (the panes
// may sit inside other windows).
HWND FindDescendant(HWND parent, const char* className) {
    struct Search {
        const char* className;
        HWND found;
    } search{className, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            ::GetClassNameA(child, name, sizeof name);
            if (std::strcmp(name, s->className) != 0) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The category tree control inside the main window.
HWND TreeControl(HWND mainWindow, HWND* view) {
    *view = FindDescendant(mainWindow, "quorva_ClassTree");
    return *view ? ::FindWindowExA(*view, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
}

Figures Measure(const std::string& workload, int saves, const std::string& programExe = "") {
    Figures f;
    testing_support::TempDir dir;
    const std::string folder = program_test::WindowsPath(dir.Path().string()) + "\\";
    const std::string exe = folder + "quorva.exe";
    const std::string bookmarks = folder + "bookmark.xml";
    const std::string built = programExe.empty() ? program_test::BuiltProgram() : programExe;
    if (!::CopyFileA(built.c_str(), exe.c_str(), FALSE)) return f;
    if (!workload.empty() && !::CopyFileA(workload.c_str(), bookmarks.c_str(), FALSE)) return f;

    RunningProgram program;
    const double start = NowMs();
    if (!program.Start(exe, "")) return f;
    HWND window = nullptr;
    // The window is shown once the collection is loaded; the first paint is
    // the one UpdateWindow makes the window's thread carry out.
    for (;;) {
        window = program.FindMainWindow();
        if (window && ::IsWindowVisible(window)) break;
        if (!program.Running() || NowMs() - start > 60000) return f;
        ::Sleep(1);
    }
    AnswerMs(window);
    ::UpdateWindow(window);
    f.startupMs = NowMs() - start;

    ::Sleep(1000);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(program.Process(), &memory, sizeof memory)) {
        f.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024;
        f.peakKb = static_cast<double>(memory.PeakWorkingSetSize) / 1024;
    }

    HWND view = nullptr;
    HWND tree = TreeControl(window, &view);
    if (saves > 0 && !tree) std::printf("  the category tree was not found: no saves measured\n");
    for (int i = 0; i < saves && tree; ++i) {
        // Wait out the tick that may follow the previous save, then change
        // something: the first category moves down, or back up.
        ::Sleep(500);
        const auto first = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        const auto second = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(first)));
        const bool down = i % 2 == 0;
        ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(down ? first : second));
        const FILETIME before = WriteTime(bookmarks);
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(view, WM_COMMAND, down ? ID_CLASS_MOVEDOWN : ID_CLASS_MOVEUP, 0, SMTO_NORMAL,
                              20000, &result);
        double longest = 0;
        const double until = NowMs() + 12000;
        double savedAt = 0;
        while (NowMs() < until) {
            longest = std::max(longest, AnswerMs(window));
            if (!savedAt && !SameTime(WriteTime(bookmarks), before)) savedAt = NowMs();
            if (savedAt && NowMs() - savedAt > 300) break;
            ::Sleep(10);
        }
        if (!savedAt) {
            std::printf("  save %d: the file was not written\n", i + 1);
            continue;
        }
        f.saveStallsMs.push_back(longest);
    }

    const double closing = NowMs();
    if (!program.Close(60000)) return f;
    f.closeMs = NowMs() - closing;
    f.ok = true;
    return f;
}

void Print(const char* label, const Figures& f) {
    int over = 0;
    for (double s : f.saveStallsMs) over += s > 100 ? 1 : 0;
    std::printf("%-22s start-up %8.1f ms  working set %9.0f KB  peak %9.0f KB  close %8.1f ms\n", label,
                f.startupMs, f.workingSetKb, f.peakKb, f.closeMs);
    if (!f.saveStallsMs.empty()) {
        std::printf("%-22s longest stall per save: median %.1f ms, max %.1f ms, %d of %zu over 100 ms (",
                    "", Median(f.saveStallsMs), *std::max_element(f.saveStallsMs.begin(), f.saveStallsMs.end()),
                    over, f.saveStallsMs.size());
        for (std::size_t i = 0; i < f.saveStallsMs.size(); ++i)
            std::printf("%s%.0f", i ? " " : "", f.saveStallsMs[i]);
        std::printf(")\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WORKLOAD.xml [--saves N] [--rounds N] [--bookmarks N] [--baseline EXE]\n",
                     argv[0]);
        return 2;
    }
    const std::string workload = argv[1];
    int saves = 7;
    int rounds = 3;
    double bookmarks = 100000;
    std::string baseline;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--saves") == 0) saves = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--bookmarks") == 0) bookmarks = std::atof(argv[i + 1]);
        if (std::strcmp(argv[i], "--baseline") == 0) baseline = argv[i + 1];
    }
    // The first start of a session pays for Wine itself: not counted.
    Measure("", 0);
    // Empty and workload alternate, round by round; the saves are measured
    // in the last round only (an empty collection has nothing to save).
    // With a baseline, its start with the workload joins every round.
    std::vector<Figures> empty, full, before;
    for (int round = 0; round < rounds; ++round) {
        const bool last = round == rounds - 1;
        empty.push_back(Measure("", 0));
        full.push_back(Measure(workload, last ? saves : 0));
        Print("empty collection", empty.back());
        Print("workload", full.back());
        if (!empty.back().ok || !full.back().ok) {
            std::printf("could not measure\n");
            return 1;
        }
        if (!baseline.empty()) {
            before.push_back(Measure(workload, last ? saves : 0, baseline));
            if (!before.back().ok) std::printf("could not measure the baseline\n");
            Print("workload, baseline", before.back());
        }
    }
    auto median = [](const std::vector<Figures>& runs, double Figures::*field) {
        std::vector<double> values;
        for (const Figures& f : runs) values.push_back(f.*field);
        return Median(values);
    };
    const double setKb = median(full, &Figures::workingSetKb) - median(empty, &Figures::workingSetKb);
    const double peakKb = median(full, &Figures::peakKb) - median(empty, &Figures::peakKb);
    std::printf("workload minus empty (medians of %d rounds): start-up %.1f ms, close %.1f ms, "
                "working set %.0f bytes per bookmark, peak %.0f bytes per bookmark (%.2fx the working set "
                "after start-up)\n",
                rounds, median(full, &Figures::startupMs) - median(empty, &Figures::startupMs),
                median(full, &Figures::closeMs) - median(empty, &Figures::closeMs), setKb * 1024 / bookmarks,
                peakKb * 1024 / bookmarks, peakKb / std::max(1.0, setKb));
    if (!before.empty()) {
        std::printf("baseline minus empty (medians of %d rounds): start-up %.1f ms\n", rounds,
                    median(before, &Figures::startupMs) - median(empty, &Figures::startupMs));
    }
    return 0;
}
