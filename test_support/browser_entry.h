// Starting the program in a fresh folder makes it point the browser's
// context-menu entry there and tell the user to reopen the browser. Tests
// that are not about that point the entry at their folder first, so that no
// message box waits for an answer.
#pragma once

#ifdef _WIN32

#include <windows.h>

#include <string>

namespace testing_support {

// The entry's menu text without a language pack.
inline constexpr char kBuiltinMenuText[] = "添加到岚舟链匣中";

// `folder` ends in a backslash.
inline bool PointContextMenuAt(const std::string& folder, const std::string& menuText = kBuiltinMenuText) {
    const std::string key = "Software\\Microsoft\\Internet Explorer\\MenuExt\\!&" + menuText;
    const std::string page = folder + "Bm_Link.htm";
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const bool ok = ::RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(page.c_str()),
                                     static_cast<DWORD>(page.size() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(handle);
    return ok;
}

}  // namespace testing_support

#endif
