#include "browser_file.h"

#include <algorithm>
#include <cstdint>

#include "platform/ansi_text.h"
#include "platform/incoming_text.h"

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

// The longest entity looked for: "&#x" and more leading zeros than anyone
// writes. The ';' is never searched for further, so every '&' costs at most
// this much however the text goes on.
constexpr std::size_t kLongestEntity = 32;
constexpr std::uint32_t kNoCharacter = 0x110000;

// The character of the entity at `text[at]` ('&'), kNoCharacter for a number
// that names none; its length in `used`, 0 when it is no entity (the '&' then
// stands for itself).
std::uint32_t DecodeEntity(std::string_view text, std::size_t at, std::size_t& used) {
    used = 0;
    const std::string_view window = text.substr(at, kLongestEntity);
    const std::size_t end = window.find(';');
    if (end == std::string_view::npos) return 0;
    const std::string_view name = window.substr(1, end - 1);
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) return 0;
        std::uint32_t cp = 0;
        for (char c : digits) {
            const int d = c >= '0' && c <= '9' ? c - '0'
                        : hex && Lower(c) >= 'a' && Lower(c) <= 'f' ? Lower(c) - 'a' + 10 : -1;
            if (d < 0) return 0;
            cp = cp >= kNoCharacter ? kNoCharacter : cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
        }
        used = end + 1;
        const bool none = cp == 0 || cp >= kNoCharacter || (cp >= 0xD800 && cp <= 0xDFFF);
        return none ? kNoCharacter : cp;
    }
    struct Named {
        std::string_view name;
        char c;
    };
    static constexpr Named kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''},
                                       {"nbsp", '\xA0'}};
    for (const Named& n : kNamed) {
        if (EqualsIgnoringCase(name, n.name)) {
            used = end + 1;
            return static_cast<unsigned char>(n.c);
        }
    }
    return 0;
}

// What a text of the file becomes in the program.
enum class TextKind {
    kName,     // titles and folder names: white space folded and trimmed
    kRemark,   // descriptions: the same within lines, line breaks kept
    kAddress,  // HREF: entities decoded, only the ends trimmed
};

class Reader {
public:
    explicit Reader(std::string_view file) : s_(file) {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") s_.remove_prefix(3);
        // A file that is not UTF-8 is text of the ANSI code page: read as
        // UTF-8 like the others, so that every text is converted once.
        if (!IsValidUtf8(s_)) {
            converted_ = platform::AnsiToUtf8(s_);
            s_ = converted_;
        }
    }

    Contents Run();
    std::size_t Examined() const { return examined_; }

private:
    // A raw text of the file as the program's text, in the ANSI code page.
    // In a remark kLineBreak (a <BR> the caller met) is a line break.
    std::string Text(std::string_view raw, TextKind kind);
    // Skips the tag at pos_ ('<'); fills the name (lower case, a leading
    // '/' kept) and, for a link, its HREF.
    void ReadTag(std::string& name, std::string* href);
    std::string_view RawTextUntilTag();
    // The position of the next `c` at or after pos_, or the text's size.
    // Positions only grow, and a search starts after the last one found, so
    // all searches together pass each byte at most once per character.
    std::size_t Next(char c);

    void OpenList();
    void CloseList();
    void EndFolderWithoutList();
    void AddLink(std::string title, std::string href);

    std::string converted_;
    std::string_view s_;
    std::size_t pos_ = 0;
    Contents out_;
    std::vector<bool> lists_;     // each open <DL>: whether it is a folder's
    bool folderAwaitsList_ = false;
    bool lastIsLink_ = false;     // a <DD> describes the link just read
    struct Found {
        char c;
        std::size_t at;  // valid while at >= pos_; npos: none found yet
    };
    Found found_[4] = {{'"', std::string_view::npos}, {'\'', std::string_view::npos},
                       {'\n', std::string_view::npos}, {'>', std::string_view::npos}};
    std::size_t examined_ = 0;  // bytes looked at, for the reader's own test
};

std::size_t Reader::Next(char c) {
    for (Found& f : found_) {
        if (f.c != c) continue;
        if (f.at == std::string_view::npos || f.at < pos_) {
            const std::size_t at = s_.find(c, pos_);
            f.at = at == std::string_view::npos ? s_.size() : at;
            examined_ += f.at - pos_;
        }
        return f.at;
    }
    return s_.size();
}

// Whether the raw text is already the program's text: ASCII without
// entities, control characters or spaces to fold (nearly every URL, most
// titles), and for a name none of the characters a name may not hold.
bool IsPlain(std::string_view raw, TextKind kind) {
    if (raw.empty()) return true;
    if (raw.front() == ' ' || raw.back() == ' ') return false;
    char previous = 0;
    for (char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x80 || c == '&') return false;
        if (kind != TextKind::kAddress) {
            if (c == ' ' && previous == ' ') return false;
            if (kind == TextKind::kName && (c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
                                            c == '<' || c == '>' || c == '|')) {
                return false;
            }
        }
        previous = c;
    }
    return true;
}

