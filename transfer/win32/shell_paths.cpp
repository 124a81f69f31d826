#include "shell_paths.h"

#include <objbase.h>

namespace transfer {

ShellPath AnsiPathOf(const std::wstring& wide, std::string& ansi) {
    ansi.clear();
    if (wide.empty()) return ShellPath::kNone;
    const int length = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr,
                                           &lossy);
    if (size <= 0) return ShellPath::kNone;
    if (lossy) return ShellPath::kOutsideCodePage;
    ansi.resize(static_cast<std::size_t>(size));
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, ansi.data(), size, nullptr, nullptr);
    return ShellPath::kOk;
}

ShellPath AnsiPathOf(PCIDLIST_ABSOLUTE item, std::string& ansi) {
    ansi.clear();
    if (!item) return ShellPath::kNone;
    PWSTR name = nullptr;
    if (FAILED(::SHGetNameFromIDList(item, SIGDN_FILESYSPATH, &name)) || !name) return ShellPath::kNone;
    const std::wstring wide(name);
    ::CoTaskMemFree(name);
    return AnsiPathOf(wide, ansi);
}

ShellPath FavoritesFolderPath(std::string& ansi) {
    ansi.clear();
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_FAVORITES, &list)) || !list) return ShellPath::kNone;
    const ShellPath result = AnsiPathOf(list, ansi);
    ::CoTaskMemFree(list);
    return result;
}

}  // namespace transfer
