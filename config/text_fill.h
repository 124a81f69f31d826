// Filling the "%s" places of a text that may come from a language pack. The
// text is never handed to a printf: each "%s" takes the next value in turn,
// "%%" gives "%", and everything else (other conversions, a "%s" with no
// value left) stays as written.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> values);
