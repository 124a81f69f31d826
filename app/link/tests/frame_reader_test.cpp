#include "frame_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using link_host::EncodeFrame;
using link_host::Frame;
using link_host::FrameReader;

std::string Header(std::uint32_t size) {
    std::string header(4, '\0');
    std::memcpy(header.data(), &size, 4);
    return header;
}

// What the reader made of `input` fed in pieces of `piece` bytes: one line
// per message, "text" or "too-long:<size>".
std::vector<std::string> Read(FrameReader& reader, const std::string& input, std::size_t piece) {
    std::vector<std::string> seen;
    for (std::size_t at = 0; at < input.size(); at += piece) {
        const std::size_t n = std::min(piece, input.size() - at);
        for (const Frame& frame : reader.Feed(input.data() + at, n)) {
            seen.push_back(frame.tooLong ? "too-long:" + std::to_string(frame.size) : frame.text);
        }
    }
    return seen;
}

TEST(FrameReader, TheHeaderIsTheMachinesByteOrder) {
    EXPECT_EQ(EncodeFrame("{}"), std::string("\x02\x00\x00\x00{}", 6));
    EXPECT_EQ(EncodeFrame(""), std::string(4, '\0'));
    EXPECT_EQ(EncodeFrame(std::string(0x1A0D, 'x')).substr(0, 4), std::string("\x0D\x1A\x00\x00", 4));
}

TEST(FrameReader, MessagesComeOutWholeHoweverTheInputIsSplit) {
    // Lengths holding 0x1A and CR LF bytes, an empty message, a body with NULs.
    const std::vector<std::string> messages = {
        "{\"url\":\"http://a/\"}", "", std::string(0x0D0A, 'y'), std::string(0x1A, 'z'), std::string("a\0b", 3),
        "{\"title\":\"书签\"}"};
    std::string input;
    for (const std::string& m : messages) input += EncodeFrame(m);
    for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{4}, std::size_t{5},
                              std::size_t{7}, std::size_t{4096}, input.size()}) {
        FrameReader reader;
        EXPECT_EQ(Read(reader, input, piece), messages) << "pieces of " << piece;
        EXPECT_FALSE(reader.MidMessage()) << "pieces of " << piece;
    }
}

TEST(FrameReader, InputEndingInsideAMessageIsSeen) {
    const std::string whole = EncodeFrame("{\"url\":\"http://a/\"}");
    struct Case {
        const char* name;
        std::string input;
        std::size_t messages;
        bool midMessage;
    };
    const Case cases[] = {
        {"nothing", "", 0, false},
        {"one header byte", whole.substr(0, 1), 0, true},
        {"three header bytes", whole.substr(0, 3), 0, true},
        {"header only", whole.substr(0, 4), 0, true},
        {"half the body", whole.substr(0, 10), 0, true},
        {"all but one byte", whole.substr(0, whole.size() - 1), 0, true},
        {"whole", whole, 1, false},
        {"whole, then a header byte", whole + whole.substr(0, 1), 1, true},
        {"an empty message", Header(0), 1, false},
        {"a header promising 4 GB", Header(0xFFFFFFFFu) + "abc", 0, true},
    };
    for (const Case& c : cases) {
        FrameReader reader;
        EXPECT_EQ(Read(reader, c.input, 3).size(), c.messages) << c.name;
        EXPECT_EQ(reader.MidMessage(), c.midMessage) << c.name;
    }
}

TEST(FrameReader, AMessageOverTheLimitIsSkippedAndTheNextOneRead) {
    const std::string atLimit(16, 'a');
    const std::string input = EncodeFrame(atLimit) + EncodeFrame(std::string(17, 'b')) + EncodeFrame("after");
    for (std::size_t piece : {std::size_t{1}, std::size_t{6}, input.size()}) {
        FrameReader reader(16);
        EXPECT_EQ(Read(reader, input, piece), (std::vector<std::string>{atLimit, "too-long:17", "after"}));
        EXPECT_FALSE(reader.MidMessage());
    }
}

TEST(FrameReader, TheRealLimitIsOneMebibyte) {
    FrameReader reader;
    const std::string atLimit(link_host::kMaxMessageBytes, 'x');
    const std::string over(link_host::kMaxMessageBytes + 1, 'x');
    const std::vector<std::string> seen = Read(reader, EncodeFrame(atLimit) + EncodeFrame(over), 64 * 1024);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].size(), atLimit.size());
    EXPECT_EQ(seen[1], "too-long:" + std::to_string(over.size()));
}

}  // namespace
