// Giving memory pages back to the system without freeing the block they
// belong to: the whole pages inside [begin, begin + size) are no longer
// needed, so the system may drop them (they no longer count towards the
// process's resident memory). Their bytes become undefined; the block stays
// allocated and may be written again. Parts of pages at either end are kept.
#pragma once

#include <cstddef>

namespace platform {

void DiscardPages(void* begin, std::size_t size);

}  // namespace platform
