#include "framework/program_folder.h"

#include "platform/codepage.h"

#include <windows.h>

#include <vector>

namespace framework {

std::string FolderOfPath(std::string_view path) {
    const char* const begin = path.data();
    const char* const end = begin + path.size();
    const char* afterSlash = begin;
    for (const char* p = begin; p < end; p = platform::NextChar(p, end)) {
        if (*p == '\\') afterSlash = p + 1;
    }
    return std::string(begin, afterSlash);
}

std::string ProgramFolder() {
    // Grow the buffer until the whole name fits: a long path is not cut short.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) return std::string();
        if (length < size) return FolderOfPath(std::string_view(buffer.data(), length));
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace framework
