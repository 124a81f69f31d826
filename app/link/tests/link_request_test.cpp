#include "link_request.h"

#include "frame_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using link_host::EncodeFrame;
using link_host::SessionEnd;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Records what it was asked to file; refuses with `refusal` when set.
class RecordingFiler final : public link_host::LinkFiler {
public:
    std::string File(const std::u16string& url, const std::u16string& title) override {
        filed.push_back({url, title});
        return refusal;
    }
    std::vector<std::pair<std::u16string, std::u16string>> filed;
    std::string refusal;
};

std::string Answer(const std::string& json, link_host::LinkFiler& filer) {
    link_host::Frame frame;
    frame.size = static_cast<std::uint32_t>(json.size());
    frame.text = json;
    return link_host::AnswerFrame(frame, filer);
}

std::string Repeat(const std::u8string& unit, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out.append(reinterpret_cast<const char*>(unit.data()), unit.size());
    return out;
}

TEST(LinkRequest, RepliesSayWhetherTheLinkWasFiledAndWhyNot) {
    struct Case {
        const char* name;
        std::string json;
        std::string reply;
        bool filed;
    };
    const Case cases[] = {
        {"a link", R"({"url":"http://a/","title":"A"})", R"({"ok":true})", true},
        {"no title", R"({"url":"http://a/"})", R"({"ok":true})", true},
        {"not JSON", "{url", R"({"ok":false,"error":"not-json"})", false},
        {"not an object", "[]", R"({"ok":false,"error":"not-an-object"})", false},
        {"no url", R"({"title":"A"})", R"({"ok":false,"error":"url-missing"})", false},
        {"url not a string", R"({"url":1})", R"({"ok":false,"error":"url-not-a-string"})", false},
        {"url empty", R"({"url":""})", R"({"ok":false,"error":"url-empty"})", false},
        {"title not a string", R"({"url":"u","title":{}})", R"({"ok":false,"error":"title-not-a-string"})", false},
        {"too deep", "{\"a\":" + std::string(100, '['), R"({"ok":false,"error":"nested-too-deep"})", false},
        // The limits are bytes of the code page, after the program's own conversion.
        {"url of 65,536 ASCII bytes", R"({"url":")" + std::string(65536, 'u') + "\"}", R"({"ok":true})", true},
        {"url of 65,537 ASCII bytes", R"({"url":")" + std::string(65537, 'u') + "\"}",
         R"({"ok":false,"error":"url-too-long"})", false},
        // Each character outside the code page is 12 bytes percent-encoded.
        {"url with 5,460 characters outside GBK", "{\"url\":\"http://a/" + Repeat(u8"😀", 5460) + "\"}",
         R"({"ok":true})", true},
        {"url with 5,461 characters outside GBK", "{\"url\":\"http://a/" + Repeat(u8"😀", 5461) + "\"}",
         R"({"ok":false,"error":"url-too-long"})", false},
        {"title of 32,768 Chinese characters", "{\"url\":\"u\",\"title\":\"" + Repeat(u8"书", 32768) + "\"}",
         R"({"ok":true})", true},
        {"title of 32,769 Chinese characters", "{\"url\":\"u\",\"title\":\"" + Repeat(u8"书", 32769) + "\"}",
         R"({"ok":false,"error":"title-too-long"})", false},
    };
    for (const Case& c : cases) {
        RecordingFiler filer;
        EXPECT_EQ(Answer(c.json, filer), c.reply) << c.name;
        EXPECT_EQ(filer.filed.size(), c.filed ? 1u : 0u) << c.name;
    }
}

