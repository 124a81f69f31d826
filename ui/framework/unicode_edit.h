// Edit controls that hold any Unicode text. A dialog made from its resource by
// the ANSI functions gets ANSI edit controls, which keep only what the code
// page holds: an address pasted from a browser would lose its characters
// before the program could read them. Such a control is replaced by a Unicode
// one of the same style, place, font and tab position.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

// The Unicode control now standing for control `id` (the same when it was
// Unicode already); none when the dialog has no such control.
HWND MakeUnicodeEdit(HWND dialog, int id);

// The whole text of a window as UTF-16.
std::u16string WindowTextUtf16(HWND window);

}  // namespace framework
