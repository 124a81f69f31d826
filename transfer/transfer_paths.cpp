#include "transfer_paths.h"

#include "platform/codepage.h"
#include "platform/incoming_text.h"
#include "text_rules.h"
#include "transfer_file_system.h"

#include <array>
#include <cctype>

namespace transfer {
namespace {

// Positions of the backslashes that separate folders, a double-byte
// character's trail byte never taken for one.
template <class Visit>
void ForEachBackslash(std::string_view text, bool ansi, Visit visit) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* p = begin; p < end;) {
        if (*p == '\\') visit(static_cast<std::size_t>(p - begin));
        p = ansi ? platform::NextChar(p, end) : p + 1;
    }
}

bool IsReservedChar(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
           c == '<' || c == '>' || c == '|';
}

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool IsDeviceName(std::string_view name) {
    // The part before the first dot, without trailing spaces, is what the
    // system takes for a device.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    static constexpr std::array<std::string_view, 6> kPlain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view device : kPlain) {
        if (SameAscii(base, device)) return true;
    }
    if (base.size() == 4 && (SameAscii(base.substr(0, 3), "COM") || SameAscii(base.substr(0, 3), "LPT"))) {
        return base[3] >= '0' && base[3] <= '9';
    }
    return false;
}

}  // namespace

std::string WithTrailingBackslash(std::string_view folder) {
    std::string result(folder);
    if (result.empty()) return result;
    bool endsWithSeparator = false;
    ForEachBackslash(folder, true, [&](std::size_t at) { endsWithSeparator = at + 1 == folder.size(); });
    if (!endsWithSeparator) result += '\\';
    return result;
}

std::string TitleOfFileName(std::string_view ansiName) {
    std::size_t lastDot = std::string_view::npos;
    const char* const begin = ansiName.data();
    const char* const end = begin + ansiName.size();
    for (const char* p = begin; p < end; p = platform::NextChar(p, end)) {
        if (*p == '.') lastDot = static_cast<std::size_t>(p - begin);
    }
    std::string title(lastDot == std::string_view::npos || lastDot == 0 ? ansiName : ansiName.substr(0, lastDot));
    platform::ReplaceReservedNameChars(title);
    return title;
}

std::string DiskName(std::string_view name) {
    std::string result;
    result.reserve(name.size() + 1);
    const char* const begin = name.data();
    const char* const end = begin + name.size();
    for (const char* p = begin; p < end;) {
        const char* next = platform::NextChar(p, end);
        if (result.size() + static_cast<std::size_t>(next - p) > kMaxDiskName) break;
        if (next - p == 1 && IsReservedChar(static_cast<unsigned char>(*p))) {
            result += '_';
        } else {
            result.append(p, static_cast<std::size_t>(next - p));
        }
        p = next;
    }
    // A trail byte is never below 0x40, so a final dot or space is a
    // character of its own.
    while (!result.empty() && (result.back() == '.' || result.back() == ' ')) result.pop_back();
    if (result.empty()) return "_";
    if (IsDeviceName(result)) result.insert(0, 1, '_');
    return result;
}

bool CreateFolderPath(ITransferFileSystem& fs, const std::string& path) {
    if (path.size() <= 3) return true;
    std::string full = path;
    if (full.back() != '\\') full += '\\';
    // Where the folders that may be created begin: after "C:\", or after
    // "\\server\share\" (neither the server nor the share can be made).
    std::size_t rootEnd = 3;
    if (full.compare(0, 2, "\\\\") == 0) {
        int separators = 0;
        rootEnd = full.size();
        ForEachBackslash(full, fs.PathsAreAnsi(), [&](std::size_t at) {
            if (at >= 2 && ++separators == 2 && rootEnd == full.size()) rootEnd = at + 1;
        });
    }
    bool ok = true;
    ForEachBackslash(full, fs.PathsAreAnsi(), [&](std::size_t at) {
        if (!ok || at < rootEnd) return;
        const std::string level = full.substr(0, at);
        if (fs.KindOf(level) != PathKind::kFolder && !fs.CreateFolder(level)) ok = false;
    });
    return ok;
}

}  // namespace transfer
