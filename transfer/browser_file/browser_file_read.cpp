#include "browser_file.h"

#include <algorithm>
#include <cstdint>

#include "platform/ansi_text.h"

namespace browserfile {
namespace {

// Stands for a <BR> inside a description while it is read.
constexpr char kLineBreak = '\x01';

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

bool StartsIgnoringCase(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.size() - at >= prefix.size() && EqualsIgnoringCase(text.substr(at, prefix.size()), prefix);
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const int extra = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
        if (extra < 0 || s.size() - i <= static_cast<std::size_t>(extra)) return false;
        for (int k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

void AppendUtf8(std::uint32_t cp, std::string& out) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes the entity at `text[at]` ('&') into UTF-8; returns its length, 0
// when it is none (the '&' then stands for itself).
std::size_t DecodeEntity(std::string_view text, std::size_t at, std::string& out) {
    const std::size_t end = text.find(';', at);
    if (end == std::string_view::npos || end - at > 12) return 0;
    const std::string_view name = text.substr(at + 1, end - at - 1);
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        std::uint32_t cp = 0;
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) return 0;
        for (char c : digits) {
            int d = c >= '0' && c <= '9' ? c - '0' : hex && Lower(c) >= 'a' && Lower(c) <= 'f' ? Lower(c) - 'a' + 10 : -1;
            if (d < 0) return 0;
            cp = cp > 0x10FFFF ? cp : cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
        }
        AppendUtf8(cp == 0xA0 ? ' ' : cp, out);
        return end - at + 1;
    }
    struct Named {
        std::string_view name;
        char c;
    };
    static constexpr Named kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''},
                                       {"nbsp", ' '}};
    for (const Named& n : kNamed) {
        if (EqualsIgnoringCase(name, n.name)) {
            out += n.c;
            return end - at + 1;
        }
    }
    return 0;
}

class Reader {
public:
    explicit Reader(std::string_view file) : s_(file) {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") s_.remove_prefix(3);
        utf8_ = IsValidUtf8(s_);
    }

    Contents Run();

private:
    // A raw text of the file as the program's text: entities decoded, runs
    // of white space and control characters one space, trimmed, in the ANSI
    // code page. With `lineBreaks`, kLineBreak (a <BR> the caller met)
    // becomes CR LF.
    std::string Text(std::string_view raw, bool lineBreaks = false);
    // Skips the tag at pos_ ('<'); fills the name (lower case, a leading
    // '/' kept) and, for a link, its HREF.
    void ReadTag(std::string& name, std::string* href);
    std::string_view RawTextUntilTag();

    void OpenList();
    void CloseList();
    void EndFolderWithoutList();

    std::string_view s_;
    std::size_t pos_ = 0;
    bool utf8_ = true;
    Contents out_;
    std::vector<bool> lists_;     // each open <DL>: whether it is a folder's
    bool folderAwaitsList_ = false;
    bool lastIsLink_ = false;     // a <DD> describes the link just read
};

// Whether the raw text is already the program's text: ASCII without
// entities, control characters or spaces to fold (nearly every URL, most
// titles).
bool IsPlain(std::string_view raw) {
    if (raw.empty()) return true;
    if (raw.front() == ' ' || raw.back() == ' ') return false;
    char previous = 0;
    for (char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x80 || c == '&' || (c == ' ' && previous == ' ')) return false;
        previous = c;
    }
    return true;
}

