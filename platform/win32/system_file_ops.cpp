#include "platform/file_io.h"

#include <windows.h>

#include <cstdio>

namespace platform {
namespace {

class Win32FileOps final : public FileOps {
public:
    bool Create(const std::string& path) override {
        file_ = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        return Check(file_ != INVALID_HANDLE_VALUE);
    }
    bool Write(const char* data, std::size_t size) override {
        while (size > 0) {
            DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!Check(::WriteFile(file_, data, chunk, &written, nullptr))) return false;
            if (written != chunk) {
                // A short write sets no error code: the disk took no more.
                ::SetLastError(ERROR_DISK_FULL);
                return Check(false);
            }
            data += written;
            size -= written;
        }
        return true;
    }
    bool Flush() override { return Check(::FlushFileBuffers(file_) != 0); }
    bool Close() override {
        if (file_ == INVALID_HANDLE_VALUE) return true;
        BOOL ok = ::CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
        return Check(ok != 0);
    }
    bool Replace(const std::string& from, const std::string& to) override {
        // A file the user marked read-only is not replaced (Windows refuses
        // it; Wine would not, so ask first).
        DWORD attributes = ::GetFileAttributesA(to.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            ::SetLastError(ERROR_ACCESS_DENIED);
            return Check(false);
        }
        return Check(::MoveFileExA(from.c_str(), to.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0);
    }
    bool Remove(const std::string& path) override { return Check(::DeleteFileA(path.c_str()) != 0); }
    std::string LastError() const override { return error_; }

private:
    bool Check(bool ok) {
        if (!ok) {
            DWORD code = ::GetLastError();
            char text[512] = {};
            DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, code, 0, text, sizeof text, nullptr);
            while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) text[--n] = 0;
            if (n == 0) std::snprintf(text, sizeof text, "Windows error %lu", code);
            error_ = text;
        }
        return ok;
    }

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string error_;
};

}  // namespace

FileOps& SystemFileOps() {
    thread_local Win32FileOps ops;
    return ops;
}

std::unique_ptr<FileOps> NewSystemFileOps() { return std::make_unique<Win32FileOps>(); }

}  // namespace platform
