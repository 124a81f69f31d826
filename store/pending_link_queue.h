// Links handed in from outside (the automation object, drops) on their way to
// the bookmark list, first in, first out. The one lock is held only to push,
// take the front element or test for emptiness.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>

class ClassRecord;

struct PendingLink {
    std::string title;
    std::string url;
    ClassRecord* target = nullptr;  // category to file it in; none: the one on display
};

class PendingLinkQueue {
public:
    static PendingLinkQueue& Instance();

    void Push(PendingLink link);
    std::optional<PendingLink> PopFront();
    bool Empty() const;

private:
    mutable std::mutex lock_;
    std::deque<PendingLink> links_;
};