std::string Reader::Text(std::string_view raw, bool lineBreaks) {
    if (IsPlain(raw)) return std::string(raw);
    std::string decoded;
    decoded.reserve(raw.size());
    bool lost = false;
    bool space = false;
    std::string entity;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == kLineBreak && lineBreaks) {
            while (!decoded.empty() && decoded.back() == ' ') decoded.pop_back();
            decoded += "\r\n";
            space = false;
            continue;
        }
        if (IsSpace(c) || static_cast<unsigned char>(c) < 0x20) {
            space = true;
            continue;
        }
        if (space && !decoded.empty() && decoded.back() != '\n') decoded += ' ';
        space = false;
        if (c == '&') {
            entity.clear();
            const std::size_t used = DecodeEntity(raw, i, entity);
            if (used) {
                // In a file of the ANSI code page only the entity is UTF-8.
                bool entityLost = false;
                if (!utf8_ && static_cast<unsigned char>(entity[0]) >= 0x80) {
                    entity = platform::Utf8ToAnsi(entity, entityLost);
                }
                lost = lost || entityLost;
                decoded += entity;
                i += used - 1;
                continue;
            }
        }
        decoded += c;
    }
    while (!decoded.empty() && (decoded.back() == '\n' || decoded.back() == '\r' || decoded.back() == ' ')) {
        decoded.pop_back();
    }
    if (utf8_) {
        bool ascii = true;
        for (char c : decoded) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (!ascii) {
            bool converted = false;
            decoded = platform::Utf8ToAnsi(decoded, converted);
            lost = lost || converted;
        }
    }
    if (lost) ++out_.unheld;
    return decoded;
}

std::string_view Reader::RawTextUntilTag() {
    const std::size_t start = pos_;
    const std::size_t lt = s_.find('<', pos_);
    pos_ = lt == std::string_view::npos ? s_.size() : lt;
    return s_.substr(start, pos_ - start);
}

void Reader::ReadTag(std::string& name, std::string* href) {
    ++pos_;  // '<'
    name.clear();
    if (pos_ < s_.size() && s_[pos_] == '/') {
        name += '/';
        ++pos_;
    }
    while (pos_ < s_.size() && ((s_[pos_] >= 'a' && s_[pos_] <= 'z') || (s_[pos_] >= 'A' && s_[pos_] <= 'Z') ||
                                (s_[pos_] >= '0' && s_[pos_] <= '9'))) {
        name += Lower(s_[pos_++]);
    }
    // Attributes up to the '>' that ends the tag (one inside quotes does not).
    while (pos_ < s_.size()) {
        const char c = s_[pos_];
        if (c == '>') {
            ++pos_;
            return;
        }
        if (IsSpace(c) || c == '/') {
            ++pos_;
            continue;
        }
        const std::size_t nameStart = pos_;
        while (pos_ < s_.size() && !IsSpace(s_[pos_]) && s_[pos_] != '=' && s_[pos_] != '>') ++pos_;
        const std::string_view attribute = s_.substr(nameStart, pos_ - nameStart);
        while (pos_ < s_.size() && IsSpace(s_[pos_])) ++pos_;
        if (pos_ >= s_.size() || s_[pos_] != '=') continue;
        ++pos_;
        while (pos_ < s_.size() && IsSpace(s_[pos_])) ++pos_;
        std::string_view value;
        if (pos_ < s_.size() && (s_[pos_] == '"' || s_[pos_] == '\'')) {
            const char quote = s_[pos_++];
            // A quote left open ends at the tag's end, not at a quote lines
            // further on: the browsers write one tag per line.
            const std::size_t lineEnd = std::min(s_.find('\n', pos_), s_.size());
            std::size_t close = s_.find(quote, pos_);
            if (close > lineEnd) close = std::min(s_.find('>', pos_), lineEnd);
            value = s_.substr(pos_, close - pos_);
            pos_ = close < s_.size() && s_[close] == quote ? close + 1 : close;
        } else {
            const std::size_t start = pos_;
            while (pos_ < s_.size() && !IsSpace(s_[pos_]) && s_[pos_] != '>') ++pos_;
            value = s_.substr(start, pos_ - start);
        }
        if (href && EqualsIgnoringCase(attribute, "href")) *href = Text(value);
    }
}

void Reader::EndFolderWithoutList() {
    if (!folderAwaitsList_) return;
    folderAwaitsList_ = false;
    out_.items.push_back({Item::Kind::kEnd, {}, {}, {}});
}

