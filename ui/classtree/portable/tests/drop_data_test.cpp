#include "drop_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using classtree::kDescriptorCountSize;
using classtree::kDescriptorNameOffset;
using classtree::kDescriptorNameSize;
using classtree::kDescriptorSize;

// A descriptor block of `count` claimed descriptors holding `names`, cut to
// `size` bytes. Each block lives in its own heap allocation of exactly that
// size, so that a read past its end is caught by the address sanitizer.
std::unique_ptr<unsigned char[]> Block(std::uint32_t count, const std::vector<std::string>& names,
                                       std::size_t size) {
    std::vector<unsigned char> full(kDescriptorCountSize + kDescriptorSize * (names.empty() ? 1 : names.size()), 0);
    std::memcpy(full.data(), &count, sizeof count);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t at = kDescriptorCountSize + i * kDescriptorSize + kDescriptorNameOffset;
        std::memcpy(full.data() + at, names[i].data(), std::min(names[i].size(), kDescriptorNameSize));
    }
    auto block = std::make_unique<unsigned char[]>(size);
    std::memcpy(block.get(), full.data(), std::min(size, full.size()));
    return block;
}

constexpr std::size_t kNameStart = kDescriptorCountSize + kDescriptorNameOffset;

TEST(DescriptorTitle, ReadsTheFirstNameWithinTheBlock) {
    struct Case {
        const char* why;
        std::uint32_t count;
        std::vector<std::string> names;
        std::size_t size;
        std::string title;
    };
    const std::string full260(kDescriptorNameSize, 'A');
    const Case cases[] = {
        {"a browser link", 1, {"Example.url"}, kDescriptorCountSize + kDescriptorSize, "Example"},
        {"only the first of two", 2, {"First.url", "Second.url"}, kDescriptorCountSize + 2 * kDescriptorSize, "First"},
        {"count claims more than the block holds", 50, {"Claimed.url"}, kDescriptorCountSize + kDescriptorSize,
         "Claimed"},
        {"a count of zero", 0, {"Ignored.url"}, kDescriptorCountSize + kDescriptorSize, ""},
        {"an empty block", 0, {}, 0, ""},
        {"a block holding only part of the count", 1, {}, 3, ""},
        {"ends right where the name begins", 1, {"Cut.url"}, kNameStart, ""},
        {"ends inside the name", 1, {"Truncated.url"}, kNameStart + 6, "Tr"},
        {"a name filling its field without a zero", 1, {full260}, kDescriptorCountSize + kDescriptorSize,
         std::string(kDescriptorNameSize - 4, 'A')},
        {"a name without zero at the end of the block", 1, {full260}, kNameStart + kDescriptorNameSize,
         std::string(kDescriptorNameSize - 4, 'A')},
        {"a name shorter than the suffix stays whole", 1, {"abc"}, kDescriptorCountSize + kDescriptorSize, "abc"},
        {"an empty name", 1, {""}, kDescriptorCountSize + kDescriptorSize, ""},
        {"Chinese characters count as one each", 1, {"新闻网站.url"}, kDescriptorCountSize + kDescriptorSize,
         "新闻网站"},
    };
    for (const Case& c : cases) {
        auto block = Block(c.count, c.names, c.size);
        EXPECT_EQ(classtree::TitleOfDescriptorBlock(c.size ? block.get() : nullptr, c.size), c.title) << c.why;
        // The same bytes handed with a pointer but no size read nothing.
        EXPECT_EQ(classtree::TitleOfDescriptorBlock(block.get(), 0), "") << c.why;
    }
}

TEST(DescriptorTitle, SuffixRemovalCountsCharacters) {
    EXPECT_EQ(classtree::WithoutSuffix("新闻"), "新闻");
    EXPECT_EQ(classtree::WithoutSuffix("首页新闻中心"), "首页");
    EXPECT_EQ(classtree::WithoutSuffix("a新闻中心"), "a") << "four double-byte characters go whole";
    EXPECT_EQ(classtree::WithoutSuffix("link"), "");
    EXPECT_EQ(classtree::WithoutSuffix(""), "");
}

TEST(DropText, StopsAtTheFirstZeroOrTheEndOfTheBlock) {
    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {std::string("http://a.example/\0junk", 22), "http://a.example/"},
        {"http://no-terminator.example/", "http://no-terminator.example/"},
        {std::string("\0", 1), ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        auto block = std::make_unique<char[]>(c.bytes.size() + 1);
        std::memcpy(block.get(), c.bytes.data(), c.bytes.size());
        EXPECT_EQ(classtree::TextOfBlock(block.get(), c.bytes.size()), c.text) << c.bytes;
    }
    EXPECT_EQ(classtree::TextOfBlock(nullptr, 10), "");
}

