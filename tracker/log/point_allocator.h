#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace tracker {

// Allocator of the point store. A scan fills tens of megabytes of fresh memory, and touching
// it page by page costs more than reading the logs; large blocks are therefore aligned to and
// marked for the system's huge pages where it has them.
//
// For the same reason, elements made without a value (`resize(n)`, `PointStore(n)`) are left as
// allocated instead of zeroed: the trip database decoder writes them all, and must not touch
// every page a damaged header claims before it finds the data is not there. Code that wants
// zeroed points asks for them: `PointStore(n, TrackPoint{})`.
template <typename T>
class PointAllocator {
 public:
  using value_type = T;

  PointAllocator() = default;
  template <typename U>
  PointAllocator(const PointAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(AllocateBlock(count * sizeof(T)));
  }
  void deallocate(T* pointer, std::size_t count) noexcept { FreeBlock(pointer, count * sizeof(T)); }

  template <typename U>
  void construct(U* pointer) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(pointer)) U;
  }
  template <typename U, typename... Args>
  void construct(U* pointer, Args&&... args) {
    ::new (static_cast<void*>(pointer)) U(std::forward<Args>(args)...);
  }

  friend bool operator==(const PointAllocator&, const PointAllocator&) { return true; }

 private:
  static void* AllocateBlock(std::size_t bytes);
  static void FreeBlock(void* pointer, std::size_t bytes) noexcept;
};

// Blocks of this size and more are aligned for huge pages.
inline constexpr std::size_t kHugePageSize = 2 * 1024 * 1024;

void* AllocateLargeBlock(std::size_t bytes);
void FreeLargeBlock(void* pointer, std::size_t bytes) noexcept;

template <typename T>
void* PointAllocator<T>::AllocateBlock(std::size_t bytes) {
  return bytes >= kHugePageSize ? AllocateLargeBlock(bytes) : ::operator new(bytes);
}

template <typename T>
void PointAllocator<T>::FreeBlock(void* pointer, std::size_t bytes) noexcept {
  if (bytes >= kHugePageSize) {
    FreeLargeBlock(pointer, bytes);
  } else {
    ::operator delete(pointer, bytes);
  }
}

}  // namespace tracker
