// The transfer jobs' file system on Windows. Native paths are UTF-8, turned
// into UTF-16 for every call, so names outside the ANSI code page are walked
// and opened by their real names, and long paths get the "\\?\" form.
#pragma once

#include "transfer_file_system.h"

#include <string>

namespace transfer {

class CWin32FileSystem : public ITransferFileSystem {
public:
    void BeginThread() override;
    void EndThread() override;

    std::string NativePath(const std::string& ansiPath) const override;
    std::string AnsiText(const std::string& native) const override;
    bool PathsAreAnsi() const override { return false; }

    bool ListFolder(const std::string& folder, std::vector<TransferEntry>& entries) override;
    bool FolderIdentity(const std::string& folder, FolderId& id) override;
    PathKind KindOf(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool ReadFile(const std::string& path, std::string& data) override;
    std::string ReadShortcutUrl(const std::string& file) override;
    bool WriteShortcut(const std::string& url, const std::string& file) override;
    bool WriteFile(const std::string& path, std::string_view data) override;

private:
    bool comStarted_ = false;
};

}  // namespace transfer
