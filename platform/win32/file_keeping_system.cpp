#include "platform/file_io.h"
#include "platform/file_keeping.h"

#include <windows.h>

#include <cstdio>

namespace platform {
namespace {

std::string SystemText(DWORD code) {
    char text[512] = {};
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                               sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) text[--n] = 0;
    if (n == 0) std::snprintf(text, sizeof text, "Windows error %lu", code);
    return text;
}

bool Fail(std::string& error) {
    error = SystemText(::GetLastError());
    return false;
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    bool Close() {
        if (h_ == INVALID_HANDLE_VALUE) return true;
        BOOL ok = ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok != 0;
    }

private:
    HANDLE h_;
};

bool CopyBlocks(HANDLE from, HANDLE to, std::string& error) {
    static constexpr DWORD kBlock = 1 << 20;
    std::string block(kBlock, '\0');
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(from, block.data(), kBlock, &read, nullptr)) return Fail(error);
        if (read == 0) return true;
        DWORD written = 0;
        if (!::WriteFile(to, block.data(), read, &written, nullptr)) return Fail(error);
        if (written != read) {
            error = SystemText(ERROR_DISK_FULL);
            return false;
        }
    }
}

}  // namespace

std::optional<std::uint64_t> FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool CopyToNewFile(const std::string& from, const std::string& to, std::string& error, bool* exists) {
    if (exists) *exists = false;
    if (::GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (exists) *exists = true;
        error = SystemText(ERROR_FILE_EXISTS);
        return false;
    }
    Handle source(::CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.Ok()) return Fail(error);
    // The copy is written under a temporary name and takes its own only when
    // whole: a copy cut short by the end of the process is never taken for
    // a kept file. A temporary left by such an end is overwritten.
    const std::string temp = TemporaryPathFor(to);
    Handle target(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.Ok()) return Fail(error);
    bool ok = CopyBlocks(source.Get(), target.Get(), error);
    if (ok && !::FlushFileBuffers(target.Get())) ok = Fail(error);
    if (!target.Close() && ok) ok = Fail(error);
    // Without MOVEFILE_REPLACE_EXISTING: a file that took the name meanwhile stays.
    if (ok && !::MoveFileExA(temp.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = ::GetLastError();
        if (exists) *exists = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
        error = SystemText(code);
        ok = false;
    }
    if (!ok) ::DeleteFileA(temp.c_str());
    return ok;
}

bool CanReplaceFile(const std::string& path, std::string& error) {
    // A file the user marked read-only is not replaced (see the file calls
    // of ReplaceFileContents).
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = SystemText(ERROR_ACCESS_DENIED);
        return false;
    }
    // The folder must take the temporary file: try a file of its own, empty
    // and gone on close. Never the save's own temporary file, which the
    // writer thread may be writing at this moment: opening it would fail
    // for sharing, or empty and delete it under the writer.
    Handle probe(::CreateFileA((TemporaryPathFor(path) + ".probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!probe.Ok()) return Fail(error);
    return true;
}

bool CreateFolder(const std::string& path) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

}  // namespace platform
