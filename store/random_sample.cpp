#include "random_sample.h"

#include <algorithm>
#include <chrono>
#include <numeric>
#include <unordered_set>

std::vector<std::size_t> SampleSortedIndices(std::size_t total, std::size_t n,
                                             std::mt19937_64& random) {
    std::vector<std::size_t> picked;
    if (total <= n) {
        picked.resize(total);
        std::iota(picked.begin(), picked.end(), std::size_t{0});
        return picked;
    }
    std::unordered_set<std::size_t> chosen;
    chosen.reserve(n);
    picked.reserve(n);
    for (std::size_t j = total - n; j < total; ++j) {
        std::uniform_int_distribution<std::size_t> draw(0, j);
        const std::size_t t = draw(random);
        const std::size_t take = chosen.insert(t).second ? t : j;
        if (take == j) chosen.insert(j);
        picked.push_back(take);
    }
    std::sort(picked.begin(), picked.end());
    return picked;
}

std::mt19937_64 MakeSeededGenerator() {
    std::uint64_t seed = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        seed ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (...) {
        // No entropy source: the clock alone still varies from call to call.
    }
    return std::mt19937_64(seed);
}
