// Keeps exceptions from crossing into the system: window procedures and thread
// functions run their work through GuardCallback, which reports what escaped
// and turns it into a result.
#pragma once

#include <exception>

namespace framework {

// Reports an exception that reached a callback boundary (to the debugger's
// output) and counts it.
void ReportCallbackException(const char* where, const char* what) noexcept;
long CallbackExceptionCount() noexcept;

template <typename Result, typename Work, typename Fallback>
Result GuardCallback(const char* where, Work&& work, Fallback&& fallback) noexcept {
    try {
        return work();
    } catch (const std::exception& e) {
        ReportCallbackException(where, e.what());
    } catch (...) {
        ReportCallbackException(where, "unknown exception");
    }
    try {
        return fallback();
    } catch (...) {
        ReportCallbackException(where, "exception in fallback");
        return Result{};
    }
}

}  // namespace framework
