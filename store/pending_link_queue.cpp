#include "pending_link_queue.h"

#include <utility>

PendingLinkQueue& PendingLinkQueue::Instance() {
    static PendingLinkQueue queue;
    return queue;
}

void PendingLinkQueue::Push(PendingLink link) {
    std::lock_guard<std::mutex> guard(lock_);
    links_.push_back(std::move(link));
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
