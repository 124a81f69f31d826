#include "platform/memory_pages.h"

#include <windows.h>

#include <cstdint>

namespace platform {

void DiscardPages(void* begin, std::size_t size) {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    const std::uintptr_t page = info.dwPageSize;
    const auto from = (reinterpret_cast<std::uintptr_t>(begin) + page - 1) / page * page;
    const auto to = (reinterpret_cast<std::uintptr_t>(begin) + size) / page * page;
    if (to <= from) return;
    // The contents are of no more interest: the system drops the pages
    // instead of keeping or paging them out.
    ::VirtualAlloc(reinterpret_cast<void*>(from), to - from, MEM_RESET, PAGE_READWRITE);
}

}  // namespace platform
