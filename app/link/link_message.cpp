#include "link_message.h"

#include "platform/incoming_text.h"

#include <cstdint>
#include <optional>

namespace link_host {
namespace {

void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Reader {
public:
    explicit Reader(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    MessageError error = MessageError::kNone;

    void SkipSpace() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r')) ++p_;
    }
    bool AtEnd() const { return p_ == end_; }
    bool Peek(char c) const { return p_ < end_ && *p_ == c; }
    bool Take(char c) {
        if (!Peek(c)) return false;
        ++p_;
        return true;
    }
    bool Fail(MessageError e = MessageError::kNotJson) {
        if (error == MessageError::kNone) error = e;
        return false;
    }

    // A string at the reader (its opening quote), decoded to UTF-8.
    bool String(std::string& out) {
        if (!Take('"')) return Fail();
        while (p_ < end_) {
            const char c = *p_++;
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return Fail();
            if (c != '\\') {
                out += c;
                continue;
            }
            if (p_ == end_) return Fail();
            switch (*p_++) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                std::optional<std::uint32_t> unit = Hex4();
                if (!unit) return Fail();
                std::uint32_t c32 = *unit;
                if (c32 >= 0xD800 && c32 <= 0xDBFF && end_ - p_ >= 6 && p_[0] == '\\' && p_[1] == 'u') {
                    const char* back = p_;
                    p_ += 2;
                    std::optional<std::uint32_t> low = Hex4();
                    if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
                        c32 = 0x10000 + ((c32 - 0xD800) << 10) + (*low - 0xDC00);
                    } else {
                        p_ = back;  // the second escape is read on its own
                    }
                }
                if (c32 >= 0xD800 && c32 <= 0xDFFF) c32 = 0xFFFD;  // half a pair
                AppendUtf8(out, c32);
                break;
            }
            default:
                return Fail();
            }
        }
        return Fail();  // no closing quote
    }

    bool Literal(std::string_view word) {
        if (static_cast<std::size_t>(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word) {
            return Fail();
        }
        p_ += word.size();
        return true;
    }

    bool Number() {
        Take('-');
        if (!Take('0')) {  // no leading zeros
            if (p_ == end_ || *p_ < '1' || *p_ > '9') return Fail();
            while (p_ < end_ && IsDigit(*p_)) ++p_;
        }
        if (Take('.') && !Digits()) return false;
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            if (!Digits()) return false;
        }
        return true;
    }

    // Any value, kept nowhere.
    bool SkipValue(int depth) {
        if (depth > kMaxNesting) return Fail(MessageError::kTooDeep);
        SkipSpace();
        if (p_ == end_) return Fail();
        switch (*p_) {
        case '"': {
            std::string ignored;
            return String(ignored);
        }
        case '{': return Members(depth + 1, [&](const std::string&) { return SkipValue(depth + 1); });
        case '[': return Elements(depth + 1);
        case 't': return Literal("true");
        case 'f': return Literal("false");
        case 'n': return Literal("null");
        default: return Number();
        }
    }

    // An object's members; `member` reads the value after each name's colon.
    template <typename OnMember>
    bool Members(int depth, OnMember member) {
        if (depth > kMaxNesting) return Fail(MessageError::kTooDeep);
        if (!Take('{')) return Fail();
        SkipSpace();
        if (Take('}')) return true;
        for (;;) {
            SkipSpace();
            std::string name;
            if (!String(name)) return false;
            SkipSpace();
            if (!Take(':')) return Fail();
            if (!member(name)) return false;
            SkipSpace();
            if (Take('}')) return true;
            if (!Take(',')) return Fail();
        }
    }

    bool Elements(int depth) {
        if (!Take('[')) return Fail();
        SkipSpace();
        if (Take(']')) return true;
        for (;;) {
            if (!SkipValue(depth)) return false;
            SkipSpace();
            if (Take(']')) return true;
            if (!Take(',')) return Fail();
        }
    }

private:
    bool Digits() {
        if (p_ == end_ || !IsDigit(*p_)) return Fail();
        while (p_ < end_ && IsDigit(*p_)) ++p_;
        return true;
    }

    std::optional<std::uint32_t> Hex4() {
        if (end_ - p_ < 4) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = HexValue(p_[i]);
            if (digit < 0) return std::nullopt;
            value = value << 4 | static_cast<std::uint32_t>(digit);
        }
        p_ += 4;
        return value;
    }

    const char* p_;
    const char* end_;
};

// What a member named url or title held.
enum class Field { kAbsent, kString, kNull, kOther };

}  // namespace

MessageError ReadLinkMessage(std::string_view json, LinkMessage& message) {
    Reader reader(json);
    reader.SkipSpace();
    if (reader.AtEnd()) return MessageError::kNotJson;
    if (!reader.Peek('{')) {
        // Another kind of value: say so only when it is valid JSON.
        if (!reader.SkipValue(1)) return reader.error;
        reader.SkipSpace();
        return reader.AtEnd() ? MessageError::kNotObject : MessageError::kNotJson;
    }
    std::string url;
    std::string title;
    Field urlField = Field::kAbsent;
    Field titleField = Field::kAbsent;
    auto readField = [&](std::string& text, Field& field) {
        reader.SkipSpace();
        text.clear();
        if (reader.Peek('"')) {
            field = Field::kString;
            return reader.String(text);
        }
        field = reader.Peek('n') ? Field::kNull : Field::kOther;
        return reader.SkipValue(2);
    };
    const bool read = reader.Members(1, [&](const std::string& name) {
        if (name == "url") return readField(url, urlField);
        if (name == "title") return readField(title, titleField);
        return reader.SkipValue(2);
    });
    if (!read) return reader.error;
    reader.SkipSpace();
    if (!reader.AtEnd()) return MessageError::kNotJson;

    if (urlField == Field::kAbsent) return MessageError::kUrlMissing;
    if (urlField != Field::kString) return MessageError::kUrlNotString;
    if (url.empty()) return MessageError::kUrlEmpty;
    if (titleField == Field::kOther) return MessageError::kTitleNotString;
    message.url = platform::Utf16FromUtf8(url);
    message.title = platform::Utf16FromUtf8(title);
    return MessageError::kNone;
}

const char* ErrorName(MessageError error) {
    switch (error) {
    case MessageError::kNone: return "";
    case MessageError::kNotJson: return "not-json";
    case MessageError::kTooDeep: return "nested-too-deep";
    case MessageError::kNotObject: return "not-an-object";
    case MessageError::kUrlMissing: return "url-missing";
    case MessageError::kUrlNotString: return "url-not-a-string";
    case MessageError::kUrlEmpty: return "url-empty";
    case MessageError::kTitleNotString: return "title-not-a-string";
    }
    return "not-json";
}

}  // namespace link_host
