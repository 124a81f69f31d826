// Scanning text of the ANSI code page (GBK for the program's users) by
// characters, so that the trail byte of a double-byte character is never
// taken for an ASCII character such as a backslash.
#pragma once

#include <cstddef>

namespace platform {

// True when `c` starts a double-byte character in the ANSI code page.
bool IsLeadByte(unsigned char c);

// The position after the character at `p`, never beyond `end`.
inline const char* NextChar(const char* p, const char* end) {
    if (p >= end) return end;
    if (IsLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end && p[1] != '\0') return p + 2;
    return p + 1;
}

}  // namespace platform
