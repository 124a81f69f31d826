// The portable half of keeping files; the system calls are in
// posix/file_keeping_system.cpp and win32/file_keeping_system.cpp.
#include "platform/file_keeping.h"

#include <chrono>
#include <cstdio>
#include <thread>
#include <ctime>

#include "platform/file_io.h"

namespace platform {

LocalTime LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
#ifdef _WIN32
    localtime_s(&parts, &now);
#else
    localtime_r(&now, &parts);
#endif
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour, parts.tm_min, parts.tm_sec};
}

bool ReadWholeFileRetrying(const std::string& path, std::string& data, std::string& error, const RetryPlan& plan) {
    for (int attempt = 1;; ++attempt) {
        if (ReadWholeFile(path, data, error)) return true;
        if (attempt >= plan.attempts || !FileSizeOf(path)) return false;
        if (plan.sleep) {
            plan.sleep(plan.pauseMs);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(plan.pauseMs));
        }
    }
}

}  // namespace platform

namespace platform {

std::string UnreadableCopyName(const std::string& path, const LocalTime& when, int attempt) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, ".unreadable-%04d%02d%02d-%02d%02d%02d", when.year, when.month, when.day,
                  when.hour, when.minute, when.second);
    std::string name = path + stamp;
    if (attempt > 1) {
        name += '-';
        name += std::to_string(attempt);
    }
    return name;
}

bool KeepUnreadableCopy(const std::string& path, const LocalTime& when, std::string& copyPath, std::string& error) {
    // A hundred copies in the same second is more than any start-up makes.
    constexpr int kMaxAttempts = 100;
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        copyPath = UnreadableCopyName(path, when, attempt);
        bool exists = false;
        if (CopyToNewFile(path, copyPath, error, &exists)) return true;
        if (!exists) return false;
    }
    return false;
}

}  // namespace platform
