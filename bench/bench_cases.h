// The benchmark's cases: each prepares its data untimed and hands back the
// work to time.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Options {
    std::string folder;
    std::string only;
    int runs = 7;
};

struct Prepared {
    bool ok = true;
    std::string error;
    std::function<void()> setup;  // untimed, before every run
    std::function<void()> work;   // timed
    std::function<std::string()> check;  // after the runs: a short note, e.g. sizes
};

struct Case {
    const char* name;
    const char* reference;  // case to print the ratio against, or null
    std::function<Prepared(const Options&)> prepare;
};

const std::vector<Case>& AllCases();

// Groups of cases, one file each.
void AddFloorCases(std::vector<Case>& cases);
void AddXmlCases(std::vector<Case>& cases);
void AddStoreCases(std::vector<Case>& cases);
void AddTransferCases(std::vector<Case>& cases);
void AddSearchCases(std::vector<Case>& cases);

std::string FileIn(const Options& options, const char* name);

}  // namespace bench
