// The Unicode address of a shortcut file (".url"). Windows writes an address
// with characters outside the ANSI code page twice: with '?' for them in the
// [InternetShortcut] section, and whole, in UTF-7, as the URL of an
// [InternetShortcut.W] section. Not every shortcut object reads the second.
#pragma once

#include <string>
#include <string_view>

namespace transfer {

// The URL of the file's [InternetShortcut.W] section, decoded from UTF-7;
// empty when the file has none.
std::u16string UnicodeUrlOfShortcutText(std::string_view file);

// UTF-7 as UTF-16: '+' starts a run of modified base64 that ends before the
// first other character, which is dropped when it is '-'; "+-" is '+'.
std::u16string DecodeUtf7(std::string_view text);

}  // namespace transfer
