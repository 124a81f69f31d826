// What the conversions of incoming text need of the system: the exact form of
// a text in the ANSI code page, and the system's IDNA conversion of a host.
#pragma once

#include <string>
#include <string_view>

namespace platform::detail {

// Appends the code page's form of `text` (valid UTF-16, no lone surrogates)
// and returns true when the code page holds every character of it exactly;
// never a "best fit" look-alike. Otherwise returns false, `out` unchanged.
bool AppendCodePageForm(std::u16string_view text, std::string& out);

// The host name in its IDNA ASCII form as the system makes it; empty when the
// system has no such conversion or refuses the name.
std::string SystemHostToAscii(std::u16string_view host);

}  // namespace platform::detail
