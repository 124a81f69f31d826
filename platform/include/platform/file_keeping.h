// Keeping files the program must not lose: reading a file that another
// program may hold for a moment, copying a file beside itself without ever
// replacing an existing one, and asking whether a file can be replaced before
// the text for it is built.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// A moment of local time, as file names show it.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalTime LocalTimeNow();

// The size of the file, none when it does not exist (or is no file).
std::optional<std::uint64_t> FileSizeOf(const std::string& path);

// How often, and how far apart, a failed read of an existing file is tried
// again: a backup tool, a virus scanner or a sync client may hold the file
// without sharing for a moment. `sleep` waits the given milliseconds (none:
// the thread sleeps; tests put a fake here).
struct RetryPlan {
    int attempts = 10;
    unsigned pauseMs = 200;
    std::function<void(unsigned)> sleep;
};

// ReadWholeFile, tried again by `plan` while the read fails and the file
// still exists.
bool ReadWholeFileRetrying(const std::string& path, std::string& data, std::string& error, const RetryPlan& plan);

// Copies `from` to a new file `to`, byte for byte: written to
// TemporaryPathFor(to), flushed to disk, then given the name `to`, so that
// `to` never holds part of a copy. Never replaces a file: when `to` exists
// the copy fails with `exists` set. On any failure nothing is left at `to`
// (unless it existed) nor at the temporary name, and `error` says why.
bool CopyToNewFile(const std::string& from, const std::string& to, std::string& error, bool* exists = nullptr);

// Whether ReplaceFileContents could put a new file in place of `path`: the
// file, when it exists, is not read-only, and its folder takes a new file.
// Asked before the text is built, so that a target that cannot be replaced
// costs neither the text nor a temporary file. `error` says why not.
bool CanReplaceFile(const std::string& path, std::string& error);

bool CreateFolder(const std::string& path);  // true also when it exists
bool RemoveFile(const std::string& path);

}  // namespace platform

namespace platform {

// "<path>.unreadable-YYYYMMDD-HHMMSS", the name under which a file the
// program could not read is kept; `attempt` 2, 3, ... adds "-2", "-3", ...
std::string UnreadableCopyName(const std::string& path, const LocalTime& when, int attempt = 1);

// Copies a file the program could not read beside itself, under the first
// free UnreadableCopyName for `when`, before anything may replace it; an
// earlier copy is never replaced. `copyPath` gets the name chosen (also when
// the copy failed: calling again with the same `when` tries the same name).
bool KeepUnreadableCopy(const std::string& path, const LocalTime& when, std::string& copyPath, std::string& error);

}  // namespace platform
