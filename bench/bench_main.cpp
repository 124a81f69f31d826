// Load/save benchmark of the XML engine and the bookmark collection against
// pugixml and the physical floor (reading the file, copying its bytes).
//
//   quorva_bench FOLDER [--runs N] [--only CASE]
//   quorva_bench FOLDER --list
//
// FOLDER holds the workload files written by gen_bookmarks.py: bm.xml (the
// default 100,000 bookmarks), bm_half.xml (half of it) and nest.xml (10,000
// nested categories). Each case prints its median time. A case with a
// counterpart (pugixml, or the same work before a change) is run
// interleaved with it, round by round (A B A B ...), and prints the median
// of the per-round ratios: on a shared machine wall time drifts between
// runs taken seconds apart, while two runs next to each other see nearly the
// same load.
#include "bench_cases.h"
#include "bench_timer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

const bench::Case* FindCase(const char* name) {
    for (const bench::Case& c : bench::AllCases())
        if (std::strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

void PrintNote(const bench::Prepared& prepared) {
    if (!prepared.check) return;
    std::string note = prepared.check();
    if (!note.empty()) std::printf("   (%s)", note.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [--runs N] [--only CASE]\n", argv[0]);
        return 2;
    }
    bench::Options options;
    options.folder = argv[1];
    if (argc > 2 && std::strcmp(argv[2], "--list") == 0) {
        for (const bench::Case& c : bench::AllCases()) std::printf("%s\n", c.name);
        return 0;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) options.runs = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--only") == 0) options.only = argv[i + 1];
    }
    if (options.runs < 1) options.runs = 1;
    // Under callgrind each case runs once, alone: its count is the figure.
    const bool counting = bench::UnderValgrind();
    if (counting) options.runs = 1;

    std::map<std::string, double> medians;
    for (const bench::Case& c : bench::AllCases()) {
        if (!options.only.empty() && options.only != c.name) continue;
        bench::Prepared prepared = c.prepare(options);
        if (!prepared.ok) {
            std::printf("%-28s could not run: %s\n", c.name, prepared.error.c_str());
            return 1;
        }
        const bench::Case* reference = (c.reference && !counting) ? FindCase(c.reference) : nullptr;
        bench::Prepared against;
        if (reference) {
            against = reference->prepare(options);
            if (!against.ok) reference = nullptr;
        }
        std::vector<double> times, referenceTimes, ratios;
        for (int round = 0; round < options.runs; ++round) {
            // Alternate which goes first, so that neither always follows the other.
            double a = 0, b = 0;
            if (reference && round % 2) b = bench::TimeOnceMs(against.setup, against.work);
            a = bench::TimeOnceMs(prepared.setup, prepared.work);
            if (reference && !(round % 2)) b = bench::TimeOnceMs(against.setup, against.work);
            times.push_back(a);
            if (reference) {
                referenceTimes.push_back(b);
                if (b > 0) ratios.push_back(a / b);
            }
        }
        const double ms = bench::Median(times);
        medians[c.name] = ms;
        std::printf("%-28s %10.2f ms", c.name, ms);
        if (reference) {
            std::printf("   %5.2fx %s (%.2f ms; median of %zu interleaved rounds)", bench::Median(ratios),
                        c.reference, bench::Median(referenceTimes), ratios.size());
        }
        PrintNote(prepared);
        std::printf("\n");
        std::fflush(stdout);
    }
    // A file twice as large should cost about twice as much.
    const char* scaled[][2] = {{"xml.parse", "xml.parse.half"},
                               {"xml.build_append", "xml.build_append.half"},
                               {"store.load", "store.load.half"},
                               {"store.save", "store.save.half"}};
    for (auto& pair : scaled)
        if (medians.count(pair[0]) && medians.count(pair[1]) && medians[pair[1]] > 0)
            std::printf("scaling %-20s full/half = %.2f\n", pair[0], medians[pair[0]] / medians[pair[1]]);
    return 0;
}
