#include "platform/file_io.h"

namespace platform {

std::string TemporaryPathFor(const std::string& path) { return path + ".tmp"; }

bool ReplaceFileContents(const std::string& path, std::string_view data,
                         std::string& error, FileOps& ops) {
    const std::string temp = TemporaryPathFor(path);
    if (!ops.Create(temp)) {
        error = ops.LastError();
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < data.size(); done += kWriteBlockSize) {
        std::size_t n = data.size() - done;
        if (n > kWriteBlockSize) n = kWriteBlockSize;
        ok = ops.Write(data.data() + done, n);
    }
    ok = ok && ops.Flush();
    if (!ok) error = ops.LastError();
    // Close even after a failed write, so the temporary file can be removed.
    if (!ops.Close() && ok) {
        error = ops.LastError();
        ok = false;
    }
    if (ok && !ops.Replace(temp, path)) {
        error = ops.LastError();
        ok = false;
    }
    if (!ok) ops.Remove(temp);
    return ok;
}

}  // namespace platform
