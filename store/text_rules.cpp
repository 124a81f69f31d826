#include "text_rules.h"

#include "byte_search.h"
#include "platform/codepage.h"

#include <array>

namespace {

unsigned char FoldAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

constexpr bool IsInvalidNameChar(unsigned char c) {
    switch (c) {
        case '\\': case '/': case ':': case '*': case '?':
        case '"': case '<': case '>': case '|':
            return true;
        default:
            return false;
    }
}

// Length of the character at `i`: 2 for a double-byte character, else 1.
std::size_t CharLength(std::string_view text, std::size_t i) {
    const char* p = text.data() + i;
    return static_cast<std::size_t>(platform::NextChar(p, text.data() + text.size()) - p);
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        const std::size_t len = CharLength(a, i);
        if (len == 2) {
            // Lead bytes are never letters, so b has a character boundary here too.
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (FoldAscii(static_cast<unsigned char>(a[i])) !=
                   FoldAscii(static_cast<unsigned char>(b[i]))) {
            return false;
        }
        i += len;
    }
    return true;
}

std::uint32_t FoldedNameHash(std::string_view text) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t len = CharLength(text, i);
        for (std::size_t k = 0; k < len; ++k) {
            unsigned char c = static_cast<unsigned char>(text[i + k]);
            if (len == 1) c = FoldAscii(c);
            hash = (hash ^ c) * 16777619u;
        }
        i += len;
    }
    return hash;
}

// Most names and titles hold none of the nine characters: a plain byte scan
// tells so without stepping through them character by character.
bool MayHoldInvalidChars(std::string_view text) {
    const char* end = text.data() + text.size();
    return bytesearch::FindFirstOf<'\\', '/', ':', '*', '?', '"', '<', '>', '|'>(text.data(), end) != end;
}

bool HasInvalidChars(std::string_view text) {
    if (!MayHoldInvalidChars(text)) return false;
    for (std::size_t i = 0, len = 0; i < text.size(); i += len) {
        len = CharLength(text, i);
        if (len == 1 && IsInvalidNameChar(static_cast<unsigned char>(text[i]))) return true;
    }
    return false;
}

bool FilterInvalidChars(std::string& text, bool replace) {
    if (!replace) return HasInvalidChars(text);
    return FilterInvalidChars(text.data(), text.size());
}

bool FilterInvalidChars(char* bytes, std::size_t size) {
    const std::string_view text(bytes, size);
    if (!MayHoldInvalidChars(text)) return false;
    bool found = false;
    for (std::size_t i = 0, len = 0; i < text.size(); i += len) {
        len = CharLength(text, i);
        if (len == 1 && IsInvalidNameChar(static_cast<unsigned char>(text[i]))) {
            bytes[i] = ' ';
            found = true;
        }
    }
    return found;
}
