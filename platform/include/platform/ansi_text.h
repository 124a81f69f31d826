// The system's ANSI code page and conversions of Unicode text into it.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The ANSI code page of the system (GetACP on Windows). The host build stands
// in for a Simplified Chinese system and answers 936.
unsigned AnsiCodePage();

// Converts UTF-16 code units (in the byte order given) to the ANSI code page;
// a character the code page cannot hold becomes '?', and so does a dangling
// odd byte at the end.
std::string Utf16ToAnsi(std::string_view bytes, bool bigEndian);

// Converts UTF-8 to the ANSI code page; invalid sequences and characters the
// code page cannot hold become '?'. With `lost`, says whether any did.
std::string Utf8ToAnsi(std::string_view bytes);
std::string Utf8ToAnsi(std::string_view bytes, bool& lost);

// Converts text of the ANSI code page to UTF-8; a byte that starts no
// character of the code page becomes U+FFFD.
std::string AnsiToUtf8(std::string_view bytes);

}  // namespace platform
