#include "record_text.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <ostream>
#include <thread>
#include <vector>

namespace {

// Held for a few instructions: spinning is cheaper than a mutex here.
class SpinLock {
public:
    explicit SpinLock(std::atomic_flag& flag) : flag_(flag) {
        while (flag_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    ~SpinLock() { flag_.clear(std::memory_order_release); }
    SpinLock(const SpinLock&) = delete;
    SpinLock& operator=(const SpinLock&) = delete;

private:
    std::atomic_flag& flag_;
};

struct Arena {
    const char* begin;
    const char* end;
    // Texts placed minus texts gone; texts may go before the count of those
    // placed arrives at Close, so it may dip below zero while open.
    std::ptrdiff_t live = 0;
    bool open = true;
    std::string buffer;
};

// The live arenas: a handful at most (one per file loaded and still in use).
struct Registry {
    std::atomic_flag busy = ATOMIC_FLAG_INIT;
    std::vector<Arena*> arenas;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry;  // never destroyed: texts may outlive static destruction
    return *registry;
}

// Removes `arena` from the registry when it is closed and no text is left
// in it; returns it then, for the caller to free outside the lock.
Arena* TakeIfDone(Registry& r, Arena* arena) {
    if (arena->open || arena->live != 0) return nullptr;
    for (std::size_t i = 0; i < r.arenas.size(); ++i) {
        if (r.arenas[i] == arena) {
            r.arenas[i] = r.arenas.back();
            r.arenas.pop_back();
            break;
        }
    }
    return arena;
}

}  // namespace

std::size_t RecordText::LongSize(const char* p) noexcept {
    std::uint32_t size;
    std::memcpy(&size, p - 5, sizeof size);
    return size;
}

char* RecordText::PutLength(char* bytes, std::size_t size, bool owned) noexcept {
    const unsigned char flag = owned ? kOwnedBit : 0;
    if (size < kShortLimit) {
        bytes[-1] = static_cast<char>((size << 1) | flag);
        return bytes - 1;
    }
    const auto size32 = static_cast<std::uint32_t>(size);
    std::memcpy(bytes - 5, &size32, sizeof size32);
    bytes[-1] = static_cast<char>((kShortLimit << 1) | flag);
    return bytes - 5;
}

const char* RecordText::MakeOwned(std::string_view text) {
    if (text.empty()) return nullptr;
    if (text.size() > 0xFFFFFFFFu) throw std::bad_alloc();
    const std::size_t room = LengthBytes(text.size()) + text.size() + 1;
    auto* block = static_cast<char*>(::operator new(room));
    char* bytes = block + LengthBytes(text.size());
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    PutLength(bytes, text.size(), true);
    return bytes;
}

RecordText RecordText::PlaceInArena(char*& at, const char* bytes, std::size_t size) noexcept {
    RecordText text;
    if (size == 0) return text;
    char* placed = at + LengthBytes(size);
    std::memmove(placed, bytes, size);
    placed[size] = '\0';
    PutLength(placed, size, false);
    at = placed + size + 1;
    text.p_ = placed;
    return text;
}

void RecordText::Release(const char* p) noexcept {
    if (Header(p) & kOwnedBit) {
        ::operator delete(const_cast<char*>(p) - LengthBytes(SizeAt(p)));
        return;
    }
    Registry& r = TheRegistry();
    Arena* done = nullptr;
    {
        SpinLock lock(r.busy);
        for (Arena* arena : r.arenas) {
            if (p >= arena->begin && p < arena->end) {
                --arena->live;
                done = TakeIfDone(r, arena);
                break;
            }
        }
    }
    delete done;
}

std::ostream& operator<<(std::ostream& out, const RecordText& text) { return out << text.view(); }

namespace textarena {

std::uintptr_t Open(const char* begin, const char* end) {
    auto arena = std::make_unique<Arena>();
    arena->begin = begin;
    arena->end = end;
    Registry& r = TheRegistry();
    SpinLock lock(r.busy);
    r.arenas.push_back(arena.get());
    return reinterpret_cast<std::uintptr_t>(arena.release());
}

void Close(std::uintptr_t handle, std::string&& buffer, std::size_t placed) {
    auto* arena = reinterpret_cast<Arena*>(handle);
    Registry& r = TheRegistry();
    Arena* done = nullptr;
    {
        SpinLock lock(r.busy);
        arena->buffer = std::move(buffer);
        arena->live += static_cast<std::ptrdiff_t>(placed);
        arena->open = false;
        done = TakeIfDone(r, arena);
    }
    delete done;
}

std::size_t LiveArenas() {
    Registry& r = TheRegistry();
    SpinLock lock(r.busy);
    return r.arenas.size();
}

std::size_t LiveArenaBytes() {
    Registry& r = TheRegistry();
    SpinLock lock(r.busy);
    std::size_t bytes = 0;
    for (const Arena* arena : r.arenas) bytes += static_cast<std::size_t>(arena->end - arena->begin);
    return bytes;
}

}  // namespace textarena
