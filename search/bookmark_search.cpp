#include "bookmark_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <unordered_map>

#include "bookmark_record.h"
#include "class_record.h"
#include "platform/codepage.h"

namespace search {
namespace {

bool IsAsciiLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
char Folded(unsigned char c) { return static_cast<char>(IsAsciiLetter(c) ? c | 0x20 : c); }

}  // namespace

CTextMatcher::CTextMatcher(std::string_view needle) : needle_(needle), foldable_(needle.size(), false) {
    const char* const begin = needle.data();
    const char* const end = begin + needle.size();
    for (const char* p = begin; p < end; p = platform::NextChar(p, end)) {
        const auto c = static_cast<unsigned char>(*p);
        if (IsAsciiLetter(c)) {
            foldable_[static_cast<std::size_t>(p - begin)] = true;
            needle_[static_cast<std::size_t>(p - begin)] = Folded(c);
        }
    }
}

bool CTextMatcher::MatchesAt(const char* at) const {
    for (std::size_t i = 0; i < needle_.size(); ++i) {
        const char c = foldable_[i] ? Folded(static_cast<unsigned char>(at[i])) : at[i];
        if (c != needle_[i]) return false;
    }
    return true;
}

bool CTextMatcher::Matches(std::string_view text) const {
    if (needle_.empty() || text.size() < needle_.size()) return false;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* const last = end - needle_.size();  // the last place a match can start
    const char first = needle_[0];
    const char upper = foldable_[0] ? static_cast<char>(first & ~0x20) : first;
    // A character start known not to lie beyond the place looked at: the
    // text is walked by characters only as far as a candidate needs, so that
    // a letter that is really the trail byte of a character never counts.
    const char* boundary = begin;
    auto startsCharacter = [&](const char* at) {
        if (static_cast<unsigned char>(*at) < 0x40) return true;  // never a trail byte
        while (boundary < at) boundary = platform::NextChar(boundary, end);
        return boundary == at;
    };
    for (const char* p = begin; p <= last;) {
        const std::size_t left = static_cast<std::size_t>(last - p) + 1;
        const char* hit = static_cast<const char*>(std::memchr(p, first, left));
        if (upper != first) {
            const std::size_t before = hit ? static_cast<std::size_t>(hit - p) : left;
            if (const void* other = std::memchr(p, upper, before)) hit = static_cast<const char*>(other);
        }
        if (!hit) return false;
        if (MatchesAt(hit) && startsCharacter(hit)) return true;
        p = hit + 1;
    }
    return false;
}

std::vector<Found> FindBookmarks(const ClassRecord& root, std::string_view typed, std::size_t limit) {
    std::vector<Found> found;
    const CTextMatcher matcher(typed);
    if (matcher.Empty()) return found;
    for (const ClassRecord* c = root.FirstChild(); c; c = NextInPreOrder(c, &root)) {
        for (const BookmarkRecord* b : c->bookmarks) {
            if (!b) continue;
            if (matcher.Matches(b->title) || matcher.Matches(b->url) || matcher.Matches(b->remark)) {
                if (found.size() >= limit) return found;
                found.push_back({c, b});
            }
        }
    }
    return found;
}

std::string NormalizedUrl(std::string_view url) {
    // Fragment first: nothing after '#' names another page.
    if (const std::size_t hash = url.find('#'); hash != std::string_view::npos) url = url.substr(0, hash);
    while (!url.empty() && (url.front() == ' ' || url.front() == '\t')) url.remove_prefix(1);
    while (!url.empty() && (url.back() == ' ' || url.back() == '\t')) url.remove_suffix(1);
    std::string out;
    out.reserve(url.size());
    std::string_view rest = url;
    std::string scheme;
    if (const std::size_t colon = rest.find("://"); colon != std::string_view::npos && colon < 16) {
        for (char c : rest.substr(0, colon)) scheme += Folded(static_cast<unsigned char>(c));
        rest.remove_prefix(colon + 3);
        // Host (with user and port) up to the path, query or end.
        const std::size_t hostEnd = std::min(rest.find_first_of("/?"), rest.size());
        std::string host;
        for (char c : rest.substr(0, hostEnd)) host += Folded(static_cast<unsigned char>(c));
        rest.remove_prefix(hostEnd);
        const std::size_t at = host.rfind('@');
        const std::size_t nameStart = at == std::string::npos ? 0 : at + 1;
        if (host.compare(nameStart, 4, "www.") == 0) host.erase(nameStart, 4);
        const std::size_t portColon = host.rfind(':');
        if (portColon != std::string::npos && portColon >= nameStart && host.find(']', portColon) == std::string::npos) {
            const std::string port = host.substr(portColon + 1);
            if ((scheme == "http" && port == "80") || (scheme == "https" && port == "443") ||
                (scheme == "ftp" && port == "21") || port.empty()) {
                host.erase(portColon);
            }
        }
        out = scheme + "://" + host;
    }
    // The path and query as they are, without a slash ending the path.
    std::string_view path = rest;
    std::string_view query;
    if (const std::size_t q = rest.find('?'); q != std::string_view::npos) {
        path = rest.substr(0, q);
        query = rest.substr(q);
    }
    while (!path.empty() && path.back() == '/') path.remove_suffix(1);
    out += path;
    out += query;
    return out;
}

std::vector<std::vector<Found>> FindDuplicates(const ClassRecord& root) {
    std::vector<std::vector<Found>> groups;
    // Normalised URL -> index of its group, or of the first bookmark seen
    // (negative, minus one) while it has no company.
    std::unordered_map<std::string, std::int64_t> seen;
    std::vector<Found> firsts;
    std::vector<std::size_t> firstOf;  // per group: where its first bookmark is in `firsts`
    for (const ClassRecord* c = root.FirstChild(); c; c = NextInPreOrder(c, &root)) {
        for (const BookmarkRecord* b : c->bookmarks) {
            if (!b || b->url.empty()) continue;
            auto [it, inserted] = seen.try_emplace(NormalizedUrl(b->url), -static_cast<std::int64_t>(firsts.size()) - 1);
            if (inserted) {
                firsts.push_back({c, b});
                continue;
            }
            if (it->second < 0) {
                const auto first = static_cast<std::size_t>(-it->second - 1);
                it->second = static_cast<std::int64_t>(groups.size());
                groups.push_back({firsts[first]});
                firstOf.push_back(first);
            }
            groups[static_cast<std::size_t>(it->second)].push_back({c, b});
        }
    }
    // A group is made when its second bookmark turns up; it is listed where
    // its first one is.
    std::vector<std::size_t> order(groups.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return firstOf[x] < firstOf[y]; });
    std::vector<std::vector<Found>> listed;
    listed.reserve(groups.size());
    for (const std::size_t i : order) listed.push_back(std::move(groups[i]));
    return listed;
}

std::string CategoryPath(const ClassRecord* category, const ClassRecord* root) {
    std::vector<const ClassRecord*> chain;
    for (const ClassRecord* c = category; c && c != root; c = c->Parent()) chain.push_back(c);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty()) path += " > ";
        path += (*it)->name;
    }
    return path;
}

}  // namespace search