TEST(LinkRequest, TheTextsReachTheFilerAsTheBrowserSentThem) {
    RecordingFiler filer;
    EXPECT_EQ(Answer(U8(u8R"({"url":"http://例子.测试/😀?q=书","title":"한국 书签 😀"})"), filer), R"({"ok":true})");
    ASSERT_EQ(filer.filed.size(), 1u);
    EXPECT_EQ(filer.filed[0].first, u"http://例子.测试/😀?q=书");
    EXPECT_EQ(filer.filed[0].second, u"한국 书签 😀");
}

TEST(LinkRequest, TheFilersRefusalIsPassedOn) {
    RecordingFiler filer;
    filer.refusal = "program-not-registered";
    EXPECT_EQ(Answer(R"({"url":"u"})", filer), R"({"ok":false,"error":"program-not-registered"})");
}

TEST(LinkRequest, AMessageOverOneMebibyteIsRefusedUnread) {
    RecordingFiler filer;
    link_host::Frame frame;
    frame.tooLong = true;
    frame.size = 2 * 1024 * 1024;
    EXPECT_EQ(link_host::AnswerFrame(frame, filer), R"({"ok":false,"error":"message-too-long"})");
    EXPECT_TRUE(filer.filed.empty());
}

// A whole session: the input in pieces of `piece` bytes, the replies collected.
struct Session {
    SessionEnd end;
    std::string output;
    RecordingFiler filer;
};

void RunSession(const std::string& input, std::size_t piece, Session& session, int writesAllowed = 1000) {
    std::size_t at = 0;
    auto read = [&](char* buffer, std::size_t size) {
        const std::size_t n = std::min({piece, size, input.size() - at});
        std::copy_n(input.data() + at, n, buffer);
        at += n;
        return n;
    };
    auto write = [&](const std::string& bytes) {
        if (writesAllowed-- <= 0) return false;
        session.output += bytes;
        return true;
    };
    session.end = link_host::Serve(read, write, session.filer);
}

TEST(LinkRequest, ASessionAnswersEveryMessageInOrderHoweverTheInputArrives) {
    const std::string input = EncodeFrame(R"({"url":"http://one/","title":"One"})") + EncodeFrame("{bad") +
                              EncodeFrame(std::string(1024 * 1024 + 1, ' ')) + EncodeFrame(R"({"title":"x"})") +
                              EncodeFrame(U8(u8R"({"url":"http://two/","title":"二 😀"})"));
    const std::string expected = EncodeFrame(R"({"ok":true})") + EncodeFrame(R"({"ok":false,"error":"not-json"})") +
                                 EncodeFrame(R"({"ok":false,"error":"message-too-long"})") +
                                 EncodeFrame(R"({"ok":false,"error":"url-missing"})") + EncodeFrame(R"({"ok":true})");
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{4096}, input.size()}) {
        Session session;
        RunSession(input, piece, session);
        EXPECT_EQ(session.end, SessionEnd::kInputEnded) << piece;
        EXPECT_EQ(session.output, expected) << piece;
        ASSERT_EQ(session.filer.filed.size(), 2u) << piece;
        EXPECT_EQ(session.filer.filed[0].second, u"One");
        EXPECT_EQ(session.filer.filed[1].second, u"二 😀");
    }
}

TEST(LinkRequest, ASessionEndsCleanlyWhereverTheInputStops) {
    const std::string first = EncodeFrame(R"({"url":"http://one/"})");
    const std::string second = EncodeFrame(R"({"url":"http://two/"})");
    const std::string input = first + second;
    for (std::size_t n = 0; n <= input.size(); ++n) {
        Session session;
        RunSession(input.substr(0, n), 5, session);
        const std::size_t whole = n >= input.size() ? 2 : n >= first.size() ? 1 : 0;
        const bool boundary = n == 0 || n == first.size() || n == input.size();
        EXPECT_EQ(session.end, boundary ? SessionEnd::kInputEnded : SessionEnd::kCutShort) << n;
        EXPECT_EQ(session.filer.filed.size(), whole) << n;
        EXPECT_EQ(session.output.size(), whole * EncodeFrame(R"({"ok":true})").size()) << n;
    }
}

TEST(LinkRequest, ASessionStopsWhenItsRepliesCannotBeWritten) {
    Session session;
    RunSession(EncodeFrame(R"({"url":"a"})") + EncodeFrame(R"({"url":"b"})"), 4096, session, 1);
    EXPECT_EQ(session.end, SessionEnd::kOutputFailed);
    EXPECT_EQ(session.filer.filed.size(), 2u);  // the second was filed; its reply had nowhere to go
}

}  // namespace
