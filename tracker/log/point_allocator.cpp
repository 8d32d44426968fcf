#include "tracker/log/point_allocator.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tracker {

void* AllocateLargeBlock(std::size_t bytes) {
  void* block = ::operator new (bytes, std::align_val_t{kHugePageSize});
#if defined(MADV_HUGEPAGE)
  // Only a hint: without transparent huge pages the block is an ordinary one.
  madvise(block, bytes, MADV_HUGEPAGE);
#endif
  return block;
}

void FreeLargeBlock(void* pointer, std::size_t bytes) noexcept {
  ::operator delete (pointer, bytes, std::align_val_t{kHugePageSize});
}

}  // namespace tracker
