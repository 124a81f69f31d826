#include "bookmark_file_text.h"

#include "bookmark_record.h"

namespace {

void AppendBookmark(XmlTextWriter& out, const BookmarkRecord& bookmark) {
    out.Append("<a");
    out.Attribute("t", bookmark.title);
    out.Attribute("u", bookmark.url);
    out.Attribute("r", bookmark.remark);
    out.Append("/>\r\n");
}

void AppendCategoryStart(XmlTextWriter& out, const ClassRecord& category, bool hasContent) {
    out.Append("<G");
    out.Attribute("t", category.name);
    out.Append(hasContent ? ">\r\n" : "/>\r\n");
}

constexpr std::string_view kCategoryEnd = "</G>\r\n";

// Room for the whole text, so that building it never copies it.
std::size_t EstimatedSize(const ClassRecord& root) {
    std::size_t size = kXmlDeclaration.size() + 32;
    for (const ClassRecord* c = root.FirstChild(); c; c = NextInPreOrder(c, &root)) {
        size += c->name.size() + 20;
        for (const BookmarkRecord* b : c->bookmarks) {
            if (b) size += b->title.size() + b->url.size() + b->remark.size() + 24;
        }
    }
    return size + size / 16;  // escapes
}

// How many records are written between two looks at the clock.
constexpr unsigned kRecordsPerClockCheck = 256;

}  // namespace

CBookmarkFileText::CBookmarkFileText(const ClassRecord& root, std::size_t expectedSize)
    : root_(root), out_(expectedSize ? expectedSize : EstimatedSize(root)), node_(root.FirstChild()) {
    out_.Append(kXmlDeclaration);
    out_.Append(node_ ? "<root>\r\n" : "<root/>\r\n");
}

bool CBookmarkFileText::BuildUntil(Clock::time_point deadline) {
    unsigned sinceCheck = 0;
    auto timeIsUp = [&] {
        if (++sinceCheck < kRecordsPerClockCheck) return false;
        sinceCheck = 0;
        return Clock::now() >= deadline;
    };
    while (node_) {
        const bool hasContent = !node_->bookmarks.empty() || node_->HasChildren();
        if (!started_) {
            AppendCategoryStart(out_, *node_, hasContent);
            started_ = true;
            next_ = 0;
        }
        const auto& bookmarks = node_->bookmarks;
        while (next_ < bookmarks.size()) {
            if (const BookmarkRecord* bookmark = bookmarks[next_]) AppendBookmark(out_, *bookmark);
            ++next_;
            if (timeIsUp()) return false;
        }
        LeaveCategory(hasContent);
        if (node_ && timeIsUp()) return false;
    }
    return true;
}

void CBookmarkFileText::LeaveCategory(bool hasContent) {
    started_ = false;
    if (node_->HasChildren()) {
        node_ = node_->FirstChild();
        return;
    }
    if (hasContent) out_.Append(kCategoryEnd);
    // Climb out of every category whose last child has been written.
    while (!node_->NextSibling()) {
        node_ = node_->Parent();
        if (node_ == &root_) break;
        out_.Append(kCategoryEnd);
    }
    node_ = node_ == &root_ ? nullptr : node_->NextSibling();
    if (!node_) out_.Append("</root>\r\n");
}

FileTextBuffer CBookmarkFileText::Build(const ClassRecord& root) {
    CBookmarkFileText text(root);
    text.BuildUntil(Clock::time_point::max());
    return text.Finish();
}
