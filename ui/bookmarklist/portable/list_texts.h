// Texts of the bookmark list that need no window.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace bookmarklist {

// The built-in replace question: category, existing title, existing URL.
inline constexpr std::string_view kReplaceQuestion =
    "书签类别\"%s\"中已包含一个名为:\n\"%s\"\n的书签!\n其网址为:\n\"%s\"\n是否执行替换操作!";
// Longest replace question shown.
inline constexpr std::size_t kReplaceQuestionLimit = 10239;

// `pattern` with its "%s" replaced by `values` in order ("%s" beyond them
// stays empty) and "%%" by "%"; anything else, other conversions included,
// is kept as written: the pattern may come from a language pack, so it is
// never handed to a printf. Cut to at most `limit` bytes, between characters.
std::string SubstituteStrings(std::string_view pattern, std::initializer_list<std::string_view> values,
                              std::size_t limit);

}  // namespace bookmarklist
