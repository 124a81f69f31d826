#include "platform/file_io.h"
#include "platform/file_keeping.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

bool Fail(std::string& error) {
    error = std::strerror(errno);
    return false;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    bool Ok() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    bool Close() {
        if (fd_ < 0) return true;
        int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

private:
    int fd_;
};

bool CopyBlocks(int from, int to, std::string& error) {
    char block[1 << 16];
    for (;;) {
        ssize_t n = ::read(from, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Fail(error);
        if (n == 0) return true;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(to, block + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return Fail(error);
            done += w;
        }
    }
}

std::string FolderOf(const std::string& path) {
    std::string copy = path;
    return ::dirname(copy.data());
}

}  // namespace

std::optional<std::uint64_t> FileSizeOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

bool CopyToNewFile(const std::string& from, const std::string& to, std::string& error, bool* exists) {
    if (exists) *exists = false;
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
        if (exists) *exists = true;
        errno = EEXIST;
        return Fail(error);
    }
    Fd source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.Ok()) return Fail(error);
    // The copy is written under a temporary name and takes its own only when
    // whole: a copy cut short by the end of the process is never taken for
    // a kept file. A temporary left by such an end is overwritten.
    const std::string temp = TemporaryPathFor(to);
    Fd target(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!target.Ok()) return Fail(error);
    bool ok = CopyBlocks(source.Get(), target.Get(), error);
    if (ok && ::fsync(target.Get()) != 0) ok = Fail(error);
    if (!target.Close() && ok) ok = Fail(error);
    // link() never replaces: a file that took the name meanwhile stays.
    if (ok && ::link(temp.c_str(), to.c_str()) != 0) {
        if (exists) *exists = errno == EEXIST;
        ok = Fail(error);
    }
    ::unlink(temp.c_str());
    return ok;
}

bool CanReplaceFile(const std::string& path, std::string& error) {
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) return Fail(error);
    if (::access(FolderOf(path).c_str(), W_OK) != 0) return Fail(error);
    return true;
}

bool CreateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) == 0) return true;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace platform
