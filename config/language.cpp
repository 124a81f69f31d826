#include "language.h"

#include "platform/ansi_text.h"
#include "platform/codepage.h"
#include "platform/folder_list.h"

#include <climits>

namespace {

CLanguage* g_instance = nullptr;

constexpr std::string_view kPackSuffix = ".INI";

bool IsPackFileName(const std::string& name) {
    return name.size() > kPackSuffix.size() &&
           ini_text::FoldCase(std::string_view(name).substr(name.size() - kPackSuffix.size())) == kPackSuffix;
}

// A decimal number as the profile reader's integer lookup reads it: an
// optional sign and the digits that follow; anything else ends it.
long ParseDecimal(const std::string* text) {
    if (!text) return 0;
    std::size_t i = 0;
    bool negative = false;
    if (i < text->size() && ((*text)[i] == '-' || (*text)[i] == '+')) negative = (*text)[i++] == '-';
    long value = 0;
    for (; i < text->size() && (*text)[i] >= '0' && (*text)[i] <= '9'; ++i) {
        int digit = (*text)[i] - '0';
        if (value > (LONG_MAX - digit) / 10) return negative ? LONG_MIN : LONG_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

}  // namespace

std::string UnescapeLanguageText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* next = platform::NextChar(p, end);
        if (next - p == 1 && *p == '\\' && next < end && (*next == 't' || *next == 'n')) {
            out += *next == 't' ? '\t' : '\n';
            p = next + 1;
            continue;
        }
        out.append(p, static_cast<std::size_t>(next - p));
        p = next;
    }
    return out;
}

CLanguage* CLanguage::Instance() {
    if (!g_instance) g_instance = new CLanguage();
    return g_instance;
}

void CLanguage::DestroyInstance() {
    delete g_instance;
    g_instance = nullptr;
}

CLanguage::CLanguage() : systemCodePage_(platform::AnsiCodePage()) {}

bool CLanguage::Init(const std::string& folder, const std::string& preferred) {
    folder_ = platform::WithTrailingSeparator(folder);
    packs_.clear();
    SelectPack(-1);  // nothing listed yet: leaves no pack active

    std::vector<platform::FolderEntry> entries;
    if (!platform::ListFolder(folder_, entries)) return false;
    for (const platform::FolderEntry& entry : entries) {
        if (entry.isFolder || entry.name == "." || entry.name == ".." || !IsPackFileName(entry.name)) continue;
        IniFile info;
        if (!info.Load(folder_ + entry.name, "Info")) continue;
        const std::string* language = info.Find("Info", "Language");
        if (!language || language->empty()) continue;
        Pack pack;
        pack.name = entry.name.substr(0, entry.name.size() - kPackSuffix.size());
        pack.fileName = entry.name;
        pack.language = *language;
        pack.codePage = ParseDecimal(info.Find("Info", "Codepage"));
        packs_.push_back(std::move(pack));
    }

    int chosen = -1;
    if (!preferred.empty()) {
        for (std::size_t i = 0; i < packs_.size(); ++i) {
            if (ini_text::EqualNoCase(packs_[i].name, preferred)) chosen = static_cast<int>(i);
        }
    }
    SelectPack(chosen);
    return true;
}

int CLanguage::AutomaticChoice() const {
    for (std::size_t i = 0; i < packs_.size(); ++i) {
        if (packs_[i].codePage == static_cast<long>(systemCodePage_)) return static_cast<int>(i);
    }
    int english = -1;
    for (std::size_t i = 0; i < packs_.size(); ++i) {
        if (ini_text::EqualNoCase(packs_[i].name, "ENGLISH")) english = static_cast<int>(i);
    }
    return english;
}

void CLanguage::SelectPack(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= packs_.size()) index = AutomaticChoice();
    pack_.Clear();
    if (index < 0) {
        current_ = -1;
        currentPath_.clear();
        active_ = false;
        return;
    }
    current_ = index;
    currentPath_ = folder_ + packs_[static_cast<std::size_t>(index)].fileName;
    active_ = true;
    // A pack that has become unreadable stays chosen and yields built-in texts.
    pack_.Load(currentPath_);
}

std::string CLanguage::GetText(std::string_view section, std::string_view key, std::string_view builtin) const {
    const std::string* value = nullptr;
    if (active_) value = pack_.Find(section.empty() ? std::string_view("String") : section, key);
    return UnescapeLanguageText(value ? std::string_view(*value) : builtin);
}

std::string CLanguage::GetText(std::string_view section, long id, std::string_view builtin) const {
    return GetText(section, std::to_string(id), builtin);
}

std::string CLanguage::CurrentName() const {
    return active_ ? packs_[static_cast<std::size_t>(current_)].name : std::string();
}
