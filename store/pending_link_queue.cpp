#include "pending_link_queue.h"

#include <utility>

bool LinkTextsFit(std::size_t titleBytes, std::size_t urlBytes) {
    return titleBytes <= kMaxLinkTextBytes && urlBytes <= kMaxLinkTextBytes;
}

PendingLinkQueue& PendingLinkQueue::Instance() {
    static PendingLinkQueue queue;
    return queue;
}

PushResult PendingLinkQueue::Push(PendingLink link) {
    if (!LinkTextsFit(link.title.size(), link.url.size())) return PushResult::kTooLong;
    std::lock_guard<std::mutex> guard(lock_);
    if (links_.size() >= kMaxPendingLinks) return PushResult::kQueueFull;
    links_.push_back(std::move(link));
    return PushResult::kQueued;
}

std::optional<PendingLink> PendingLinkQueue::PopFront() {
    std::lock_guard<std::mutex> guard(lock_);
    if (links_.empty()) return std::nullopt;
    PendingLink front = std::move(links_.front());
    links_.pop_front();
    return front;
}

bool PendingLinkQueue::Empty() const {
    std::lock_guard<std::mutex> guard(lock_);
    return links_.empty();
}

std::size_t PendingLinkQueue::Size() const {
    std::lock_guard<std::mutex> guard(lock_);
    return links_.size();
}
