#include "framework/callback_guard.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace framework {
namespace {
std::atomic<long> g_exceptionCount{0};
}

void ReportCallbackException(const char* where, const char* what) noexcept {
    ++g_exceptionCount;
    char text[512];
    std::snprintf(text, sizeof text, "quorva: exception stopped at %s: %s\n", where ? where : "?", what ? what : "?");
    ::OutputDebugStringA(text);
}

long CallbackExceptionCount() noexcept { return g_exceptionCount.load(); }

}  // namespace framework
