// Text that reaches the program from outside (other programs, dropped data,
// files written by other programs) in Unicode, made into the program's own
// text of the ANSI code page without changing what it means.
//
// Addresses keep their meaning: a character the code page cannot hold is
// written as its UTF-8 bytes percent-encoded with upper-case hex, and a host
// name holding such characters becomes its IDNA ASCII form. Everything else
// of the address stays as it came: no normalisation, no change of case, no
// second encoding of what is already percent-encoded.
//
// Names (bookmark titles, category names) and remarks show a character the
// code page lacks as the full-width question mark, one per character. In a
// name, the nine characters a name may not hold become their full-width forms
// instead of being lost. On a code page without full-width forms both become
// a space.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string AddressFromUtf16(std::u16string_view text);
std::string NameFromUtf16(std::u16string_view text, bool* lost = nullptr);
std::string RemarkFromUtf16(std::u16string_view text, bool* lost = nullptr);

// The same for UTF-8; a byte sequence that is not UTF-8 counts as U+FFFD.
std::string AddressFromUtf8(std::string_view text);
std::string NameFromUtf8(std::string_view text, bool* lost = nullptr);
std::string RemarkFromUtf8(std::string_view text, bool* lost = nullptr);

// Appends the UTF-8 form of a code point (at most U+10FFFF).
void AppendUtf8(char32_t codePoint, std::string& out);

// UTF-8 as UTF-16; invalid sequences become U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

// A name from outside that is already text of the code page (an ANSI drop,
// a bookmark file of the program's format): the nine characters a name may
// not hold become their full-width forms. Returns whether any did.
bool ReplaceReservedNameChars(std::string& name);

// The ACE form ("xn--" and Punycode) of one label of a host name, lower-casing
// ASCII letters; empty when the label cannot be encoded (too long).
std::string PunycodeLabel(std::u16string_view label);

}  // namespace platform
