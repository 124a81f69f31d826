// The script of the page the browser's context-menu entry runs, run for real
// by the script host: the browser's side (the window handed to the page, its
// frames, documents and elements) is played by a prologue, and the automation
// object by a recorder that prints each AddURL call.
#include "automation_client.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using automation_test::Finished;

constexpr char kRecorder[] =
    "ActiveXObject = function (progId) {\r\n"
    "  return { AddURL: function (u, t, f) { WScript.Echo('AddURL|' + progId + '|' + u + '|' + t + '|' + f); } };\r\n"
    "};\r\n"
    "function anchor(href, text, parent) { return { tagName: 'A', href: href, innerText: text, parentElement: parent }; }\r\n"
    "function element(tag, parent) { return { tagName: tag, parentElement: parent }; }\r\n"
    "function doc(hit, location, title) {\r\n"
    "  return { elementFromPoint: function (x, y) { return x == 10 && y == 20 ? hit : null; },\r\n"
    "           location: location, title: title };\r\n"
    "}\r\n"
    "var clicked = { clientX: 10, clientY: 20 };\r\n";

class LinkPageScript : public testing::Test {
protected:
    // Runs the page with `menuArguments` (a JScript expression) as the window
    // the browser hands it; returns what the recorder printed.
    std::string Run(const std::string& menuArguments) {
        const std::string script = std::string(kRecorder) + "var external = { menuArguments: " + menuArguments +
                                   " };\r\ntry {\r\n" + automation_test::PageScript(QUORVA_PAGE_SOURCE) +
                                   "\r\n} catch (e) { WScript.Echo('error ' + e.message); }\r\n";
        const std::string path = dir_.File("page.js");
        automation_test::WriteScript(path, script);
        Finished run = automation_test::RunToEnd(automation_test::ScriptCommand(path, ""));
        EXPECT_TRUE(run.ran);
        std::string out = run.output;
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
        return out;
    }
    testing_support::TempDir dir_;
};

TEST_F(LinkPageScript, HandsTheLinkOrThePageUnderTheMouseToTheProgram) {
    ASSERT_FALSE(automation_test::PageScript(QUORVA_PAGE_SOURCE).empty());
    struct Case {
        const char* why;
        std::string window;
        std::string calls;
    };
    const std::string page = "'http://page.example/', 'The page'";
    const Case cases[] = {
        {"a link", "{ event: clicked, document: doc(anchor('http://a.example/', 'A link', null), " + page + ") }",
         "AddURL|quorva.IEMenuCatch|http://a.example/|A link|0"},
        {"text inside a link",
         "{ event: clicked, document: doc(element('B', element('SPAN', anchor('http://n.example/', 'Nested', "
         "element('BODY', null)))), " + page + ") }",
         "AddURL|quorva.IEMenuCatch|http://n.example/|Nested|0"},
        {"no link: the page", "{ event: clicked, document: doc(element('P', element('BODY', null)), " + page + ") }",
         "AddURL|quorva.IEMenuCatch|http://page.example/|The page|0"},
        {"nothing under the mouse: the page", "{ event: clicked, document: doc(null, " + page + ") }",
         "AddURL|quorva.IEMenuCatch|http://page.example/|The page|0"},
        {"the event in the second frame: that frame's document",
         "{ event: null, document: doc(anchor('http://top.example/', 'Top', null), " + page +
             "), frames: [ { event: null }, { event: clicked, document: doc(anchor('http://frame.example/', "
             "'In the frame', null), 'http://frame.example/page', 'Frame') } ] }",
         "AddURL|quorva.IEMenuCatch|http://frame.example/|In the frame|0"},
        {"no event anywhere", "{ event: null, document: doc(null, " + page + "), frames: [ { event: null } ] }", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Run(c.window), c.calls) << c.why;
}

}  // namespace
