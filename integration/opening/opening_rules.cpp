#include "opening_rules.h"

#include "platform/codepage.h"

#include <algorithm>

namespace integration {

namespace {

constexpr std::string_view kPlaceholder = "%1";
constexpr std::string_view kQuotedPlaceholder = "\"%1\"";

// The byte offset of `what` in `text`, found only at character starts;
// npos when it is not there.
std::size_t FindByCharacters(std::string_view text, std::string_view what) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* p = begin; p < end; p = platform::NextChar(p, end)) {
        if (static_cast<std::size_t>(end - p) >= what.size() && std::string_view(p, what.size()) == what) {
            return static_cast<std::size_t>(p - begin);
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string BrowserCommandLine(std::string_view openCommand, std::string_view address) {
    std::size_t cut = FindByCharacters(openCommand, kQuotedPlaceholder);
    if (cut == std::string_view::npos) cut = FindByCharacters(openCommand, kPlaceholder);
    std::string line(openCommand.substr(0, cut == std::string_view::npos ? openCommand.size() : cut));
    line += " \"";
    for (char c : address) {
        if (c == '"') {
            line += "%22";
        } else {
            line += c;
        }
    }
    line += '"';
    return line;
}

std::size_t RandomOpenCount(std::int32_t setting) {
    return setting > 0 ? static_cast<std::size_t>(std::min(setting, kMaxRandomOpenCount)) : 0;
}

unsigned PauseAfterMs(std::size_t index) { return index == 0 ? 2000 : 1000; }

AddressList::AddressList(std::initializer_list<std::string_view> addresses) {
    for (std::string_view address : addresses) Add(address);
}

void AddressList::Reserve(std::size_t count, std::size_t bytes) {
    ends_.reserve(count);
    text_.reserve(bytes);
}

void AddressList::Add(std::string_view address) {
    text_.append(address);
    ends_.push_back(text_.size());
}

std::string_view AddressList::operator[](std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
}

void RunOpenerList(const AddressList& addresses, const std::atomic<bool>& stop, const OpenerActions& actions) {
    for (std::size_t i = 0; i < addresses.Size() && !stop.load(); ++i) {
        if (!addresses[i].empty()) actions.open(std::string(addresses[i]));
        actions.sleep(PauseAfterMs(i));
    }
}

}  // namespace integration
