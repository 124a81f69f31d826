// Shortening a text to a width with "..." at its end, cut at a word boundary
// where one fits: before a space, or next to a double-byte character (each
// Chinese character is a word of its own). A text with no boundary that fits,
// such as a long URL, is cut between characters instead. Double-byte
// characters are never split.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace dialogs {

// Width of a text in whatever unit `width` uses; must not shrink as the text
// grows.
using MeasureText = std::function<int(std::string_view)>;

std::string ShortenToWidth(std::string_view text, int width, const MeasureText& measure);

}  // namespace dialogs
