#include "file_list_block.h"

#include <cstdint>
#include <cstring>

namespace classtree {
namespace {

std::uint32_t FieldAt(const unsigned char* bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

}  // namespace

bool FileListFits(const void* block, std::size_t size) {
    if (!block || size < kFileListHeaderSize) return false;
    const auto* bytes = static_cast<const unsigned char*>(block);
    const std::size_t offset = FieldAt(bytes, kFileListOffsetField);
    if (offset < kFileListHeaderSize || offset >= size) return false;
    const std::size_t unit = FieldAt(bytes, kFileListWideField) != 0 ? 2 : 1;
    // Every name ends in a zero unit; an empty name (a zero unit where a
    // name would start) ends the list.
    bool atNameStart = true;
    for (std::size_t at = offset; at + unit <= size; at += unit) {
        const bool zero = bytes[at] == 0 && (unit == 1 || bytes[at + 1] == 0);
        if (zero && atNameStart) return true;
        atNameStart = zero;
    }
    return false;
}

}  // namespace classtree
