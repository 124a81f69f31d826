// File-system paths the shell gives (the Favorites folder, a folder chosen
// in the folder browser, a file chosen in the open-file dialog) in the ANSI
// code page the program's texts use. A path whose name the code page cannot
// hold is refused rather than passed on with '?' in it, and no path is cut
// at MAX_PATH.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace transfer {

enum class ShellPath {
    kOk,
    kNone,              // the item is no file-system folder or file
    kOutsideCodePage,   // a character of its path has no ANSI form
};

// `wide` in the ANSI code page; kOutsideCodePage when a character has none.
ShellPath AnsiPathOf(const std::wstring& wide, std::string& ansi);
// The file-system path of a shell item.
ShellPath AnsiPathOf(PCIDLIST_ABSOLUTE item, std::string& ansi);
// The current user's Favorites folder.
ShellPath FavoritesFolderPath(std::string& ansi);

}  // namespace transfer
