#include "platform/ansi_text.h"
#include "../code_page_form.h"

#include <windows.h>

#include <climits>

namespace platform {
namespace {

std::string WideToAnsi(const std::wstring& wide, bool* lost = nullptr) {
    if (wide.empty() || wide.size() > INT_MAX / 4) return std::string();
    int n = static_cast<int>(wide.size());
    int size = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string out(static_cast<std::size_t>(size), '\0');
    BOOL usedDefault = FALSE;
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), n, out.data(), size, nullptr, lost ? &usedDefault : nullptr);
    if (lost && usedDefault) *lost = true;
    return out;
}

}  // namespace

namespace detail {

bool AppendCodePageForm(std::u16string_view text, std::string& out) {
    if (text.empty()) return true;
    if (text.size() > INT_MAX / 4) return false;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int n = static_cast<int>(text.size());
    const UINT codePage = ::GetACP();
    // UTF-8 holds everything, and refuses the flag and the default question.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int size = ::WideCharToMultiByte(codePage, flags, wide, n, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(size));
    ::WideCharToMultiByte(codePage, flags, wide, n, out.data() + at, size, nullptr, nullptr);
    return true;
}

std::string SystemHostToAscii(std::u16string_view host) {
    if (host.empty() || host.size() > 255) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(host.data());
    wchar_t ascii[256];
    const int size = ::IdnToAscii(0, wide, static_cast<int>(host.size()), ascii, 256);
    if (size <= 0) return {};
    std::string out;
    for (int i = 0; i < size; ++i) {
        if (ascii[i] == 0 || ascii[i] >= 0x80) return {};
        out += static_cast<char>(ascii[i]);
    }
    return out;
}

}  // namespace detail

unsigned AnsiCodePage() { return ::GetACP(); }

std::string Utf16ToAnsi(std::string_view bytes, bool bigEndian) {
    std::wstring wide;
    wide.reserve(bytes.size() / 2);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        auto b0 = static_cast<unsigned char>(bytes[i]);
        auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        wide += static_cast<wchar_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    }
    std::string out = WideToAnsi(wide);
    if (i < bytes.size()) out += '?';
    return out;
}

std::string Utf8ToAnsi(std::string_view bytes) {
    bool lost = false;
    return Utf8ToAnsi(bytes, lost);
}

std::string Utf8ToAnsi(std::string_view bytes, bool& lost) {
    lost = false;
    if (bytes.empty() || bytes.size() > INT_MAX / 4) return std::string();
    int n = static_cast<int>(bytes.size());
    // Invalid sequences become U+FFFD, which the code page cannot hold.
    int size = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), n, nullptr, 0);
    if (size <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), n, wide.data(), size);
    return WideToAnsi(wide, &lost);
}

std::string AnsiToUtf8(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX / 4) return std::string();
    int n = static_cast<int>(bytes.size());
    int size = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
    if (size <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, wide.data(), size);
    int utf8 = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (utf8 <= 0) return std::string();
    std::string out(static_cast<std::size_t>(utf8), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), utf8, nullptr, nullptr);
    return out;
}

}  // namespace platform
