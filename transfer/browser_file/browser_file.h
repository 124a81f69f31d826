// The browsers' bookmark file: the HTML that every current browser exports
// its bookmarks to and imports them from.
//
//   <!DOCTYPE NETSCAPE-Bookmark-file-1>
//   <META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
//   <TITLE>Bookmarks</TITLE>
//   <H1>Bookmarks</H1>
//   <DL><p>
//       <DT><H3 ADD_DATE="1700000000">Folder</H3>
//       <DL><p>
//           <DT><A HREF="https://example.com/" ADD_DATE="1700000000">Title</A>
//           <DD>Description
//       </DL><p>
//   </DL><p>
//
// Reading is forgiving, as the browsers are: unclosed <p>, <DT> and lists,
// tags and attributes in any case and order, quoted or not, entities, a
// folder without a list of its own. It is one pass without recursion, so any
// size and any depth of nesting are safe, and it looks at every byte a
// bounded number of times whatever the file holds. Files are UTF-8; a file
// that is not valid UTF-8 is taken as text of the ANSI code page. Texts come
// out in the ANSI code page, the program's own, by the rules for text from
// outside (platform/incoming_text.h): white space in titles and folder names
// folded to one space and trimmed, line breaks of descriptions kept, an
// empty link text replaced by the address.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class ClassRecord;

namespace browserfile {

struct Item {
    enum class Kind : unsigned char { kFolder, kEnd, kLink };
    Kind kind = Kind::kLink;
    std::string title;
    std::string url;          // links only
    std::string description;  // links only: the <DD> text, line breaks as CR LF
};

struct Contents {
    // Folders, their contents and the end of each, in the file's order;
    // every kFolder has its kEnd.
    std::vector<Item> items;
    std::string title;       // the file's <H1>, else its <TITLE>
    std::size_t links = 0;
    // Texts with characters the ANSI code page cannot hold (shown as "？").
    std::size_t unheld = 0;
    // Entries that are no bookmark outside the browser ("place:" queries).
    std::size_t skipped = 0;
};

// Whether the text starts like a browser's bookmark file (its document
// type, or a list of links before anything else of substance).
bool LooksLikeBrowserFile(std::string_view file);
// `examined`, when given, receives the number of bytes the reader looked at
// (for the test that it reads every file in one pass).
Contents Read(std::string_view file, std::size_t* examined = nullptr);

// The file for the categories `tops`, each with its bookmarks and every
// category below it, in UTF-8.
std::string Write(const std::vector<const ClassRecord*>& tops, std::string_view title);

}  // namespace browserfile
