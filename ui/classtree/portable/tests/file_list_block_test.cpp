#include "file_list_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

using classtree::FileListFits;
using classtree::kFileListHeaderSize;

// A header claiming `offset` and `wide`, then `names` (raw bytes), in a heap
// block of exactly that size so that a read past it is caught.
struct Block {
    std::unique_ptr<unsigned char[]> bytes;
    std::size_t size;
};
Block Make(std::uint32_t offset, bool wide, const std::string& names) {
    Block b{std::make_unique<unsigned char[]>(kFileListHeaderSize + names.size()),
            kFileListHeaderSize + names.size()};
    std::memset(b.bytes.get(), 0, kFileListHeaderSize);
    std::memcpy(b.bytes.get(), &offset, sizeof offset);
    const std::uint32_t w = wide ? 1 : 0;
    std::memcpy(b.bytes.get() + 16, &w, sizeof w);
    std::memcpy(b.bytes.get() + kFileListHeaderSize, names.data(), names.size());
    return b;
}

std::string Wide(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

TEST(FileListBlock, OnlyListsThatEndWithinTheBlockAreRead) {
    const std::uint32_t start = kFileListHeaderSize;
    struct Case {
        const char* why;
        std::uint32_t offset;
        bool wide;
        std::string names;
        bool fits;
    };
    const Case cases[] = {
        {"two ANSI names", start, false, std::string("a.url\0b.url\0\0", 13), true},
        {"two wide names", start, true, Wide(std::string("a.url\0b.url\0\0", 13)), true},
        {"an empty list", start, false, std::string("\0", 1), true},
        {"the list's final zero missing", start, false, std::string("a.url\0b.url\0", 12), false},
        {"no zero at all", start, false, "a.url", false},
        {"wide, the last unit cut in half", start, true, Wide(std::string("a.url\0", 6)) + std::string("\0", 1),
         false},
        {"wide names with ANSI zeros only", start, true, std::string("a\0b\0\0", 5), false},
        {"offset beyond the block", 4096, false, std::string("a\0\0", 3), false},
        {"offset at the block's end", start + 3, false, std::string("a\0\0", 3), false},
        {"offset inside the header", 4, false, std::string("a\0\0", 3), false},
        {"offset far out (negative as a signed field)", 0xFFFFFFF0u, false, std::string("a\0\0", 3), false},
        {"offset past some names", start + 2, false, std::string("a\0b\0\0", 5), true},
    };
    for (const Case& c : cases) {
        const Block b = Make(c.offset, c.wide, c.names);
        EXPECT_EQ(FileListFits(b.bytes.get(), b.size), c.fits) << c.why;
    }
}

TEST(FileListBlock, BlocksShorterThanTheHeaderAreRefused) {
    for (std::size_t size = 0; size < kFileListHeaderSize; ++size) {
        auto bytes = std::make_unique<unsigned char[]>(size + 1);
        std::memset(bytes.get(), 0, size + 1);
        EXPECT_FALSE(FileListFits(bytes.get(), size)) << size;
    }
    EXPECT_FALSE(FileListFits(nullptr, 100));
}

}  // namespace
