// Helpers for driving the automation server from outside, as the browser's
// page does: Wine's script host as the client, the registry tool to read the
// registration, and the processes of a given executable.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace automation_test {

struct Finished {
    bool ran = false;  // started and ended within the time-out
    DWORD exitCode = 0;
    std::string output;  // what it wrote to standard output
};

// Runs a command line to its end and collects its output.
Finished RunToEnd(const std::string& commandLine, DWORD timeoutMs = 60000);

// The script host running `script` (a .js file) with `arguments`.
std::string ScriptCommand(const std::string& script, const std::string& arguments);

// "reg query <key> /s": the key with everything below it as text; exit code
// 0 when the key exists.
Finished QueryRegistry(const std::string& key);

// Ids of the running processes whose image is `exePath` (compared without case).
std::vector<DWORD> ProcessesOf(const std::string& exePath);

// The script of the context-menu page at `unixPath` (the page as the program
// carries it): what lies between its script tags.
std::string PageScript(const std::string& unixPath);

// Writes an ASCII script file (the script host reads only the ANSI code page).
void WriteScript(const std::string& path, const std::string& text);

}  // namespace automation_test
