#include "ellipsis.h"

#include "platform/codepage.h"

#include <vector>

namespace dialogs {
namespace {

constexpr std::string_view kEllipsis = "...";

std::string_view TrimEnd(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The longest prefix ending at one of `cuts` (ascending) that fits with the
// ellipsis; empty when none does.
std::string LongestFitting(std::string_view text, const std::vector<std::size_t>& cuts, int width,
                           const MeasureText& measure) {
    std::string best;
    std::size_t low = 0, high = cuts.size();
    while (low < high) {  // widths grow with the cut, so search for the last that fits
        const std::size_t mid = (low + high) / 2;
        std::string candidate(TrimEnd(text.substr(0, cuts[mid])));
        candidate += kEllipsis;
        if (measure(candidate) <= width) {
            best = std::move(candidate);
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return best;
}

}  // namespace

std::string ShortenToWidth(std::string_view text, int width, const MeasureText& measure) {
    if (measure(text) <= width) return std::string(text);

    std::vector<std::size_t> words, chars;
    const char* begin = text.data();
    const char* end = begin + text.size();
    bool previousDouble = false;
    for (const char* p = begin; p < end;) {
        const char* next = platform::NextChar(p, end);
        const bool isDouble = next - p == 2;
        const std::size_t at = static_cast<std::size_t>(p - begin);
        if (at > 0) {
            chars.push_back(at);
            if (*p == ' ' || isDouble || previousDouble) words.push_back(at);
        }
        previousDouble = isDouble;
        p = next;
    }
    std::string shortened = LongestFitting(text, words, width, measure);
    if (shortened.empty() || shortened == kEllipsis) shortened = LongestFitting(text, chars, width, measure);
    return shortened.empty() ? std::string(kEllipsis) : shortened;
}

}  // namespace dialogs
