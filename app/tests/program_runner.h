// Starting quorva.exe from a test, finding its main window and waiting for
// conditions with a time-out.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace program_test {

constexpr DWORD kTimeoutMs = 30000;

// Polls `condition` until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs);

// A path as Windows programs take it ("/a/b" becomes "Z:\a\b").
std::string WindowsPath(const std::string& path);

// The quorva.exe the build made.
std::string BuiltProgram();

// Every file of a folder (not recursive) with its bytes.
std::map<std::string, std::string> FolderContents(const std::string& folder);

// The names of the elements directly inside <settings>, in file order.
std::vector<std::string> SettingElementNames(const std::string& xml);
// The text of element `name` inside <settings>; "" when missing or empty.
std::string SettingValue(const std::string& xml, const std::string& name);

// The top-level window of the main frame's class owned by process `pid`, or
// null.
HWND MainWindowOf(DWORD pid);
// A visible dialog ("#32770") of process `pid`, or null.
HWND DialogOf(DWORD pid);
// The text of a window of another process.
std::string TextOf(HWND window);
// Answers every question process `pid` shows (No, else Cancel, else OK)
// until none comes for `quietMs`: closing waits for an open one, as it
// would for a user. True when there was one.
bool AnswerQuestionsOf(DWORD pid, DWORD quietMs = 1500);

class RunningProgram {
public:
    RunningProgram() = default;
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Starts `exe` with `arguments` after the quoted program path.
    bool Start(const std::string& exe, const std::string& arguments);
    DWORD Pid() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }

    // The top-level window of the main frame's class owned by the process.
    HWND FindMainWindow() const;
    HWND WaitForMainWindow(DWORD timeoutMs = kTimeoutMs) const;
    bool Running() const;
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    // AnswerQuestionsOf this program.
    bool AnswerQuestions(DWORD quietMs = 1500);
    // WM_CLOSE to the main window, after answering any open question, then
    // waits for the process to end.
    bool Close(DWORD timeoutMs = kTimeoutMs);

private:
    PROCESS_INFORMATION info_{};
};

}  // namespace program_test
