// Reading and driving the windows of a running quorva.exe from the test
// process: its dialogs and message boxes, its status bar, its category tree.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace program_test {

// The text of any window or control, read through WM_GETTEXT (which crosses
// processes).
std::string ControlText(HWND window);

// A visible dialog window (class "#32770") of process `pid` that satisfies
// `match`, or null.
HWND DialogOf(DWORD pid, const std::function<bool(HWND)>& match);
HWND WaitForDialogOf(DWORD pid, const std::function<bool(HWND)>& match = {}, DWORD timeoutMs = 30000);
// The texts of a dialog's static controls, one per line (a message box's text).
std::string StaticTexts(HWND dialog);
// Presses the dialog's button `id` as a click would.
void PressButton(HWND dialog, int id);

// The text of the main window's status bar.
std::string StatusText(HWND mainWindow);
// The tree-view control of the category tree.
HWND CategoryTreeOf(HWND mainWindow);

// Adds a top-level category through the window's "add category" command and
// its dialog. False when the dialog did not come.
bool AddCategory(DWORD pid, HWND mainWindow, const std::string& name);

}  // namespace program_test
