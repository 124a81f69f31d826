#include "platform/file_io.h"
#include "platform/error_text.h"

#include <cerrno>
#include <cstdio>

namespace platform {

bool ReadWholeFile(const std::string& path, std::string& data, std::string& error) {
    data.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = FileErrorText(errno);
        return false;
    }
    // Size first so the common case reads in one block; the loop still copes
    // with a file that grows or shrinks meanwhile.
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long size = std::ftell(f);
        if (size > 0) data.reserve(static_cast<std::size_t>(size));
        std::fseek(f, 0, SEEK_SET);
    }
    char block[65536];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) data.append(block, n);
    bool failed = std::ferror(f) != 0;
    if (failed) error = FileErrorText(errno ? errno : EIO);
    std::fclose(f);
    if (failed) data.clear();
    return !failed;
}

}  // namespace platform
