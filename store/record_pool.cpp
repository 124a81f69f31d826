#include "record_pool.h"

#include <atomic>
#include <thread>
#include <new>

#include "bookmark_record.h"

#if defined(__SANITIZE_ADDRESS__)
#define QUORVA_RECORDS_ON_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVA_RECORDS_ON_HEAP 1
#endif
#endif

namespace recordpool {

#ifndef QUORVA_RECORDS_ON_HEAP
namespace {

constexpr std::size_t kSlotSize =
    (sizeof(BookmarkRecord) + alignof(BookmarkRecord) - 1) / alignof(BookmarkRecord) * alignof(BookmarkRecord);
static_assert(kSlotSize >= sizeof(void*), "a free slot holds a link");
constexpr std::size_t kSlotsPerBlock = 1024;

class Pool {
public:
    void* Take() {
        Lock lock(busy_);
        if (free_) {
            FreeSlot* slot = free_;
            free_ = slot->next;
            return slot;
        }
        if (next_ == end_) {
            // Kept for the life of the process: reachable from the pool.
            auto* block = static_cast<unsigned char*>(::operator new(kSlotSize * kSlotsPerBlock));
            *reinterpret_cast<unsigned char**>(block) = blocks_;
            blocks_ = block;
            next_ = block + kSlotSize;  // the first slot links the blocks
            end_ = block + kSlotSize * kSlotsPerBlock;
        }
        void* slot = next_;
        next_ += kSlotSize;
        return slot;
    }
    void Give(void* p) noexcept {
        Lock lock(busy_);
        auto* slot = static_cast<FreeSlot*>(p);
        slot->next = free_;
        free_ = slot;
    }

private:
    struct FreeSlot {
        FreeSlot* next;
    };
    // Held for a few instructions, by two threads at most: spinning is
    // cheaper than a mutex here.
    class Lock {
    public:
        explicit Lock(std::atomic_flag& flag) : flag_(flag) {
            while (flag_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
        }
        ~Lock() { flag_.clear(std::memory_order_release); }

    private:
        std::atomic_flag& flag_;
    };
    std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
    FreeSlot* free_ = nullptr;
    unsigned char* blocks_ = nullptr;
    unsigned char* next_ = nullptr;
    unsigned char* end_ = nullptr;
};

Pool& ThePool() {
    static Pool* pool = new Pool;  // never destroyed: records may outlive static destruction
    return *pool;
}

}  // namespace
#endif

void* Allocate(std::size_t size) {
#ifndef QUORVA_RECORDS_ON_HEAP
    if (size == sizeof(BookmarkRecord)) return ThePool().Take();
#endif
    return ::operator new(size);
}

void Release(void* p, [[maybe_unused]] std::size_t size) noexcept {
    if (!p) return;
#ifndef QUORVA_RECORDS_ON_HEAP
    if (size == sizeof(BookmarkRecord)) {
        ThePool().Give(p);
        return;
    }
#endif
    ::operator delete(p);
}

}  // namespace recordpool
