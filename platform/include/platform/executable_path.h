// The full path of the running executable (Windows only).
#pragma once

#ifdef _WIN32

#include <string>

namespace platform {

// The whole path however long, in the ANSI code page or as UTF-16; empty
// when the system cannot give it.
std::string ExecutablePath();
std::wstring ExecutablePathWide();

}  // namespace platform

#endif
