#include "platform/incoming_text.h"

#include "code_page_form.h"
#include "platform/codepage.h"

#include <cstdint>

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char16_t kFullWidthQuestion = 0xFF1F;

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The code point at text[i] and how many units it takes; a lone surrogate is
// U+FFFD of one unit.
char32_t CodePointAt(std::u16string_view text, std::size_t i, std::size_t& units) {
    const char32_t unit = text[i];
    units = 1;
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        units = 2;
        return 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    }
    return IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit;
}

bool HasLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t units = 1;
        if ((IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) && CodePointAt(text, i, units) == kReplacement) {
            return true;
        }
        i += units - 1;
    }
    return false;
}

void AppendPercentEncoded(char32_t cp, std::string& out) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string bytes;
    AppendUtf8(cp, bytes);
    for (unsigned char b : bytes) {
        out += '%';
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
}

// The code page's form of one BMP character other than a surrogate.
bool AppendCharForm(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return true;
    }
    if (cp > 0xFFFF) return false;  // the double-byte code pages hold nothing beyond the BMP
    const char16_t unit = static_cast<char16_t>(cp);
    return detail::AppendCodePageForm(std::u16string_view(&unit, 1), out);
}

// The code page's form of a full-width stand-in; a space on a code page
// without full-width forms.
std::string StandIn(char16_t fullWidth) {
    std::string form;
    return AppendCharForm(fullWidth, form) ? form : std::string(" ");
}

// The full-width form of a reserved ASCII character, or 0 when `c` is none.
char16_t FullWidthOf(char32_t c) {
    switch (c) {
    case '\\': return 0xFF3C;
    case '/': return 0xFF0F;
    case ':': return 0xFF1A;
    case '*': return 0xFF0A;
    case '?': return 0xFF1F;
    case '"': return 0xFF02;
    case '<': return 0xFF1C;
    case '>': return 0xFF1E;
    case '|': return 0xFF5C;
    default: return 0;
    }
}

// A name or remark, character by character.
std::string TextFromUtf16(std::u16string_view text, bool isName, bool* lost) {
    if (lost) *lost = false;
    std::string out;
    out.reserve(text.size() * 2);
    bool plain = !HasLoneSurrogate(text);
    if (plain && isName) {
        for (char16_t unit : text) plain = plain && FullWidthOf(unit) == 0;
    }
    // Nearly every text is held by the code page whole: one call for it.
    if (plain && detail::AppendCodePageForm(text, out)) return out;
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        std::size_t units = 1;
        const char32_t cp = CodePointAt(text, i, units);
        i += units;
        if (isName) {
            if (const char16_t wide = FullWidthOf(cp)) {
                out += StandIn(wide);
                continue;
            }
        }
        if (cp == kReplacement || !AppendCharForm(cp, out)) {
            out += StandIn(kFullWidthQuestion);
            if (lost) *lost = true;
        }
    }
    return out;
}

bool IsSchemeChar(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
           c == '.';
}

// Where the host name of an address with an authority ("scheme://") stands:
// after any user information, before any port. False when it has none.
bool FindHost(std::u16string_view url, std::size_t& begin, std::size_t& end) {
    std::size_t colon = 0;
    while (colon < url.size() && IsSchemeChar(url[colon])) ++colon;
    if (colon == 0 || url.substr(colon, 3) != u"://") return false;
    const std::size_t authority = colon + 3;
    std::size_t authorityEnd = authority;
    while (authorityEnd < url.size() && url[authorityEnd] != '/' && url[authorityEnd] != '?' &&
           url[authorityEnd] != '#' && url[authorityEnd] != '\\') {
        ++authorityEnd;
    }
    const std::size_t at = url.substr(authority, authorityEnd - authority).rfind('@');
    begin = at == std::u16string_view::npos ? authority : authority + at + 1;
    if (begin < authorityEnd && url[begin] == '[') return false;  // an IPv6 literal: ASCII only
    end = begin;
    while (end < authorityEnd && url[end] != ':') ++end;
    return end > begin;
}

bool IsLabelSeparator(char16_t c) { return c == '.' || c == 0x3002 || c == 0xFF0E || c == 0xFF61; }

// The host's ASCII form made here, label by label; empty when a label
// cannot be encoded.
std::string HostToAscii(std::u16string_view host) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= host.size(); ++i) {
        if (i < host.size() && !IsLabelSeparator(host[i])) continue;
        const std::u16string_view label = host.substr(start, i - start);
        bool ascii = true;
        for (char16_t c : label) ascii = ascii && c < 0x80;
        if (ascii) {
            for (char16_t c : label) out += static_cast<char>(c);
        } else {
            const std::string encoded = PunycodeLabel(label);
            if (encoded.empty()) return {};
            out += encoded;
        }
        if (i < host.size()) out += '.';
        start = i + 1;
    }
    return out;
}

bool NeedsIdna(std::u16string_view host) {
    std::string scratch;
    for (std::size_t i = 0; i < host.size();) {
        std::size_t units = 1;
        const char32_t cp = CodePointAt(host, i, units);
        i += units;
        if (cp == kReplacement || !AppendCharForm(cp, scratch)) return true;
    }
    return false;
}

}  // namespace

void AppendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string PunycodeLabel(std::u16string_view label) {
    constexpr std::uint32_t kBase = 36, kTMin = 1, kTMax = 26, kSkew = 38, kDamp = 700;
    std::u32string points;
    for (std::size_t i = 0; i < label.size();) {
        std::size_t units = 1;
        char32_t cp = CodePointAt(label, i, units);
        if (cp >= 'A' && cp <= 'Z') cp += 'a' - 'A';
        points += cp;
        i += units;
    }
    const auto digit = [](std::uint32_t d) { return static_cast<char>(d < 26 ? 'a' + d : '0' + d - 26); };
    const auto adapt = [&](std::uint32_t delta, std::uint32_t count, bool first) {
        delta = first ? delta / kDamp : delta / 2;
        delta += delta / count;
        std::uint32_t k = 0;
        while (delta > ((kBase - kTMin) * kTMax) / 2) {
            delta /= kBase - kTMin;
            k += kBase;
        }
        return k + (kBase - kTMin + 1) * delta / (delta + kSkew);
    };
    std::string out = "xn--";
    for (char32_t cp : points) {
        if (cp < 0x80) out += static_cast<char>(cp);
    }
    const std::uint32_t basic = static_cast<std::uint32_t>(out.size() - 4);
    if (basic > 0) out += '-';
    std::uint32_t n = 0x80, delta = 0, bias = 72, handled = basic;
    const std::uint32_t total = static_cast<std::uint32_t>(points.size());
    while (handled < total) {
        std::uint32_t next = 0x110000;
        for (char32_t cp : points) {
            if (cp >= n && cp < next) next = cp;
        }
        // A label is at most 63 characters, so these never come near overflowing.
        delta += (next - n) * (handled + 1);
        n = next;
        for (char32_t cp : points) {
            if (cp < n) ++delta;
            if (cp != n) continue;
            std::uint32_t q = delta;
            for (std::uint32_t k = kBase;; k += kBase) {
                const std::uint32_t t = k <= bias ? kTMin : k >= bias + kTMax ? kTMax : k - bias;
                if (q < t) break;
                out += digit(t + (q - t) % (kBase - t));
                q = (q - t) / (kBase - t);
            }
            out += digit(q);
            bias = adapt(delta, handled + 1, handled == basic);
            delta = 0;
            ++handled;
        }
        ++delta;
        ++n;
        if (out.size() > 63) return {};
    }
    return out.size() > 63 ? std::string() : out;
}

std::string AddressFromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    if (!HasLoneSurrogate(text) && detail::AppendCodePageForm(text, out)) return out;
    out.clear();
    std::size_t hostBegin = 0, hostEnd = 0;
    const bool idna = FindHost(text, hostBegin, hostEnd) && NeedsIdna(text.substr(hostBegin, hostEnd - hostBegin));
    for (std::size_t i = 0; i < text.size();) {
        if (idna && i == hostBegin) {
            const std::u16string_view host = text.substr(hostBegin, hostEnd - hostBegin);
            std::string ascii = detail::SystemHostToAscii(host);
            if (ascii.empty()) ascii = HostToAscii(host);
            if (!ascii.empty()) {
                out += ascii;
                i = hostEnd;
                continue;
            }
        }
        std::size_t units = 1;
        const char32_t cp = CodePointAt(text, i, units);
        i += units;
        if (cp == kReplacement || !AppendCharForm(cp, out)) AppendPercentEncoded(cp, out);
    }
    return out;
}

std::string NameFromUtf16(std::u16string_view text, bool* lost) { return TextFromUtf16(text, true, lost); }
std::string RemarkFromUtf16(std::u16string_view text, bool* lost) { return TextFromUtf16(text, false, lost); }

std::u16string Utf16FromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const int extra = c < 0x80 ? 0 : c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2
                        : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool ok = extra >= 0 && bytes.size() - i > static_cast<std::size_t>(extra);
        for (int k = 1; ok && k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((t & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are invalid.
        ok = ok && !(extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) &&
             !(extra == 3 && (cp < 0x10000 || cp > 0x10FFFF));
        if (!ok) {
            out += static_cast<char16_t>(kReplacement);
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string AddressFromUtf8(std::string_view text) { return AddressFromUtf16(Utf16FromUtf8(text)); }
std::string NameFromUtf8(std::string_view text, bool* lost) { return NameFromUtf16(Utf16FromUtf8(text), lost); }
std::string RemarkFromUtf8(std::string_view text, bool* lost) {
    return RemarkFromUtf16(Utf16FromUtf8(text), lost);
}

bool ReplaceReservedNameChars(std::string& name) {
    bool any = false;
    for (char c : name) any = any || FullWidthOf(static_cast<unsigned char>(c)) != 0;
    if (!any) return false;
    // Trail bytes of double-byte characters can equal '\\' or '|': go by characters.
    std::string out;
    out.reserve(name.size() + 8);
    const char* end = name.data() + name.size();
    for (const char* p = name.data(); p < end;) {
        const char* next = NextChar(p, end);
        const char16_t wide = next == p + 1 ? FullWidthOf(static_cast<unsigned char>(*p)) : 0;
        if (wide) {
            out += StandIn(wide);
        } else {
            out.append(p, static_cast<std::size_t>(next - p));
        }
        p = next;
    }
    const bool changed = out != name;
    name = std::move(out);
    return changed;
}

}  // namespace platform
