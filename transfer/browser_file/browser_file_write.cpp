#include "browser_file.h"

#include <algorithm>

#include "bookmark_record.h"
#include "class_record.h"
#include "platform/ansi_text.h"

namespace browserfile {
namespace {

// Nested lists are indented four spaces a level, as the browsers write
// them, up to a limit: a deep tree must not make the file grow with the
// square of its depth.
constexpr std::size_t kDeepestIndent = 16;

class Writer {
public:
    void Line(std::size_t depth, std::string_view text) {
        out_.append(4 * std::min(depth, kDeepestIndent), ' ');
        out_ += text;
        out_ += '\n';
    }
    // `text` of the ANSI code page, escaped, in UTF-8; line breaks as <BR>
    // when `lineBreaks`, else as spaces.
    void Escaped(std::string_view text, bool lineBreaks = false) {
        const std::string utf8 = platform::AnsiToUtf8(text);
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const char c = utf8[i];
            switch (c) {
            case '&': out_ += "&amp;"; break;
            case '<': out_ += "&lt;"; break;
            case '>': out_ += "&gt;"; break;
            case '"': out_ += "&quot;"; break;
            case '\r':
                if (i + 1 < utf8.size() && utf8[i + 1] == '\n') break;  // the LF writes the break
                [[fallthrough]];
            case '\n': out_ += lineBreaks ? "<BR>" : " "; break;
            default: out_ += c; break;
            }
        }
    }
    std::string& Out() { return out_; }

private:
    std::string out_;
};

void WriteBookmarks(Writer& w, const ClassRecord& category, std::size_t depth) {
    for (const BookmarkRecord* bookmark : category.bookmarks) {
        if (!bookmark) continue;
        w.Out().append(4 * std::min(depth, kDeepestIndent), ' ');
        w.Out() += "<DT><A HREF=\"";
        w.Escaped(bookmark->url);
        w.Out() += "\">";
        w.Escaped(bookmark->title);
        w.Out() += "</A>\n";
        if (!bookmark->remark.empty()) {
            w.Out().append(4 * std::min(depth, kDeepestIndent), ' ');
            w.Out() += "<DD>";
            w.Escaped(bookmark->remark, true);
            w.Out() += '\n';
        }
    }
}

void WriteFolderStart(Writer& w, const ClassRecord& category, std::size_t depth) {
    w.Out().append(4 * std::min(depth, kDeepestIndent), ' ');
    w.Out() += "<DT><H3>";
    w.Escaped(category.name);
    w.Out() += "</H3>\n";
    w.Line(depth, "<DL><p>");
}

}  // namespace

std::string Write(const std::vector<const ClassRecord*>& tops, std::string_view title) {
    Writer w;
    w.Out() += "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
               "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
               "<TITLE>";
    w.Escaped(title);
    w.Out() += "</TITLE>\n<H1>";
    w.Escaped(title);
    w.Out() += "</H1>\n<DL><p>\n";
    for (const ClassRecord* top : tops) {
        if (!top) continue;
        // Pre-order without recursion; `depth` is the list level of `node`.
        const ClassRecord* node = top;
        std::size_t depth = 1;
        for (;;) {
            WriteFolderStart(w, *node, depth);
            WriteBookmarks(w, *node, depth + 1);
            if (node->FirstChild()) {
                node = node->FirstChild();
                ++depth;
                continue;
            }
            w.Line(depth, "</DL><p>");
            while (node != top && !node->NextSibling()) {
                node = node->Parent();
                --depth;
                w.Line(depth, "</DL><p>");
            }
            if (node == top) break;
            node = node->NextSibling();
        }
    }
    w.Out() += "</DL><p>\n";
    return std::move(w.Out());
}

}  // namespace browserfile
