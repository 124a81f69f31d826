// Records come from the record pool: every live record has its own memory,
// freed slots are reused, and two threads may make and free records at once
// (the transfer worker and the window's thread). Part of the threaded tests,
// which also run under ThreadSanitizer; under AddressSanitizer records are
// plain heap blocks and these tests check only that they behave the same.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bookmark_record.h"

namespace {

TEST(RecordPoolTest, LiveRecordsNeverShareMemoryAndKeepTheirTexts) {
    std::vector<BookmarkRecord*> live;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 5000; ++i) {
            live.push_back(new BookmarkRecord("title " + std::to_string(i), std::string(40, 'u'), "r"));
        }
        // Free every other one; the next round reuses their slots.
        std::vector<BookmarkRecord*> kept;
        for (std::size_t i = 0; i < live.size(); ++i) {
            if (i % 2) delete live[i];
            else kept.push_back(live[i]);
        }
        live.swap(kept);
    }
    std::set<BookmarkRecord*> distinct(live.begin(), live.end());
    EXPECT_EQ(distinct.size(), live.size());
    for (BookmarkRecord* record : live) {
        EXPECT_EQ(record->url, std::string(40, 'u'));
        EXPECT_EQ(record->title.rfind("title ", 0), 0u);
        delete record;
    }
}

TEST(RecordPoolTest, TwoThreadsMakeAndFreeRecordsAtOnce) {
    auto work = [](int seed, std::vector<BookmarkRecord*>& out) {
        for (int i = 0; i < 20000; ++i) {
            auto* record = new BookmarkRecord(std::to_string(seed * 100000 + i), "u");
            if (i % 3 == 0) delete record;
            else out.push_back(record);
        }
    };
    std::vector<BookmarkRecord*> a, b;
    std::thread other(work, 1, std::ref(b));
    work(2, a);
    other.join();
    std::set<BookmarkRecord*> distinct(a.begin(), a.end());
    distinct.insert(b.begin(), b.end());
    EXPECT_EQ(distinct.size(), a.size() + b.size());
    for (BookmarkRecord* record : a) {
        EXPECT_EQ(record->title.substr(0, 1), "2");
        delete record;
    }
    for (BookmarkRecord* record : b) {
        EXPECT_EQ(record->title.substr(0, 1), "1");
        delete record;
    }
}

}  // namespace
