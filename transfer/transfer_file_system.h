// What an import or export job needs of the file system and of the system's
// Internet Shortcut object. The program's implementation talks to Windows
// (win32/); the tests use an in-memory one (testing/).
//
// Paths handed to these calls are "native": the job builds them only by
// joining a folder (ending in a backslash), a name from ListFolder or
// NativeName, and a backslash. What the bytes mean is the implementation's
// business (UTF-8 for the Windows one, so that names outside the ANSI code
// page survive the walk).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace transfer {

struct TransferEntry {
    std::string name;       // native name, for building paths
    std::string ansiName;   // the same in the ANSI code page, for titles
    bool isFolder = false;
    // A link or junction: the walks do not follow it.
    bool isLink = false;
    std::uint64_t size = 0;
};

// Identifies a folder however it was reached (volume and file index).
struct FolderId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FolderId&) const = default;
};

enum class PathKind { kNone, kFile, kFolder };

// Shortcut files larger than this are counted, never read.
constexpr std::uint64_t kMaxShortcutSize = 1u << 20;

class ITransferFileSystem {
public:
    virtual ~ITransferFileSystem() = default;

    // Around the worker thread's work (COM for the shortcut object).
    virtual void BeginThread() {}
    virtual void EndThread() {}

    // Conversions between the program's ANSI texts and native paths.
    virtual std::string NativePath(const std::string& ansiPath) const = 0;
    virtual std::string AnsiText(const std::string& native) const = 0;
    // Whether native paths are bytes of the ANSI code page (their trail
    // bytes may then equal a backslash).
    virtual bool PathsAreAnsi() const = 0;

    // The entries of `folder` (ending in a backslash) in the order the file
    // system gives them, "." and ".." left out. False when it cannot be listed.
    virtual bool ListFolder(const std::string& folder, std::vector<TransferEntry>& entries) = 0;
    virtual bool FolderIdentity(const std::string& folder, FolderId& id) = 0;
    virtual PathKind KindOf(const std::string& path) = 0;
    virtual bool CreateFolder(const std::string& path) = 0;
    virtual bool ReadFile(const std::string& path, std::string& data) = 0;

    // The shortcut's URL; empty when the file is no shortcut, has no URL,
    // cannot be read or is larger than kMaxShortcutSize.
    virtual std::string ReadShortcutUrl(const std::string& file) = 0;
    // Writes a shortcut to `url`, replacing an existing file in one step.
    virtual bool WriteShortcut(const std::string& url, const std::string& file) = 0;
    // Writes `data` as the file `path`, replacing an existing file in one
    // step; the parent folder must exist.
    virtual bool WriteFile(const std::string& path, std::string_view data) = 0;
};

}  // namespace transfer
