// Shortcut files (".url") read and written through the system's Internet
// Shortcut object; the program reads only the Unicode form of the address
// itself (shortcut_text.h). COM must be initialised on the calling thread.
#pragma once

#include <string>

namespace transfer {

// The URL the shortcut holds, with the rules for addresses from outside
// (platform/incoming_text.h); empty when the object cannot load the file,
// gives no text, or the file is larger than kMaxShortcutSize (such a file is
// no shortcut and is not handed to the object).
std::string ReadShortcutUrl(const std::wstring& file);
// The same for a path in the ANSI code page (links dropped on the window).
std::string ReadShortcutUrl(const std::string& ansiFile);

// Writes a shortcut to `url` at `file`: the object saves it under a
// temporary name beside it, which then replaces `file` in one step, so an
// existing shortcut is never left half written.
bool WriteShortcut(const std::string& url, const std::wstring& file);

// Conversions and the long form of a path ("\\?\C:\..." once it is too
// long for the plain form).
std::wstring WideFromAnsi(const std::string& text);
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
std::string AnsiFromWide(const std::wstring& text);
std::wstring LongPath(const std::wstring& path);

}  // namespace transfer
