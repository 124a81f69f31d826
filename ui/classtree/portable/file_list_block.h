// The dropped-file list (CF_HDROP) as another program hands it: a 20-byte
// header whose first field is the offset of the names and whose last says
// whether they are UTF-16, then names each ending in a zero, and one more
// zero after the last. The system's reader trusts the offset and looks for
// the final zero wherever it is: the block is checked first.
#pragma once

#include <cstddef>

namespace classtree {

inline constexpr std::size_t kFileListHeaderSize = 20;
inline constexpr std::size_t kFileListOffsetField = 0;
inline constexpr std::size_t kFileListWideField = 16;

// Whether the list's names start within `size` bytes, after the header, and
// end (with the list's final zero) before the block does.
bool FileListFits(const void* block, std::size_t size);

}  // namespace classtree
