#include "ini_file.h"

#include "platform/ansi_text.h"
#include "platform/codepage.h"

#include <cstdio>
#include <unordered_set>

namespace ini_text {
namespace {

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string out(text);
    const char* begin = out.data();
    const char* end = begin + out.size();
    for (const char* p = begin; p < end;) {
        const char* next = platform::NextChar(p, end);
        if (next - p == 1 && *p >= 'a' && *p <= 'z') out[static_cast<std::size_t>(p - begin)] = static_cast<char>(*p - 'a' + 'A');
        p = next;
    }
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

std::string NormalizeAnsi(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto c = static_cast<unsigned char>(bytes[i]);
        if (!platform::IsLeadByte(c)) {
            out += bytes[i++];
        } else if (i + 1 < bytes.size() && bytes[i + 1] != '\0') {
            if (IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
                out.append(bytes.data() + i, 2);
            } else {
                out += '?';  // the byte after it goes with it, even a line break
            }
            i += 2;
        } else {
            out += '?';
            ++i;
        }
    }
    return out;
}

void CutToBytes(std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* p = begin;
    while (p < end) {
        const char* next = platform::NextChar(p, end);
        if (static_cast<std::size_t>(next - begin) > maxBytes) break;
        p = next;
    }
    text.resize(static_cast<std::size_t>(p - begin));
}

}  // namespace ini_text

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

// Trail bytes are never below 0x40, so trimming byte by byte cannot cut a
// double-byte character.
std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view UpToNul(std::string_view s) {
    std::size_t nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

// Position of the last ']' of the line that is a character of its own, or npos.
std::size_t LastCloseBracket(std::string_view line) {
    std::size_t found = std::string_view::npos;
    const char* begin = line.data();
    const char* end = begin + line.size();
    for (const char* p = begin; p < end;) {
        const char* next = platform::NextChar(p, end);
        if (next - p == 1 && *p == ']') found = static_cast<std::size_t>(p - begin);
        p = next;
    }
    return found;
}

std::string IndexKey(std::string_view section, std::string_view key) {
    std::string k = ini_text::FoldCase(section);
    k += '\n';  // never part of a name: lines end there
    k += ini_text::FoldCase(key);
    return k;
}

std::string FinishValue(std::string_view raw) {
    std::string_view v = UpToNul(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    std::string value(v);
    ini_text::CutToBytes(value, IniFile::kMaxValueBytes);
    return value;
}

// The text of a file as ANSI bytes: byte-order marks select a conversion.
std::string DecodeFile(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return platform::Utf8ToAnsi(bytes.substr(3));
    if (bytes.substr(0, 2) == "\xFF\xFE") return platform::Utf16ToAnsi(bytes.substr(2), false);
    if (bytes.substr(0, 2) == "\xFE\xFF") return platform::Utf16ToAnsi(bytes.substr(2), true);
    return ini_text::NormalizeAnsi(bytes);
}

std::string QueryName(std::string_view name) {
    return std::string(Trim(UpToNul(ini_text::NormalizeAnsi(name))));
}

}  // namespace

void IniFile::Clear() {
    entries_.clear();
    index_.clear();
}

void IniFile::Parse(std::string_view bytes, std::string_view onlySection) {
    Clear();
    const std::string text = DecodeFile(bytes);
    const std::string wanted = ini_text::FoldCase(onlySection);
    const bool filtered = !onlySection.empty();

    std::unordered_set<std::string> seenSections{std::string()};
    std::string section;
    bool keep = !filtered;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t start = pos;
        while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') ++pos;
        std::string_view line = Trim(std::string_view(text).substr(start, pos - start));
        while (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n')) ++pos;
        if (line.empty()) continue;

        if (line.front() == '[') {
            std::size_t close = LastCloseBracket(line.substr(1));
            if (close != std::string_view::npos) {
                section = std::string(UpToNul(Trim(line.substr(1, close))));
                std::string folded = ini_text::FoldCase(section);
                bool first = seenSections.insert(folded).second;
                keep = first && (!filtered || folded == wanted);
                continue;
            }
        }
        if (!keep) continue;

        Entry entry;
        entry.section = section;
        std::size_t eq = line.find('=');  // never a trail byte (those start at 0x40)
        if (eq != std::string_view::npos) {
            entry.key = std::string(UpToNul(Trim(line.substr(0, eq))));
            entry.hasValue = true;
            entry.value = FinishValue(Trim(line.substr(eq + 1)));
        } else {
            entry.key = std::string(UpToNul(line));
        }
        if (index_.emplace(IndexKey(entry.section, entry.key), entries_.size()).second) {
            entries_.push_back(std::move(entry));
        }
    }
}

bool IniFile::Load(const std::string& path, std::string_view onlySection) {
    Clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::string data;
    char block[65536];
    std::size_t n;
    bool ok = true;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) {
        if (data.size() + n > kMaxFileBytes) {
            ok = false;
            break;
        }
        data.append(block, n);
    }
    if (std::ferror(f)) ok = false;
    std::fclose(f);
    if (!ok) return false;
    Parse(data, onlySection);
    return true;
}

const std::string* IniFile::Find(std::string_view section, std::string_view key) const {
    auto it = index_.find(IndexKey(QueryName(section), QueryName(key)));
    if (it == index_.end()) return nullptr;
    const Entry& entry = entries_[it->second];
    return entry.hasValue ? &entry.value : nullptr;
}
