// Path and name rules of the transfer jobs, apart from any file system.
#pragma once

#include <string>
#include <string_view>

namespace transfer {

class ITransferFileSystem;

// `folder` with a backslash at its end; an empty path stays empty (a lone
// backslash would be the root of the current drive). A trail byte equal to a
// backslash does not count as one.
std::string WithTrailingBackslash(std::string_view folder);

// A shortcut's title: its file name without the last extension (the part
// from the last dot on); a name whose only dot is its first character keeps
// it. Characters a title may not hold (also the '?' that stands for a
// character outside the code page) become spaces.
std::string TitleOfFileName(std::string_view ansiName);

// A category or bookmark name as a file or folder name that stays inside its
// folder: control and reserved characters become '_', trailing dots and
// spaces go, an empty result becomes "_", a device name (CON, NUL, COM1, ...,
// also before an extension) gets a leading '_', and a name longer than
// kMaxDiskName bytes is cut at a whole character. Ordinary names are kept.
constexpr std::size_t kMaxDiskName = 200;
std::string DiskName(std::string_view name);

// Creates every missing folder of `path` (a trailing backslash is added)
// after its root ("C:\" or "\\server\share\"). Paths of three characters or
// fewer are left alone. False when a folder could not be made.
bool CreateFolderPath(ITransferFileSystem& fs, const std::string& path);

}  // namespace transfer
