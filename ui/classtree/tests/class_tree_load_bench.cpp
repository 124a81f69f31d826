// How long the view takes from its creation to its first paint over a large
// collection, run by hand (not a test: the figure depends on the machine):
//   classtree_load_bench.exe [categories] [runs]
// Two shapes are measured: top-level categories of 9 sub-categories each, and
// the same number of categories all at the top level. Each run builds a new
// view over the file; the median and the slowest run are printed.
#include "class_tree_test_support.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string FileText(int count, bool nested) {
    std::vector<std::string> lines;
    if (!nested) {
        for (int i = 0; i < count; ++i) lines.push_back("<G t=\"Category " + std::to_string(i) + "\"/>");
        return classtree_test::FileOf(lines);
    }
    for (int i = 0; i < count / 10; ++i) {
        lines.push_back("<G t=\"Category " + std::to_string(i) + "\">");
        for (int j = 0; j < 9; ++j) lines.push_back("<G t=\"Sub " + std::to_string(j) + "\"/>");
        lines.push_back("</G>");
    }
    return classtree_test::FileOf(lines);
}

// One view from creation to its first paint; the time in ms, -1 on failure.
double OneRun(const std::string& file, unsigned& items) {
    classtree_test::FakeFrame frame;
    const auto start = Clock::now();
    classtree::CClassTreeView view(frame.Hwnd(), file);
    RECT client{};
    ::GetClientRect(frame.Hwnd(), &client);
    if (!view.CreateView(frame.Hwnd(), client)) return -1;
    ::UpdateWindow(frame.Hwnd());
    const double ms = Ms(Clock::now() - start);
    items = static_cast<unsigned>(TreeView_GetCount(view.Tree()));
    return ms;
}

bool Measure(const char* shape, const std::string& file, int runs) {
    std::vector<double> times;
    unsigned items = 0;
    for (int i = 0; i < runs; ++i) {
        const double ms = OneRun(file, items);
        if (ms < 0) return false;
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-28s %6u items in the control, creation to first paint: median %.1f ms, slowest %.1f ms\n",
                shape, items, times[times.size() / 2], times.back());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(10, std::atoi(argv[1])) : 10000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    testing_support::TempDir dir;
    const std::string nested = dir.File("nested.xml");
    const std::string flat = dir.File("flat.xml");
    testing_support::WriteBytes(nested, FileText(count, true));
    testing_support::WriteBytes(flat, FileText(count, false));
    std::printf("%d categories, %d runs each\n", count, runs);
    if (!Measure("top level + 9 sub-categories", nested, runs)) return 1;
    if (!Measure("all at the top level", flat, runs)) return 1;
    return 0;
}
