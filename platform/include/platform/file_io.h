// Whole-file reading and crash-safe file replacement, on byte-string paths in
// the ANSI code page.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// Reads the whole file into `data`. On failure returns false and sets `error`
// to the reason (FileErrorText: the system's text on Windows).
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error);

// The file calls that a replacement makes, in order: Create (the temporary
// file), Write (one or more blocks), Flush, Close, Replace (temporary over the
// target). Remove cleans up the temporary file after a failure. Tests put a
// fake here to stop after any call.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual bool Create(const std::string& path) = 0;
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool Flush() = 0;
    virtual bool Close() = 0;
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Text for the last failure (strerror-style).
    virtual std::string LastError() const = 0;
};

// The real file system of this platform: one set of calls per thread.
FileOps& SystemFileOps();
// A set of its own, for a thread that writes files for its whole life (the
// file writer). MinGW frees a thread's thread-local objects at its end in an
// order that can corrupt the heap, so such a thread never uses
// SystemFileOps.
std::unique_ptr<FileOps> NewSystemFileOps();

// Size of the blocks ReplaceFileContents hands to FileOps::Write.
constexpr std::size_t kWriteBlockSize = 1 << 20;

// Name of the temporary file used while `path` is replaced.
std::string TemporaryPathFor(const std::string& path);

// Writes `data` to a temporary file beside `path`, flushes it to disk and then
// puts it in place of `path` in one step. On any failure the old file is left
// as it was, the temporary file is removed, `error` says why and the result is
// false. A temporary file left by an earlier crash is simply overwritten.
bool ReplaceFileContents(const std::string& path, std::string_view data,
                         std::string& error, FileOps& ops = SystemFileOps());

}  // namespace platform
