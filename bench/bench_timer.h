// Timing and instruction-count helpers for the benchmark program.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include <valgrind/callgrind.h>

namespace bench {

// One run of `work` (after `setup`, untimed), in milliseconds. Under
// callgrind only the work itself is counted (the collection is switched on
// around it).
inline double TimeOnceMs(const std::function<void()>& setup, const std::function<void()>& work) {
    if (setup) setup();
    CALLGRIND_TOGGLE_COLLECT;
    auto start = std::chrono::steady_clock::now();
    work();
    auto stop = std::chrono::steady_clock::now();
    CALLGRIND_TOGGLE_COLLECT;
    return std::chrono::duration<double, std::milli>(stop - start).count();
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline bool UnderValgrind() { return RUNNING_ON_VALGRIND != 0; }

}  // namespace bench
