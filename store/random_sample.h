// Drawing distinct positions at random, for opening a number of bookmarks
// chosen by chance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

// `n` distinct numbers from 0 to total-1 in ascending order (every number
// when total <= n). Floyd's algorithm: exactly n draws, whatever n and total.
std::vector<std::size_t> SampleSortedIndices(std::size_t total, std::size_t n,
                                             std::mt19937_64& random);

// A generator seeded from the system's entropy source and the clock.
std::mt19937_64 MakeSeededGenerator();
