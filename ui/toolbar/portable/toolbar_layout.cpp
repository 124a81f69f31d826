#include "toolbar_layout.h"

#include <limits>

namespace toolbar {

namespace {

constexpr std::int64_t kSaturated = std::numeric_limits<std::int64_t>::max() / 16;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The leading number of one piece, as the C library's string-to-integer
// conversion reads it, but held at a bound instead of overflowing.
std::int64_t PieceValue(std::string_view piece) {
    std::size_t at = 0;
    while (at < piece.size() && IsBlank(piece[at])) ++at;
    bool negative = false;
    if (at < piece.size() && (piece[at] == '+' || piece[at] == '-')) negative = piece[at++] == '-';
    std::int64_t value = 0;
    for (; at < piece.size() && piece[at] >= '0' && piece[at] <= '9'; ++at) {
        if (value < kSaturated) value = value * 10 + (piece[at] - '0');
    }
    if (value > kSaturated) value = kSaturated;
    return negative ? -value : value;
}

}  // namespace

ToolbarLayout ParseLayout(std::string_view text) {
    ToolbarLayout layout;
    std::size_t piece = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string_view part = text.substr(start, comma == std::string_view::npos ? text.size() - start
                                                                                         : comma - start);
        const std::int64_t value = PieceValue(part);
        if (piece == 0) {
            layout.textOption = value >= 0 && value <= 2 ? static_cast<int>(value) : kDefaultTextOption;
        } else if (piece == 1) {
            layout.iconOption = value >= 0 && value <= 1 ? static_cast<int>(value) : kDefaultIconOption;
        } else {
            layout.buttons.push_back(value);
            if (layout.buttons.size() >= kMaxLayoutButtons) break;
        }
        ++piece;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return layout;
}

std::string FormatLayout(int textOption, int iconOption, const std::vector<int>& commands) {
    std::string text = std::to_string(static_cast<unsigned>(textOption)) + "," +
                       std::to_string(static_cast<unsigned>(iconOption));
    for (int command : commands) {
        text += ',';
        text += std::to_string(static_cast<unsigned>(command));
    }
    return text;
}

}  // namespace toolbar
