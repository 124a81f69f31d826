// The folder of the executable: every file of the program lies there.
#pragma once

#include <string>
#include <string_view>

namespace framework {

// The executable's folder with a trailing backslash.
std::string ProgramFolder();

// Everything up to and including the last backslash, found by characters of
// the ANSI code page so that a trail byte equal to a backslash is never taken
// for one. Empty when the path holds no backslash.
std::string FolderOfPath(std::string_view path);

}  // namespace framework
