#include "automation_client.h"

#include <tlhelp32.h>

#include <fstream>
#include <iterator>

namespace automation_test {
namespace {

class Handle {
public:
    explicit Handle(HANDLE h = nullptr) : h_(h) {}
    ~Handle() {
        if (h_ && h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return h_; }
    HANDLE* Put() { return &h_; }

private:
    HANDLE h_;
};

std::string SystemFolder() {
    char dir[MAX_PATH] = "";
    ::GetSystemDirectoryA(dir, MAX_PATH);
    return dir;
}

}  // namespace

Finished RunToEnd(const std::string& commandLine, DWORD timeoutMs) {
    Finished result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    Handle readEnd;
    Handle writeEnd;
    if (!::CreatePipe(readEnd.Put(), writeEnd.Put(), &inherit, 0)) return result;
    ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    startup.hStdInput = nullptr;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info))
        return result;
    Handle process(info.hProcess);
    Handle thread(info.hThread);
    ::CloseHandle(*writeEnd.Put());
    *writeEnd.Put() = nullptr;

    // Read until the child and everything that inherited the pipe let go.
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr)) break;  // closed
        if (available > 0) {
            DWORD got = 0;
            if (!::ReadFile(readEnd.Get(), buffer, sizeof buffer, &got, nullptr) || got == 0) break;
            result.output.append(buffer, got);
            continue;
        }
        if (::WaitForSingleObject(process.Get(), 10) == WAIT_OBJECT_0) {
            // Drain what is left; the pipe may still be held by a child of the child.
            while (::PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
                DWORD got = 0;
                if (!::ReadFile(readEnd.Get(), buffer, sizeof buffer, &got, nullptr) || got == 0) break;
                result.output.append(buffer, got);
            }
            break;
        }
        if (::GetTickCount64() >= deadline) {
            ::TerminateProcess(process.Get(), 99);
            return result;
        }
    }
    if (::WaitForSingleObject(process.Get(), static_cast<DWORD>(deadline > ::GetTickCount64()
                                                                    ? deadline - ::GetTickCount64()
                                                                    : 0)) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 99);
        return result;
    }
    ::GetExitCodeProcess(process.Get(), &result.exitCode);
    result.ran = true;
    return result;
}

std::string ScriptCommand(const std::string& script, const std::string& arguments) {
    return "\"" + SystemFolder() + "\\cscript.exe\" //nologo \"" + script + "\" " + arguments;
}

Finished QueryRegistry(const std::string& key) {
    return RunToEnd("\"" + SystemFolder() + "\\reg.exe\" query \"" + key + "\" /s");
}

std::vector<DWORD> ProcessesOf(const std::string& exePath) {
    std::vector<DWORD> pids;
    Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.Get() == INVALID_HANDLE_VALUE) return pids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.Get(), &entry); more; more = ::Process32Next(snapshot.Get(), &entry)) {
        Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        if (!process.Get()) continue;
        char image[MAX_PATH * 2] = "";
        DWORD size = sizeof image;
        if (!::QueryFullProcessImageNameA(process.Get(), 0, image, &size)) continue;
        if (::lstrcmpiA(image, exePath.c_str()) == 0) pids.push_back(entry.th32ProcessID);
    }
    return pids;
}

std::string PageScript(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    std::ifstream in(path, std::ios::binary);
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t tag = page.find("<script");
    const std::size_t open = tag == std::string::npos ? tag : page.find('>', tag);
    const std::size_t close = page.find("</script>");
    if (open == std::string::npos || close == std::string::npos || close < open) return {};
    return page.substr(open + 1, close - open - 1);
}

void WriteScript(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace automation_test
