// Reading ini files (language packs) the way the system's profile reader
// does, but parsed once into a table instead of once per lookup.
//
// Rules, as measured against GetPrivateProfileStringA:
// - lines end at CR or LF; spaces, tabs, VT, FF and Ctrl-Z around a line, a
//   name and a value are dropped;
// - "[name]" starts a section: the name runs to the last ']' of the line and
//   is trimmed; a line starting with '[' but holding no ']' is a key line;
// - lines before the first section belong to the section "";
// - a section that appears a second time is ignored with all its keys; the
//   first occurrence of a key in its section wins, even a line without '=';
// - a line without '=' names a key that has no value: looking it up gives
//   the caller's default, as a missing key does;
// - ';' and '#' have no special meaning (such lines are keys nobody asks for);
// - names and values end at a NUL byte; one pair of matching quotes ('"' or
//   '\'') around a value is removed; a value keeps at most 259 bytes, cut
//   between characters;
// - section and key names compare without regard to ASCII case;
// - a file starting with a UTF-8 or UTF-16 byte-order mark is converted to
//   the ANSI code page first; in ANSI text a lead byte that is not followed
//   by a valid trail byte reads as '?' (the pair is taken together, except
//   that a NUL after it is kept).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniFile {
public:
    // The system reader's buffer is 260 bytes with the terminating zero.
    static constexpr std::size_t kMaxValueBytes = 259;
    // Larger files are not language packs; they are treated as unreadable.
    static constexpr std::size_t kMaxFileBytes = 16u << 20;

    struct Entry {
        std::string section;  // as written (trimmed)
        std::string key;      // as written (trimmed)
        bool hasValue = false;
        std::string value;    // quotes removed, cut to kMaxValueBytes
    };

    // Parses `bytes`, replacing what was held before. With `onlySection`
    // given, only the keys of that section are kept (a cheap way to read
    // one section of many files).
    void Parse(std::string_view bytes, std::string_view onlySection = {});
    // Reads and parses a file; false (and nothing held) when it cannot be
    // read or is larger than kMaxFileBytes.
    bool Load(const std::string& path, std::string_view onlySection = {});
    void Clear();

    // The value of [section] key, or nullptr when the key is missing or was
    // written without '='.
    const std::string* Find(std::string_view section, std::string_view key) const;

    // Every key that lookups can reach, in file order.
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> index_;  // folded "section\nkey"
};

// Helpers shared with the language lookup.
namespace ini_text {

// Upper-cases ASCII letters, stepping over double-byte characters whole.
std::string FoldCase(std::string_view text);
// True when two names are equal without regard to ASCII case.
bool EqualNoCase(std::string_view a, std::string_view b);
// The text as the system reader sees ANSI bytes: a lead byte without a valid
// trail byte becomes '?'.
std::string NormalizeAnsi(std::string_view bytes);
// Cuts `text` to at most `maxBytes` without splitting a double-byte character.
void CutToBytes(std::string& text, std::size_t maxBytes);

}  // namespace ini_text
