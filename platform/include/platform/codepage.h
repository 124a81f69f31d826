// Scanning text of the ANSI code page (GBK for the program's users) by
// characters, so that the trail byte of a double-byte character is never
// taken for an ASCII character such as a backslash.
#pragma once

#include <cstddef>

namespace platform {

// True when `c` starts a double-byte character in the ANSI code page.
bool IsLeadByte(unsigned char c);

// Whether `c` can be the second byte of a double-byte character. The trail
// bytes of every double-byte code page are 0x40 or above, so a stray lead byte
// never swallows a quote, a tag delimiter, a slash or a line break.
inline bool CanTrail(unsigned char c) { return c >= 0x40; }

// The position after the character at `p`, never beyond `end`.
inline const char* NextChar(const char* p, const char* end) {
    if (p >= end) return end;
    if (IsLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end &&
        CanTrail(static_cast<unsigned char>(p[1])))
        return p + 2;
    return p + 1;
}

}  // namespace platform