std::string Reader::Text(std::string_view raw, TextKind kind) {
    examined_ += raw.size();
    if (IsPlain(raw, kind)) return std::string(raw);
    std::string decoded;  // UTF-8
    decoded.reserve(raw.size());
    bool space = false;   // white space waits for the next character
    const bool fold = kind != TextKind::kAddress;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        std::uint32_t cp = static_cast<unsigned char>(c);
        std::size_t used = 0;
        if (c == '&') {
            cp = DecodeEntity(raw, i, used);
            if (used == 0) cp = '&';
        }
        if (kind == TextKind::kRemark && (c == kLineBreak || c == '\n' || c == '\r')) {
            if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
            decoded += "\r\n";
            space = false;
            continue;
        }
        // A no-break space, written as an entity or as itself, is a space.
        const bool rawNoBreak = c == '\xC2' && i + 1 < raw.size() && raw[i + 1] == '\xA0';
        const bool white = used ? cp < 0x20 || cp == 0xA0 : IsSpace(c) || cp < 0x20 || rawNoBreak;
        if (fold && white) {
            space = true;
            i += used ? used - 1 : rawNoBreak ? 1 : 0;
            continue;
        }
        if (space && !decoded.empty() && decoded.back() != '\n') decoded += ' ';
        space = false;
        if (used) {
            platform::AppendUtf8(cp == kNoCharacter ? 0xFFFD : cp, decoded);
            i += used - 1;
        } else {
            decoded += c;
        }
    }
    if (kind == TextKind::kRemark) {
        // No white space at the ends, none at the end of a line.
        std::string tidy;
        tidy.reserve(decoded.size());
        for (char c : decoded) {
            if (c == '\r') {
                while (!tidy.empty() && tidy.back() == ' ') tidy.pop_back();
            }
            if (c == ' ' && !tidy.empty() && tidy.back() == '\n') continue;
            tidy += c;
        }
        decoded = std::move(tidy);
        std::size_t start = 0;
        while (start < decoded.size() && (decoded[start] == '\r' || decoded[start] == '\n')) ++start;
        decoded.erase(0, start);
        while (!decoded.empty() && (decoded.back() == '\n' || decoded.back() == '\r')) decoded.pop_back();
    }
    if (!fold) {
        std::size_t start = 0;
        while (start < decoded.size() && IsSpace(decoded[start])) ++start;
        std::size_t end = decoded.size();
        while (end > start && IsSpace(decoded[end - 1])) --end;
        return platform::AddressFromUtf8(std::string_view(decoded).substr(start, end - start));
    }
    bool lost = false;
    std::string text = kind == TextKind::kName ? platform::NameFromUtf8(decoded, &lost)
                                                : platform::RemarkFromUtf8(decoded, &lost);
    if (lost) ++out_.unheld;
    return text;
}

std::string_view Reader::RawTextUntilTag() {
    const std::size_t start = pos_;
    const std::size_t lt = s_.find('<', pos_);
    pos_ = lt == std::string_view::npos ? s_.size() : lt;
    examined_ += pos_ - start;
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
            const std::size_t lineEnd = Next('\n');
            std::size_t close = Next(quote);
            if (close > lineEnd) close = std::min(Next('>'), lineEnd);
            value = s_.substr(pos_, close - pos_);
            pos_ = close < s_.size() && s_[close] == quote ? close + 1 : close;
        } else {
            const std::size_t start = pos_;
            while (pos_ < s_.size() && !IsSpace(s_[pos_]) && s_[pos_] != '>') ++pos_;
            value = s_.substr(start, pos_ - start);
        }
        if (href && EqualsIgnoringCase(attribute, "href")) *href = Text(value, TextKind::kAddress);
    }
}

void Reader::AddLink(std::string title, std::string href) {
    // The browser's own queries ("place:") lead nowhere outside it.
    if (StartsIgnoringCase(href, 0, "place:")) {
        ++out_.skipped;
        lastIsLink_ = false;
        return;
    }
    if (title.empty()) {
        title = href;
        platform::ReplaceReservedNameChars(title);
    }
    out_.items.push_back({Item::Kind::kLink, std::move(title), std::move(href), {}});
    ++out_.links;
    lastIsLink_ = true;
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
            out_.items.push_back({Item::Kind::kFolder, Text(RawTextUntilTag(), TextKind::kName), {}, {}});
            folderAwaitsList_ = true;
            lastIsLink_ = false;
        } else if (name == "a") {
            EndFolderWithoutList();
            AddLink(Text(RawTextUntilTag(), TextKind::kName), std::move(href));
        } else if (name == "dd") {
            // The text up to the next tag other than a line break.
            raw.clear();
            for (;;) {
                raw += RawTextUntilTag();
                if (!StartsIgnoringCase(s_, pos_, "<br")) break;
                ReadTag(name, nullptr);
                raw += kLineBreak;
            }
            std::string description = Text(raw, TextKind::kRemark);
            if (lastIsLink_ && !out_.items.empty()) out_.items.back().description = std::move(description);
            lastIsLink_ = false;
        } else if (name == "h1" || (name == "title" && out_.title.empty())) {
            std::string title = Text(RawTextUntilTag(), TextKind::kName);
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

Contents Read(std::string_view file, std::size_t* examined) {
    Reader reader(file);
    Contents contents = reader.Run();
    if (examined) *examined = reader.Examined();
    return contents;
}

}  // namespace browserfile
