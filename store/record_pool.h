// Memory for records that a collection holds by the hundred thousand: slots
// of one size carved from large blocks, and reused once freed. A collection
// of 100,000 bookmarks then costs about a hundred heap blocks for its records
// instead of 100,000, which counts most where the heap is slow (Wine's):
// loading, closing and the memory each record takes.
//
// Thread-safe: the transfer worker makes records while the window's thread
// may free others. Blocks are kept for the life of the process. Under
// AddressSanitizer every record is a heap block of its own, so that a use
// after free is still caught.
#pragma once

#include <cstddef>

namespace recordpool {

void* Allocate(std::size_t size);
void Release(void* p, std::size_t size) noexcept;

}  // namespace recordpool
