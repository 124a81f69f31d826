// Rules for the texts of categories and bookmarks: when two names count as the
// same, and which characters a name may not hold. Texts are bytes of the ANSI
// code page (GBK); both rules go by whole characters, so the trail byte of a
// double-byte character is never folded or taken for a backslash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// True when `a` and `b` have the same length and equal characters once ASCII
// a-z are taken as A-Z. Double-byte characters compare exactly.
bool SameName(std::string_view a, std::string_view b);

// A hash that agrees with SameName: same names give the same value.
std::uint32_t FoldedNameHash(std::string_view text);

// True when `text` holds one of \ / : * ? " < > |.
bool HasInvalidChars(std::string_view text);

// Returns whether `text` holds one of the invalid characters; with `replace`
// every one of them becomes a space.
bool FilterInvalidChars(std::string& text, bool replace);
// The same, replacing, on `size` bytes in place.
bool FilterInvalidChars(char* text, std::size_t size);
