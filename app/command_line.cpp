#include "command_line.h"

#include "platform/codepage.h"

namespace app {
namespace {

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Compares only ASCII letters without case: a name never matches text holding
// other bytes, and no locale rule can make "hi-de" equal "hide".
bool SameName(std::string_view text, std::string_view name) {
    if (text.size() != name.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (FoldAscii(text[i]) != FoldAscii(name[i])) return false;
    }
    return true;
}

// Steps one character the way CharNextA does: a lead byte takes the next
// byte with it, whatever that byte is, unless the line ends there.
const char* NextCharacter(const char* p, const char* end) {
    if (platform::IsLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end && p[1] != '\0') return p + 2;
    return p + 1;
}

}  // namespace

CommandLineSwitches ScanCommandLine(std::string_view line) {
    CommandLineSwitches result;
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end) {
        const char c = *p;
        const char* next = NextCharacter(p, end);
        if (c == '-' || c == '/') {
            const std::string_view candidate(next, static_cast<std::size_t>(end - next));
            if (SameName(candidate, "RegServer")) {
                result.mode = StartMode::RegServer;
                return result;
            }
            if (SameName(candidate, "UnregServer")) {
                result.mode = StartMode::UnregServer;
                return result;
            }
            if (SameName(candidate, "Automation") || SameName(candidate, "Embedding")) {
                return result;
            }
            if (SameName(candidate, "hide")) result.startHidden = true;
        }
        p = next;
    }
    return result;
}

}  // namespace app
