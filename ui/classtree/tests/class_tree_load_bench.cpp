// How long the view takes from its creation to its first paint over a
// collection of 10,000 categories (and a deep one), run by hand:
//   classtree_load_bench.exe [categories]
#include "class_tree_test_support.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    testing_support::TempDir dir;
    // Top-level categories of 9 sub-categories each.
    std::vector<std::string> lines;
    for (int i = 0; i < count / 10; ++i) {
        lines.push_back("<G t=\"Category " + std::to_string(i) + "\">");
        for (int j = 0; j < 9; ++j) lines.push_back("<G t=\"Sub " + std::to_string(j) + "\"/>");
        lines.push_back("</G>");
    }
    const std::string file = dir.File("bookmark.xml");
    testing_support::WriteBytes(file, classtree_test::FileOf(lines));

    classtree_test::FakeFrame frame;
    const auto start = std::chrono::steady_clock::now();
    classtree::CClassTreeView view(frame.Hwnd(), file);
    RECT client{};
    ::GetClientRect(frame.Hwnd(), &client);
    if (!view.CreateView(frame.Hwnd(), client)) return 1;
    const auto created = std::chrono::steady_clock::now();
    ::UpdateWindow(frame.Hwnd());
    ::RedrawWindow(view.Tree(), nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE | RDW_ERASE);
    const auto painted = std::chrono::steady_clock::now();
    const auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("%u categories: created in %.1f ms, first paint after %.1f ms\n",
                static_cast<unsigned>(TreeView_GetCount(view.Tree())), ms(created - start), ms(painted - start));
    return 0;
}
