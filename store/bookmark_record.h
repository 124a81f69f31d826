// One bookmark: a plain record on the heap, owned by the one category whose
// list holds it. Its pointer is its identity.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "record_pool.h"

struct BookmarkRecord {
    std::int32_t kind = 1;  // always 1: a bookmark (0 is a category)
    std::string title;
    std::string url;        // as typed or received, never normalised
    std::string remark;     // free text, may hold CR LF

    BookmarkRecord() = default;
    BookmarkRecord(std::string t, std::string u, std::string r = {})
        : title(std::move(t)), url(std::move(u)), remark(std::move(r)) {}

    // Records come from the record pool; `new` and `delete` work as ever.
    static void* operator new(std::size_t size) { return recordpool::Allocate(size); }
    static void operator delete(void* p, std::size_t size) noexcept { recordpool::Release(p, size); }
};
