// quorva-link.exe: started by the browser for its extension, with the
// extension's messages on standard input and the replies expected on
// standard output. Ends when its input ends.
#include "automation_filer.h"
#include "link_request.h"

#include <windows.h>
#include <objbase.h>

#include <string>

namespace {

// A crash report written to standard output would reach the browser as a
// broken message: a crash ends the process quietly instead.
LONG WINAPI EndQuietly(EXCEPTION_POINTERS*) {
    ::ExitProcess(3);
    return EXCEPTION_EXECUTE_HANDLER;
}

bool WriteAll(HANDLE out, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD wrote = 0;
        if (!::WriteFile(out, p, static_cast<DWORD>(left), &wrote, nullptr) || wrote == 0) return false;
        p += wrote;
        left -= wrote;
    }
    return true;
}

// The standard handles are read and written as they are, with no C runtime
// text mode in between: a length byte 0x1A or a CR LF pair passes unchanged.
int Serve() {
    const HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    link_host::AutomationFiler filer;
    auto read = [in](char* buffer, std::size_t size) -> std::size_t {
        DWORD got = 0;
        if (!::ReadFile(in, buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;  // a closed pipe ends it
        return got;
    };
    auto write = [out](const std::string& bytes) { return WriteAll(out, bytes); };
    switch (link_host::Serve(read, write, filer)) {
    case link_host::SessionEnd::kInputEnded: return 0;
    case link_host::SessionEnd::kCutShort: return 1;
    case link_host::SessionEnd::kOutputFailed: return 2;
    }
    return 0;
}

}  // namespace

int main() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(EndQuietly);
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 4;
    int result = 4;
    try {
        result = Serve();
    } catch (...) {
        result = 3;
    }
    ::CoUninitialize();
    return result;
}
