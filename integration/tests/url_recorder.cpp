// Stands in for the browser in the tests: appends the time and its own
// command line to "recorder.log" beside itself, one line per start.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string log(path, length);
    log = log.substr(0, log.find_last_of('\\') + 1) + "recorder.log";
    char line[4096];
    const int size = std::snprintf(line, sizeof line, "%llu %s\r\n",
                                   static_cast<unsigned long long>(::GetTickCount64()), ::GetCommandLineA());
    if (size <= 0) return 1;
    // Several starts may append at once: each writes its line in one call.
    HANDLE file = ::CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const DWORD count = static_cast<DWORD>(size < static_cast<int>(sizeof line) ? size : sizeof line - 1);
    ::WriteFile(file, line, count, &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
