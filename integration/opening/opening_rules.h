// The rules of opening bookmarks in the browser that need no system: the
// command line of the fallback browser start, how many bookmarks the random
// command opens, and the pace at which a list of addresses is opened.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>
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

// The random-open command opens this many bookmarks at most: a mistyped
// count must not send the whole collection to the browser.
inline constexpr std::int32_t kMaxRandomOpenCount = 100;

// How many bookmarks the random command opens for the setting's value: none
// for 0 or less (a negative count must never read as "all"), at most
// kMaxRandomOpenCount whatever the file says.
std::size_t RandomOpenCount(std::int32_t setting);

// The pause after the address at `index` of a list: 2000 ms after the first,
// 1000 ms after every later one, so that the browser is not flooded.
unsigned PauseAfterMs(std::size_t index);

// The addresses an opener goes through, packed into one block: a list of
// 100,000 costs a handful of allocations on the window's thread, not 100,000.
class AddressList {
public:
    AddressList() = default;
    AddressList(std::initializer_list<std::string_view> addresses);
    // Room for `count` addresses of `bytes` in all, so that adding them
    // allocates nothing more.
    void Reserve(std::size_t count, std::size_t bytes);
    void Add(std::string_view address);
    std::size_t Size() const { return ends_.size(); }
    bool Empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const;

private:
    std::string text_;
    std::vector<std::size_t> ends_;
};

// The address of every item of `items` (`addressOf(item)` gives it), in
// order, in a list sized in advance.
template <class Items, class AddressOf>
AddressList CollectAddresses(const Items& items, AddressOf addressOf) {
    std::size_t bytes = 0;
    for (const auto& item : items) bytes += std::string_view(addressOf(item)).size();
    AddressList list;
    list.Reserve(std::size(items), bytes);
    for (const auto& item : items) list.Add(addressOf(item));
    return list;
}

// What an opener does, replaceable by tests.
struct OpenerActions {
    std::function<void(const std::string& address)> open;
    std::function<void(unsigned ms)> sleep;
};

// Opens the non-empty addresses in order, each followed by its pause (empty
// ones are skipped but paused), and stops before the next address once
// `stop` is set.
void RunOpenerList(const AddressList& addresses, const std::atomic<bool>& stop, const OpenerActions& actions);

}  // namespace integration
