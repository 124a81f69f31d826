#include "opening_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using integration::BrowserCommandLine;

TEST(BrowserCommandLine, CutsAtThePlaceholderAndQuotesTheAddress) {
    struct Case {
        const char* why;
        std::string command;
        std::string address;
        std::string line;
    };
    const Case cases[] = {
        {"quoted placeholder", R"("C:\b\browser.exe" -nohome "%1" --tail)", "http://a.example/",
         R"("C:\b\browser.exe" -nohome  "http://a.example/")"},
        {"bare placeholder", R"(C:\b\browser.exe %1)", "http://a.example/", R"(C:\b\browser.exe  "http://a.example/")"},
        {"no placeholder", R"("C:\b\browser.exe")", "http://a.example/", R"("C:\b\browser.exe" "http://a.example/")"},
        {"a space stays inside the one argument", "b.exe %1", "http://a.example/x y", R"(b.exe  "http://a.example/x y")"},
        {"a quote cannot end the argument", "b.exe %1", R"(x" --flag "y)", R"(b.exe  "x%22 --flag %22y")"},
        // "浏" is 0xE4 0xAF: no placeholder hides in a character.
        {"double-byte text before it", "\"C:\\浏览\\b.exe\" \"%1\"", "http://例子/", "\"C:\\浏览\\b.exe\"  \"http://例子/\""},
    };
    for (const Case& c : cases) EXPECT_EQ(BrowserCommandLine(c.command, c.address), c.line) << c.why;
}

TEST(RandomOpenCount, NothingForZeroOrLess) {
    EXPECT_EQ(integration::RandomOpenCount(0), 0u);
    EXPECT_EQ(integration::RandomOpenCount(-1), 0u);
    EXPECT_EQ(integration::RandomOpenCount(INT32_MIN), 0u);
    EXPECT_EQ(integration::RandomOpenCount(10), 10u);
    // The same limit as the settings page, whatever the file holds.
    EXPECT_EQ(integration::RandomOpenCount(100), 100u);
    EXPECT_EQ(integration::RandomOpenCount(101), 100u);
    EXPECT_EQ(integration::RandomOpenCount(INT32_MAX), 100u);
}

// The opener with a recording open and a clock advanced by its sleeps.
struct Recorded {
    std::vector<std::pair<unsigned, std::string>> opened;  // time, address
    unsigned now = 0;
};

Recorded RunList(const integration::AddressList& list, std::atomic<bool>& stop, unsigned stopAt = ~0u) {
    Recorded r;
    integration::OpenerActions actions;
    actions.open = [&](const std::string& a) { r.opened.emplace_back(r.now, a); };
    actions.sleep = [&](unsigned ms) {
        r.now += ms;
        if (r.now >= stopAt) stop = true;
    };
    integration::RunOpenerList(list, stop, actions);
    return r;
}

TEST(OpenerList, OpensInOrderAtItsPaceAndStopsAtTheFlag) {
    std::atomic<bool> stop{false};
    Recorded all = RunList({"a", "", "c", "d"}, stop);
    EXPECT_EQ(all.opened, (std::vector<std::pair<unsigned, std::string>>{{0, "a"}, {3000, "c"}, {4000, "d"}}));
    EXPECT_EQ(all.now, 5000u) << "every address, the last and the empty one too, has its pause";

    stop = false;
    Recorded stopped = RunList({"a", "b", "c"}, stop, 2000);
    EXPECT_EQ(stopped.opened, (std::vector<std::pair<unsigned, std::string>>{{0, "a"}}));

    stop = true;
    EXPECT_TRUE(RunList({"a"}, stop).opened.empty()) << "the flag is read before the first address";
}

}  // namespace
