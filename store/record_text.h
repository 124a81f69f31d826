// RecordText: a bookmark's title, URL or remark, in one pointer.
//
// A collection holds a hundred thousand bookmarks and three texts each, so a
// text costs what its bytes cost and little more: the object is one pointer
// (none for an empty text) to the bytes, which are followed by a zero byte
// and preceded by their length (one byte up to 126, five bytes beyond).
//
// The bytes live in one of two places:
// - a block of their own on the heap (every text made or edited at run time);
// - a text arena: one large buffer that holds the texts of a whole loaded
//   file (the file's own bytes, rewritten in place). An arena counts the texts
//   that still point into it and is freed with the last of them, so freeing a
//   loaded collection costs a handful of releases, and an edited or deleted
//   text leaves at most its old bytes behind until then.
//
// Reading is that of a constant std::string (data, c_str, size, empty,
// begin/end, comparisons, conversion to std::string_view and std::string);
// assigning anything stores a copy of its own on the heap. Copies are deep;
// moves and swaps pass the pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

class RecordText {
public:
    RecordText() noexcept = default;
    RecordText(std::string_view text) : p_(MakeOwned(text)) {}
    RecordText(const std::string& text) : p_(MakeOwned(text)) {}
    RecordText(const char* text) : p_(MakeOwned(text ? std::string_view(text) : std::string_view())) {}
    RecordText(const RecordText& other) : p_(MakeOwned(other.view())) {}
    RecordText(RecordText&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~RecordText() { Drop(p_); }

    RecordText& operator=(const RecordText& other) {
        if (this != &other) assign(other.view());
        return *this;
    }
    RecordText& operator=(RecordText&& other) noexcept {
        if (this != &other) {
            Drop(p_);
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    RecordText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
    RecordText& operator=(const std::string& text) {
        assign(text);
        return *this;
    }
    RecordText& operator=(const char* text) {
        assign(text ? std::string_view(text) : std::string_view());
        return *this;
    }
    // `text` may be a part of this text.
    void assign(std::string_view text) {
        const char* fresh = MakeOwned(text);
        Drop(p_);
        p_ = fresh;
    }
    void clear() noexcept {
        Drop(p_);
        p_ = nullptr;
    }
    void swap(RecordText& other) noexcept { std::swap(p_, other.p_); }
    friend void swap(RecordText& a, RecordText& b) noexcept { a.swap(b); }

    const char* data() const noexcept { return p_ ? p_ : ""; }
    const char* c_str() const noexcept { return data(); }
    std::size_t size() const noexcept { return p_ ? SizeAt(p_) : 0; }
    std::size_t length() const noexcept { return size(); }
    bool empty() const noexcept { return p_ == nullptr; }
    const char* begin() const noexcept { return data(); }
    const char* end() const noexcept { return data() + size(); }
    // As for std::string, [size()] is the zero after the text.
    char operator[](std::size_t i) const noexcept { return data()[i]; }
    // Never a null pointer, even when empty (as std::string's).
    std::string_view view() const noexcept { return p_ ? std::string_view(p_, SizeAt(p_)) : std::string_view("", 0); }
    operator std::string_view() const noexcept { return view(); }
    operator std::string() const { return std::string(view()); }
    std::string str() const { return std::string(view()); }

    // The searches of std::string, for callers written against it.
    static constexpr std::size_t npos = std::string::npos;
    std::size_t find(std::string_view what, std::size_t from = 0) const noexcept { return view().find(what, from); }
    std::size_t find(char c, std::size_t from = 0) const noexcept { return view().find(c, from); }
    std::size_t rfind(std::string_view what, std::size_t from = npos) const noexcept {
        return view().rfind(what, from);
    }
    std::size_t find_first_of(std::string_view set, std::size_t from = 0) const noexcept {
        return view().find_first_of(set, from);
    }
    std::size_t find_first_not_of(std::string_view set, std::size_t from = 0) const noexcept {
        return view().find_first_not_of(set, from);
    }
    std::string substr(std::size_t from = 0, std::size_t count = npos) const {
        return std::string(view().substr(from, count));
    }
    int compare(std::string_view other) const noexcept { return view().compare(other); }
    bool starts_with(std::string_view prefix) const noexcept { return view().starts_with(prefix); }
    bool ends_with(std::string_view suffix) const noexcept { return view().ends_with(suffix); }
    RecordText& operator+=(std::string_view more) {
        assign(str().append(more));
        return *this;
    }
    friend std::string operator+(const RecordText& a, std::string_view b) { return a.str().append(b); }
    friend std::string operator+(std::string_view a, const RecordText& b) { return std::string(a).append(b.view()); }
    friend std::string operator+(const RecordText& a, const std::string& b) { return a.str().append(b); }
    friend std::string operator+(const std::string& a, const RecordText& b) { return std::string(a).append(b.view()); }
    friend std::string operator+(const RecordText& a, const char* b) { return a.str().append(b); }
    friend std::string operator+(const char* a, const RecordText& b) { return std::string(a).append(b.view()); }

    friend bool operator==(const RecordText& a, const RecordText& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const RecordText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const RecordText& a, const std::string& b) noexcept { return a.view() == b; }
    friend bool operator==(const RecordText& a, const char* b) noexcept { return a.view() == b; }

    // Whether the bytes are in an arena rather than a block of their own.
    bool InArena() const noexcept { return p_ && !(Header(p_) & kOwnedBit); }

    // The room a text of `size` bytes takes in an arena: length, bytes, zero.
    static constexpr std::size_t ArenaRoom(std::size_t size) noexcept { return LengthBytes(size) + size + 1; }
    // Writes a text into an open arena (textarena::Open) at `at`: its length,
    // the `size` bytes at `bytes` (which may overlap the room, as when a
    // file's own bytes move down inside it) and a zero; moves `at` past it.
    // An empty text takes no room. The loader counts the texts it places and
    // gives the count to textarena::Close.
    static RecordText PlaceInArena(char*& at, const char* bytes, std::size_t size) noexcept;

private:
    static constexpr unsigned char kOwnedBit = 1;
    static constexpr std::size_t kShortLimit = 127;  // lengths below it take one byte

    static constexpr std::size_t LengthBytes(std::size_t size) noexcept { return size < kShortLimit ? 1 : 5; }
    static unsigned char Header(const char* p) noexcept { return static_cast<unsigned char>(p[-1]); }
    static std::size_t SizeAt(const char* p) noexcept {
        const unsigned char h = Header(p);
        if ((h >> 1) < kShortLimit) return h >> 1;
        return LongSize(p);
    }
    static std::size_t LongSize(const char* p) noexcept;
    // Writes the length in front of `bytes`; returns the first byte written.
    static char* PutLength(char* bytes, std::size_t size, bool owned) noexcept;

    static const char* MakeOwned(std::string_view text);
    static void Drop(const char* p) noexcept {
        if (p) Release(p);
    }
    static void Release(const char* p) noexcept;

    const char* p_ = nullptr;
};

std::ostream& operator<<(std::ostream& out, const RecordText& text);

// The arenas behind RecordText. Thread-safe: texts may be freed on any thread.
namespace textarena {

// Opens an arena over the bytes [begin, end) for a load to place texts in;
// an open arena is not freed, whatever its texts do. Returns its handle.
std::uintptr_t Open(const char* begin, const char* end);
// Closes the arena: `buffer` holds its bytes (the same addresses given to
// Open) and is kept while any of the `placed` texts is alive; with none
// left, it is freed at once.
void Close(std::uintptr_t arena, std::string&& buffer, std::size_t placed);
// How many arenas are alive, and how many bytes they keep (for tests and
// benchmarks).
std::size_t LiveArenas();
std::size_t LiveArenaBytes();

}  // namespace textarena
