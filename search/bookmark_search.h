// Finding bookmarks across the whole collection, with no index to keep up
// to date: every search walks the tree, fast enough to run again at each
// keystroke over a hundred thousand bookmarks.
//
// Texts are the program's own (the ANSI code page, GBK for its users): a
// typed text matches whole characters only, ASCII letters in either case,
// and a trail byte of a double-byte character is never taken for a letter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ClassRecord;
struct BookmarkRecord;

namespace search {

// One bookmark found, with the category that holds it.
struct Found {
    const ClassRecord* category = nullptr;
    const BookmarkRecord* bookmark = nullptr;
};

// Matches a typed text inside other texts.
class CTextMatcher {
public:
    explicit CTextMatcher(std::string_view needle);
    bool Empty() const { return needle_.empty(); }
    bool Matches(std::string_view text) const;

private:
    bool MatchesAt(const char* at) const;

    std::string needle_;          // ASCII letters at character starts folded to lower case
    std::vector<bool> foldable_;  // per byte: an ASCII letter at a character start
};

// Every bookmark under `root` whose title, URL or remark holds `typed`, in
// the tree's order; at most `limit` of them. Nothing for an empty text.
std::vector<Found> FindBookmarks(const ClassRecord& root, std::string_view typed, std::size_t limit = SIZE_MAX);

// The key under which two URLs count as the same: scheme and host in lower
// case, no "www." before the host, no default port (80, 443, 21 for http,
// https, ftp), no fragment, no slash at the end of the path.
std::string NormalizedUrl(std::string_view url);

// Bookmarks whose URLs are the same once normalised, in groups of two or
// more: groups in the order of their first bookmark, each in the tree's
// order. Bookmarks without a URL are never duplicates.
std::vector<std::vector<Found>> FindDuplicates(const ClassRecord& root);

// The names of the categories from the top level down to `category`,
// joined by " > ".
std::string CategoryPath(const ClassRecord* category, const ClassRecord* root);

}  // namespace search
