// Linked into every test program of the Windows build. Under Wine a crash
// (an access violation on any thread, a corrupted heap) is reported by the
// debugger and the process then ends with exit code 0, which CTest counts as
// a pass. The program ends with a failing code instead.
#include <windows.h>

#include <cstdio>

namespace {

LONG WINAPI EndWithFailure(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "\nunhandled exception 0x%08lx at %p: the test program ends as failed\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                 info->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

const bool kInstalled = (::SetUnhandledExceptionFilter(EndWithFailure), true);

}  // namespace
