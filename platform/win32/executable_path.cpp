#include "platform/executable_path.h"

#include <windows.h>

#include <vector>

namespace platform {
namespace {

template <typename Char, typename GetModuleFileNameFn>
std::basic_string<Char> WholeModuleFileName(GetModuleFileNameFn getModuleFileName) {
    // Grow the buffer until the whole name fits: a long path is not cut short.
    std::vector<Char> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = getModuleFileName(nullptr, buffer.data(), size);
        if (length == 0) return {};
        if (length < size) return std::basic_string<Char>(buffer.data(), length);
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string ExecutablePath() { return WholeModuleFileName<char>(::GetModuleFileNameA); }

std::wstring ExecutablePathWide() { return WholeModuleFileName<wchar_t>(::GetModuleFileNameW); }

}  // namespace platform