void Reader::OpenList() {
    lists_.push_back(folderAwaitsList_);
    folderAwaitsList_ = false;
}

void Reader::CloseList() {
    EndFolderWithoutList();
    if (lists_.empty()) return;
    if (lists_.back()) out_.items.push_back({Item::Kind::kEnd, {}, {}, {}});
    lists_.pop_back();
}

Contents Reader::Run() {
    std::string name;
    std::string href;
    std::string raw;
    while (pos_ < s_.size()) {
        RawTextUntilTag();
        if (pos_ >= s_.size()) break;
        if (s_.compare(pos_, 4, "<!--") == 0) {
            const std::size_t end = s_.find("-->", pos_ + 4);
            pos_ = end == std::string_view::npos ? s_.size() : end + 3;
            continue;
        }
        if (s_.compare(pos_, 2, "<!") == 0 || s_.compare(pos_, 2, "<?") == 0) {
            const std::size_t end = s_.find('>', pos_);
            pos_ = end == std::string_view::npos ? s_.size() : end + 1;
            continue;
        }
        href.clear();
        const bool link = StartsIgnoringCase(s_, pos_, "<a") && pos_ + 2 < s_.size() &&
                          (IsSpace(s_[pos_ + 2]) || s_[pos_ + 2] == '>');
        ReadTag(name, link ? &href : nullptr);
        if (name == "dl") {
            OpenList();
        } else if (name == "/dl") {
            CloseList();
            lastIsLink_ = false;
        } else if (name == "h3") {
            EndFolderWithoutList();
            out_.items.push_back({Item::Kind::kFolder, Text(RawTextUntilTag()), {}, {}});
            folderAwaitsList_ = true;
            lastIsLink_ = false;
        } else if (name == "a") {
            EndFolderWithoutList();
            out_.items.push_back({Item::Kind::kLink, Text(RawTextUntilTag()), href, {}});
            ++out_.links;
            lastIsLink_ = true;
        } else if (name == "dd") {
            // The text up to the next tag other than a line break.
            raw.clear();
            for (;;) {
                raw += RawTextUntilTag();
                if (!StartsIgnoringCase(s_, pos_, "<br")) break;
                ReadTag(name, nullptr);
                raw += kLineBreak;
            }
            std::string description = Text(raw, true);
            if (lastIsLink_ && !out_.items.empty()) out_.items.back().description = std::move(description);
            lastIsLink_ = false;
        } else if (name == "h1" || (name == "title" && out_.title.empty())) {
            std::string title = Text(RawTextUntilTag());
            if (name == "h1" || out_.title.empty()) out_.title = std::move(title);
        }
        // Anything else (<p>, <DT>, closing tags, <HR>, <META>) carries nothing.
    }
    EndFolderWithoutList();
    while (!lists_.empty()) CloseList();
    return std::move(out_);
}

}  // namespace

bool LooksLikeBrowserFile(std::string_view file) {
    if (file.substr(0, 3) == "\xEF\xBB\xBF") file.remove_prefix(3);
    std::size_t i = 0;
    while (i < file.size() && IsSpace(file[i])) ++i;
    if (StartsIgnoringCase(file, i, "<!DOCTYPE NETSCAPE-Bookmark-file")) return true;
    // Files written by hand or by other programs often lack the line: a
    // list of links within the first few kilobytes will do.
    const std::string_view head = file.substr(0, 8192);
    bool list = false;
    for (std::size_t at = head.find('<'); at != std::string_view::npos; at = head.find('<', at + 1)) {
        if (StartsIgnoringCase(head, at, "<dl")) list = true;
        if (list && StartsIgnoringCase(head, at, "<a ")) return true;
    }
    return false;
}

Contents Read(std::string_view file) { return Reader(file).Run(); }

}  // namespace browserfile
