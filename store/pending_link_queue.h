// Links handed in from outside (the automation object, drops) on their way to
// the bookmark list, first in, first out. The one lock is held only to push,
// take the front element or test for emptiness.
//
// Every producer goes through Push, which is where the limits on what other
// programs may hand in are kept: a link's title or URL of more than
// kMaxLinkTextBytes is refused, and so is any link while kMaxPendingLinks
// wait. A runaway caller can then neither fill the memory nor the file.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

class ClassRecord;

struct PendingLink {
    std::string title;
    std::string url;
    ClassRecord* target = nullptr;  // category to file it in; none: the one on display
};

// Limits on incoming links (bytes of the ANSI code page for the texts).
inline constexpr std::size_t kMaxLinkTextBytes = 64 * 1024;
inline constexpr std::size_t kMaxPendingLinks = 10000;

enum class PushResult {
    kQueued,
    kTooLong,    // title or URL over kMaxLinkTextBytes: refused
    kQueueFull,  // kMaxPendingLinks already wait: refused
};

// Whether a title and URL of these lengths are within the limit; producers
// that must convert their texts first ask this before converting.
bool LinkTextsFit(std::size_t titleBytes, std::size_t urlBytes);

class PendingLinkQueue {
public:
    static PendingLinkQueue& Instance();

    // Appends the link unless a limit refuses it (the link is then dropped).
    PushResult Push(PendingLink link);
    std::optional<PendingLink> PopFront();
    bool Empty() const;
    std::size_t Size() const;

private:
    mutable std::mutex lock_;
    std::deque<PendingLink> links_;
};
