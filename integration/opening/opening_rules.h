// The rules of opening bookmarks in the browser that need no system: the
// command line of the fallback browser start, how many bookmarks the random
// command opens, and the pace at which a list of addresses is opened.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace integration {

// The command line that opens `address` with the program of a ".htm" open
// command: the command up to its "%1" placeholder (at the opening quote of a
// quoted "%1"; searched by characters, so a trail byte is never taken for
// one), a space and the address as one quoted argument. Addresses come from
// web pages: a double quote in one is written as %22, so that it can neither
// end the argument nor add one.
std::string BrowserCommandLine(std::string_view openCommand, std::string_view address);

// How many bookmarks the random command opens for the setting's value: none
// for 0 or less (a negative count must never read as "all").
std::size_t RandomOpenCount(std::int32_t setting);

// The pause after the address at `index` of a list: 2000 ms after the first,
// 1000 ms after every later one, so that the browser is not flooded.
unsigned PauseAfterMs(std::size_t index);

// What an opener does, replaceable by tests.
struct OpenerActions {
    std::function<void(const std::string& address)> open;
    std::function<void(unsigned ms)> sleep;
};

// Opens the non-empty addresses in order, each followed by its pause (empty
// ones are skipped but paused), and stops before the next address once
// `stop` is set.
void RunOpenerList(const std::vector<std::string>& addresses, const std::atomic<bool>& stop,
                   const OpenerActions& actions);

}  // namespace integration
