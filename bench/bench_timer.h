// Timing and instruction-count helpers for the benchmark program.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include <valgrind/callgrind.h>

namespace bench {

// Runs `work` `runs` times (after `setup` each time, untimed) and returns the
// median wall time in milliseconds. Under callgrind only the work itself is
// counted (the collection is switched on around it).
inline double MedianMs(int runs, const std::function<void()>& setup, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup) setup();
        CALLGRIND_TOGGLE_COLLECT;
        auto start = std::chrono::steady_clock::now();
        work();
        auto stop = std::chrono::steady_clock::now();
        CALLGRIND_TOGGLE_COLLECT;
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline bool UnderValgrind() { return RUNNING_ON_VALGRIND != 0; }

}  // namespace bench
