// One bookmark: a small record owned by the one category whose list holds
// it. Its pointer is its identity. The texts read like constant strings and
// are replaced by assigning (see record_text.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "record_text.h"

#include "record_pool.h"

struct BookmarkRecord {
    static constexpr std::int32_t kind = 1;  // a bookmark (0 is a category)
    RecordText title;
    RecordText url;     // as typed or received, never normalised
    RecordText remark;  // free text, may hold CR LF

    BookmarkRecord() = default;
    BookmarkRecord(std::string_view t, std::string_view u, std::string_view r = {}) : title(t), url(u), remark(r) {}

    // Records come from the record pool; `new` and `delete` work as ever.
    static void* operator new(std::size_t size) { return recordpool::Allocate(size); }
    static void operator delete(void* p, std::size_t size) noexcept { recordpool::Release(p, size); }
};
