#include "shortcut_text.h"

#include "text_rules.h"

#include <cstdint>

namespace transfer {
namespace {

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::u16string DecodeUtf7(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '+') {
            out += static_cast<char16_t>(static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        ++i;
        if (i < text.size() && text[i] == '-') {
            out += u'+';
            ++i;
            continue;
        }
        std::uint32_t bits = 0;
        int count = 0;
        for (; i < text.size(); ++i) {
            const int value = Base64Value(text[i]);
            if (value < 0) break;
            bits = (bits << 6) | static_cast<std::uint32_t>(value);
            count += 6;
            if (count >= 16) {
                count -= 16;
                out += static_cast<char16_t>((bits >> count) & 0xFFFF);
            }
        }
        if (i < text.size() && text[i] == '-') ++i;
    }
    return out;
}

std::u16string UnicodeUrlOfShortcutText(std::string_view file) {
    bool inSection = false;
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find('\n', start);
        if (end == std::string_view::npos) end = file.size();
        const std::string_view line = Trimmed(file.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.front() == '[') {
            inSection = SameName(line, "[InternetShortcut.W]");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos && SameName(Trimmed(line.substr(0, equals)), "URL")) {
            return DecodeUtf7(Trimmed(line.substr(equals + 1)));
        }
    }
    return {};
}

}  // namespace transfer
