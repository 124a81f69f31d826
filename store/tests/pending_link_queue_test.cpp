#include "pending_link_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(PendingLinkQueueTest, FirstInFirstOut) {
    PendingLinkQueue queue;
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(queue.PopFront().has_value());
    auto* target = reinterpret_cast<ClassRecord*>(&queue);  // only compared, never used
    queue.Push({"one", "u1", nullptr});
    queue.Push({"two", "u2", target});
    queue.Push({"three", "u3", nullptr});
    EXPECT_FALSE(queue.Empty());
    std::optional<PendingLink> first = queue.PopFront();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->title, "one");
    EXPECT_EQ(first->url, "u1");
    EXPECT_EQ(first->target, nullptr);
    std::optional<PendingLink> second = queue.PopFront();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->title, "two");
    EXPECT_EQ(second->target, target);
    EXPECT_EQ(queue.PopFront()->title, "three");
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(queue.PopFront().has_value());
}

TEST(PendingLinkQueueTest, RefusesOverLongTextsAndAFullQueue) {
    PendingLinkQueue queue;
    const std::string atLimit(kMaxLinkTextBytes, 'x');
    const std::string overLimit(kMaxLinkTextBytes + 1, 'x');
    EXPECT_EQ(queue.Push({atLimit, atLimit, nullptr}), PushResult::kQueued);
    EXPECT_EQ(queue.Push({overLimit, "u", nullptr}), PushResult::kTooLong);
    EXPECT_EQ(queue.Push({"t", overLimit, nullptr}), PushResult::kTooLong);
    EXPECT_EQ(queue.Size(), 1u);
    while (queue.Size() < kMaxPendingLinks) ASSERT_EQ(queue.Push({"t", "u", nullptr}), PushResult::kQueued);
    EXPECT_EQ(queue.Push({"t", "u", nullptr}), PushResult::kQueueFull);
    EXPECT_EQ(queue.Size(), kMaxPendingLinks);
    ASSERT_TRUE(queue.PopFront());
    EXPECT_EQ(queue.Push({"t", "u", nullptr}), PushResult::kQueued);
}

TEST(PendingLinkQueueTest, TheProcessWideQueueIsOne) {
    EXPECT_EQ(&PendingLinkQueue::Instance(), &PendingLinkQueue::Instance());
}

// Several producers (the automation object, drop targets) and the one
// consumer: nothing lost, nothing doubled, each producer's links in order.
TEST(PendingLinkQueueTest, ConcurrentProducersAndAConsumerLoseNothing) {
    PendingLinkQueue queue;
    constexpr int kProducers = 4;
    constexpr int kPerProducer = 5000;
    std::atomic<bool> go{false};
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            while (!go) std::this_thread::yield();
            // A full queue refuses; these producers wait for room instead.
            for (int i = 0; i < kPerProducer; ++i) {
                while (queue.Push({std::to_string(p), std::to_string(i), nullptr}) == PushResult::kQueueFull) {
                    std::this_thread::yield();
                }
            }
        });
    }
    std::vector<int> next(kProducers, 0);
    int received = 0;
    bool inOrder = true;
    std::thread consumer([&] {
        while (received < kProducers * kPerProducer) {
            std::optional<PendingLink> link = queue.PopFront();
            if (!link) {
                std::this_thread::yield();
                continue;
            }
            const int p = std::stoi(link->title);
            if (std::stoi(link->url) != next[p]) inOrder = false;
            ++next[p];
            ++received;
        }
    });
    go = true;
    for (std::thread& t : producers) t.join();
    consumer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(received, kProducers * kPerProducer);
    for (int n : next) EXPECT_EQ(n, kPerProducer);
    EXPECT_TRUE(queue.Empty());
}

}  // namespace
