// Reading a component-registration script into its tree of keys.
#include <optional>

#include "platform/codepage.h"
#include "registry_script.h"

namespace integration {
namespace {

constexpr int kMaxNesting = 64;

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

struct Token {
    enum class Kind { Word, Quoted, Open, Close, Equals, End, Bad };
    Kind kind = Kind::End;
    std::string text;

    bool IsWord(std::string_view keyword) const {
        return kind == Kind::Word && EqualsNoCase(text, keyword);
    }
    bool IsName() const { return kind == Kind::Word || kind == Kind::Quoted; }
};

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    const Token& Peek() {
        if (!peeked_) {
            next_ = Read();
            peeked_ = true;
        }
        return next_;
    }

    Token Next() {
        Peek();
        peeked_ = false;
        return std::move(next_);
    }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool EndsWord(char c) { return IsSpace(c) || c == '{' || c == '}' || c == '=' || c == '\''; }

    Token Read() {
        while (p_ < end_ && IsSpace(*p_)) ++p_;
        Token t;
        if (p_ >= end_) return t;
        switch (*p_) {
            case '{': ++p_; t.kind = Token::Kind::Open; return t;
            case '}': ++p_; t.kind = Token::Kind::Close; return t;
            case '=': ++p_; t.kind = Token::Kind::Equals; return t;
            case '\'': return ReadQuoted();
            default: break;
        }
        const char* start = p_;
        while (p_ < end_ && !EndsWord(*p_)) p_ = platform::NextChar(p_, end_);
        t.kind = Token::Kind::Word;
        t.text.assign(start, p_);
        return t;
    }

    Token ReadQuoted() {
        Token t;
        ++p_;  // the opening quote
        while (p_ < end_) {
            if (*p_ == '\'') {
                if (p_ + 1 < end_ && p_[1] == '\'') {
                    t.text += '\'';
                    p_ += 2;
                    continue;
                }
                ++p_;
                t.kind = Token::Kind::Quoted;
                return t;
            }
            const char* next = platform::NextChar(p_, end_);
            t.text.append(p_, next);
            p_ = next;
        }
        t.kind = Token::Kind::Bad;  // no closing quote
        return t;
    }

    const char* p_;
    const char* end_;
    Token next_;
    bool peeked_ = false;
};

class Parser {
public:
    Parser(std::string_view text, const ScriptReplacements& replacements)
        : tokens_(text), replacements_(replacements) {}

    bool Parse(RegistryScript& out) {
        out.roots.clear();
        while (tokens_.Peek().kind != Token::Kind::End) {
            Token rootName = tokens_.Next();
            ScriptRootBlock block;
            if (!RootFromName(rootName, block.root)) return false;
            if (tokens_.Next().kind != Token::Kind::Open) return false;
            if (!ParseBody(block.keys, nullptr, 1)) return false;
            out.roots.push_back(std::move(block));
        }
        return true;
    }

private:
    static bool RootFromName(const Token& t, RegistryRoot& root) {
        if (t.IsWord("HKCR") || t.IsWord("HKEY_CLASSES_ROOT")) root = RegistryRoot::ClassesRoot;
        else if (t.IsWord("HKCU") || t.IsWord("HKEY_CURRENT_USER")) root = RegistryRoot::CurrentUser;
        else if (t.IsWord("HKLM") || t.IsWord("HKEY_LOCAL_MACHINE")) root = RegistryRoot::LocalMachine;
        else return false;
        return true;
    }

    // Reads items up to the closing brace. `values` is null at a root, where
    // named values have no key to live in.
    bool ParseBody(std::vector<ScriptKey>& keys, std::vector<ScriptNamedValue>* values, int depth) {
        if (depth > kMaxNesting) return false;
        for (;;) {
            Token t = tokens_.Next();
            if (t.kind == Token::Kind::Close) return true;
            if (t.IsWord("val")) {
                if (!values) return false;
                ScriptNamedValue v;
                if (!ParseName(tokens_.Next(), v.name, true)) return false;
                if (tokens_.Next().kind != Token::Kind::Equals) return false;
                if (!ParseValue(v.data)) return false;
                values->push_back(std::move(v));
                continue;
            }
            ScriptKey key;
            if (t.IsWord("NoRemove")) key.flag = ScriptKey::Flag::NoRemove;
            else if (t.IsWord("ForceRemove")) key.flag = ScriptKey::Flag::ForceRemove;
            else if (t.IsWord("Delete")) key.flag = ScriptKey::Flag::Delete;
            if (key.flag != ScriptKey::Flag::Normal) t = tokens_.Next();
            if (!ParseName(t, key.name, false)) return false;
            if (tokens_.Peek().kind == Token::Kind::Equals) {
                tokens_.Next();
                if (!ParseValue(key.defaultValue)) return false;
                key.hasDefault = true;
            }
            if (tokens_.Peek().kind == Token::Kind::Open) {
                tokens_.Next();
                if (!ParseBody(key.subkeys, &key.values, depth + 1)) return false;
            }
            keys.push_back(std::move(key));
        }
    }

    // Key names must be one key: not empty, no backslash. Value names may be
    // anything, the empty name being the default value.
    bool ParseName(const Token& t, std::string& name, bool valueName) {
        if (!t.IsName()) return false;
        if (!Expand(t.text, name)) return false;
        if (valueName) return true;
        if (name.empty()) return false;
        const char* p = name.data();
        const char* end = p + name.size();
        while (p < end) {
            if (*p == '\\') return false;
            p = platform::NextChar(p, end);
        }
        return true;
    }

    // Only string values: "s 'text'".
    bool ParseValue(std::string& data) {
        if (!tokens_.Next().IsWord("s")) return false;
        Token t = tokens_.Next();
        if (!t.IsName()) return false;
        return Expand(t.text, data);
    }

    bool Expand(const std::string& text, std::string& out) {
        out.clear();
        size_t i = 0;
        while (i < text.size()) {
            size_t open = text.find('%', i);
            if (open == std::string::npos) break;
            size_t close = text.find('%', open + 1);
            if (close == std::string::npos) return false;
            out.append(text, i, open - i);
            std::string name = text.substr(open + 1, close - open - 1);
            if (name.empty()) {
                out += '%';
            } else {
                auto it = replacements_.find(name);
                if (it == replacements_.end()) return false;
                out += it->second;
            }
            i = close + 1;
        }
        out.append(text, i, std::string::npos);
        return true;
    }

    Tokenizer tokens_;
    const ScriptReplacements& replacements_;
};

}  // namespace

bool ParseRegistryScript(std::string_view text, const ScriptReplacements& replacements,
                         RegistryScript& out) {
    return Parser(text, replacements).Parse(out);
}

}  // namespace integration