// The Unicode forms browsers offer: a block of UTF-16 units, little-endian.
std::string Utf16Bytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(DropText, UnicodeBlocksStopAtTheFirstZeroUnitOrTheEnd) {
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {Utf16Bytes(u"http://한.kr/") + std::string("\0\0junk", 6), u"http://한.kr/"},
        {Utf16Bytes(u"no-zero"), u"no-zero"},
        {Utf16Bytes(u"odd") + "x", u"odd"},  // a dangling byte is no unit
        {std::string("\0\x4E", 2), u"一"},    // a zero byte is no zero unit
        {"", u""},
    };
    for (const Case& c : cases) {
        auto block = std::make_unique<char[]>(c.bytes.size() + 1);
        std::memcpy(block.get(), c.bytes.data(), c.bytes.size());
        EXPECT_EQ(classtree::WideTextOfBlock(block.get(), c.bytes.size()), c.text) << c.bytes.size();
    }
    EXPECT_EQ(classtree::WideTextOfBlock(nullptr, 10), u"");
}

TEST(DescriptorTitle, TheUnicodeDescriptorGivesTheFirstNameWithoutItsSuffix) {
    constexpr std::size_t kWideSize = kDescriptorNameOffset + classtree::kWideDescriptorNameSize;
    auto block = [&](std::uint32_t count, const std::u16string& name, std::size_t size) {
        std::string bytes(kDescriptorCountSize + kWideSize, '\0');
        std::memcpy(bytes.data(), &count, sizeof count);
        const std::string units = Utf16Bytes(name);
        bytes.replace(kNameStart, std::min(units.size(), classtree::kWideDescriptorNameSize),
                      units.substr(0, classtree::kWideDescriptorNameSize));
        bytes.resize(size);
        return bytes;
    };
    struct Case {
        std::uint32_t count;
        std::u16string name;
        std::size_t size;
        std::u16string title;
    };
    const std::u16string full(260, u'a');
    const Case cases[] = {
        {1, u"대한민국 - 위키백과.url", kDescriptorCountSize + kWideSize, u"대한민국 - 위키백과"},
        {1, u"😀😀.url", kDescriptorCountSize + kWideSize, u"😀😀"},
        {1, u"ab😀", kDescriptorCountSize + kWideSize, u"ab😀"} /* three characters stay whole */,
        {1, u"x😀.ur", kDescriptorCountSize + kWideSize, u"x"} /* a pair counts as one */,
        {0, u"Ignored.url", kDescriptorCountSize + kWideSize, u""},
        {1, u"Cut.url", kNameStart + 1, u""},  // half a unit
        {1, u"Truncated.url", kNameStart + 12, u"Tr"},
        {1, full, kDescriptorCountSize + kWideSize, std::u16string(256, u'a')},
    };
    for (const Case& c : cases) {
        const std::string bytes = block(c.count, c.name, c.size);
        auto exact = std::make_unique<char[]>(bytes.size());
        std::memcpy(exact.get(), bytes.data(), bytes.size());
        EXPECT_EQ(classtree::WideTitleOfDescriptorBlock(exact.get(), bytes.size()), c.title);
    }
    EXPECT_EQ(classtree::WideTitleOfDescriptorBlock(nullptr, 600), u"");
}

TEST(ShortcutTitle, TakesTheNameWithoutFolderAndExtension) {
    struct Case {
        const char* path;
        const char* title;
    };
    const Case cases[] = {
        {"C:\\users\\me\\Favorites\\Example.url", "Example"},
        {"C:\\a.b\\name.with.dots.url", "name.with.dots"},
        {"C:\\folder.ext\\noextension", "noextension"},
        {"D:Relative.url", "Relative"},
        {"plain", "plain"},
        {"C:\\dir\\", ""},
        // 0x5C as the trail byte of a double-byte character is no separator.
        {"C:\\\x95\x5C\x95\x5C.url", "\x95\x5C\x95\x5C"},
        {"C:\\a/b/forward.url", "forward"},
    };
    for (const Case& c : cases) EXPECT_EQ(classtree::TitleOfShortcutPath(c.path), c.title) << c.path;
}

// A move would make the source delete what was dropped: only the program's
// own bookmarks may move.
TEST(DropEffect, OutsideDataIsNeverMoved) {
    using namespace classtree;
    struct Case {
        bool own;
        unsigned allowed;
        bool control;
        unsigned effect;
    };
    const Case cases[] = {
        {false, kEffectCopy | kEffectMove | kEffectLink, false, kEffectCopy},
        {false, kEffectCopy | kEffectMove | kEffectLink, true, kEffectCopy},
        {false, kEffectMove | kEffectLink, false, kEffectLink},
        {false, kEffectMove, false, kEffectNone},
        {true, kEffectCopy | kEffectMove, false, kEffectMove},
        {true, kEffectCopy | kEffectMove, true, kEffectCopy},
        {true, kEffectCopy, false, kEffectCopy},
        {true, kEffectMove, true, kEffectMove},
        {true, kEffectLink, false, kEffectNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseDropEffect(c.own, c.allowed, c.control), c.effect)
            << "own " << c.own << " allowed " << c.allowed << " control " << c.control;
    }
}

}  // namespace

