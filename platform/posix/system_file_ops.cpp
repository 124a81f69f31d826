#include "platform/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <libgen.h>
#include <unistd.h>
#include <cstdio>

namespace platform {
namespace {

class PosixFileOps final : public FileOps {
public:
    bool Create(const std::string& path) override {
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        return Check(fd_ >= 0);
    }
    bool Write(const char* data, std::size_t size) override {
        while (size > 0) {
            ssize_t n = ::write(fd_, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n == 0) errno = ENOSPC;  // nothing written, no error code: the disk took no more
            if (n <= 0) return Check(false);
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }
    bool Flush() override { return Check(::fsync(fd_) == 0); }
    bool Close() override {
        if (fd_ < 0) return true;
        int rc = ::close(fd_);
        fd_ = -1;
        return Check(rc == 0);
    }
    bool Replace(const std::string& from, const std::string& to) override {
        if (!Check(::rename(from.c_str(), to.c_str()) == 0)) return false;
        SyncFolderOf(to);
        return true;
    }
    bool Remove(const std::string& path) override { return Check(::unlink(path.c_str()) == 0); }
    std::string LastError() const override { return error_; }

private:
    bool Check(bool ok) {
        if (!ok) error_ = std::strerror(errno);
        return ok;
    }
    // Makes the rename itself durable.
    static void SyncFolderOf(const std::string& path) {
        std::string copy = path;
        int dir = ::open(::dirname(copy.data()), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }

    int fd_ = -1;
    std::string error_;
};

}  // namespace

FileOps& SystemFileOps() {
    thread_local PosixFileOps ops;
    return ops;
}

std::unique_ptr<FileOps> NewSystemFileOps() { return std::make_unique<PosixFileOps>(); }

}  // namespace platform
