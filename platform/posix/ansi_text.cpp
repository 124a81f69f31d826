#include "platform/ansi_text.h"
#include "platform/codepage.h"
#include "../code_page_form.h"
#include "platform/incoming_text.h"

#include <iconv.h>

#include <cstdint>
#include <mutex>

namespace platform {
namespace {

// The GBK form of every code unit of the BMP, made once with iconv: two
// bytes each (a single byte has a zero second byte), zero for none.
const std::uint16_t* GbkTable() {
    static const std::uint16_t* table = [] {
        static std::uint16_t forms[0x10000] = {};
        iconv_t cd = ::iconv_open("GBK", "UTF-16LE");
        if (cd == reinterpret_cast<iconv_t>(-1)) return static_cast<const std::uint16_t*>(forms);
        for (std::uint32_t unit = 0x80; unit < 0x10000; ++unit) {
            if (unit >= 0xD800 && unit <= 0xDFFF) continue;
            char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
            char buf[8];
            char* inPtr = in;
            char* outPtr = buf;
            std::size_t inLeft = sizeof in;
            std::size_t outLeft = sizeof buf;
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) continue;
            const std::size_t n = static_cast<std::size_t>(outPtr - buf);
            if (n == 1) forms[unit] = static_cast<unsigned char>(buf[0]);
            if (n == 2) forms[unit] = static_cast<std::uint16_t>(static_cast<unsigned char>(buf[0]) << 8 |
                                                              static_cast<unsigned char>(buf[1]));
        }
        ::iconv_close(cd);
        return static_cast<const std::uint16_t*>(forms);
    }();
    return table;
}

// One UTF-16 code unit in GBK, the code page the host build stands in for;
// false when it had to be written as '?'.
bool AppendUnit(std::uint16_t unit, std::string& out) {
    if (unit < 0x80) {
        out += static_cast<char>(unit);
        return true;
    }
    const std::uint16_t form = GbkTable()[unit];
    if (form == 0) {
        out += '?';
        return false;
    }
    if (form > 0xFF) out += static_cast<char>(form >> 8);
    out += static_cast<char>(form & 0xFF);
    return true;
}

}  // namespace

namespace detail {

bool AppendCodePageForm(std::u16string_view text, std::string& out) {
    std::string form;
    form.reserve(text.size() * 2);
    for (char16_t unit : text) {
        if (unit >= 0xD800 && unit <= 0xDFFF) return false;
        if (!AppendUnit(unit, form)) return false;
    }
    out += form;
    return true;
}

// The host build has no system conversion: the program's own is used.
std::string SystemHostToAscii(std::u16string_view) { return {}; }

}  // namespace detail

unsigned AnsiCodePage() { return 936; }

std::string Utf16ToAnsi(std::string_view bytes, bool bigEndian) {
    std::string out;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        auto b0 = static_cast<unsigned char>(bytes[i]);
        auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        AppendUnit(static_cast<std::uint16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0), out);
    }
    if (i < bytes.size()) out += '?';
    return out;
}

std::string Utf8ToAnsi(std::string_view bytes) {
    bool lost = false;
    return Utf8ToAnsi(bytes, lost);
}

std::string Utf8ToAnsi(std::string_view bytes, bool& lost) {
    // Invalid sequences decode to U+FFFD and a character beyond the BMP to a
    // surrogate pair; neither has a GBK form, so each unit becomes '?', as
    // the system does.
    lost = false;
    std::string out;
    for (char16_t unit : Utf16FromUtf8(bytes)) {
        if (!AppendUnit(unit, out)) lost = true;
    }
    return out;
}

std::string AnsiToUtf8(std::string_view bytes) {
    static std::mutex lock;
    static iconv_t cd = ::iconv_open("UTF-8", "GBK");
    std::string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const std::size_t size = IsLeadByte(c) && i + 1 < bytes.size() ? 2 : 1;
        char in[2] = {bytes[i], size == 2 ? bytes[i + 1] : '\0'};
        char buf[8];
        char* inPtr = in;
        char* outPtr = buf;
        std::size_t inLeft = size;
        std::size_t outLeft = sizeof buf;
        bool converted = false;
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            std::lock_guard<std::mutex> guard(lock);
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
            converted = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
                        outPtr != buf;
        }
        if (converted) {
            out.append(buf, static_cast<std::size_t>(outPtr - buf));
            i += size;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

}  // namespace platform
