// Large blocks on POSIX hosts: anonymous mappings that start on a large-page boundary and ask for transparent
// large pages, grown by moving their pages rather than their bytes.
#include <sys/mman.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "platform/platform.h"

namespace platform {

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;  // x86-64's and arm64's, with small pages of 4 KB

std::size_t WholeLargePages(std::size_t size) { return (size + kLargePage - 1) / kLargePage * kLargePage; }

std::uintptr_t Address(const void* at) { return reinterpret_cast<std::uintptr_t>(at); }
void* Place(std::uintptr_t address) { return reinterpret_cast<void*>(address); }

// Fresh memory of `size` bytes (whole large pages) on a large-page boundary: a mapping one large page longer,
// trimmed at both ends.
std::byte* MapOnLargePages(std::size_t size) {
  void* mapped = ::mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  std::uintptr_t start = Address(mapped);
  std::uintptr_t aligned = (start + kLargePage - 1) & ~(kLargePage - 1);
  if (aligned > start) ::munmap(mapped, aligned - start);
  std::uintptr_t end = start + size + kLargePage;
  if (end > aligned + size) ::munmap(Place(aligned + size), end - (aligned + size));
  // A host without transparent large pages refuses the advice and gives small pages: still memory.
  ::madvise(Place(aligned), size, MADV_HUGEPAGE);
  return static_cast<std::byte*>(Place(aligned));
}

}  // namespace

LargeBlock::LargeBlock(std::size_t size) : size_(WholeLargePages(size)) {
  if (size_ > 0) data_ = MapOnLargePages(size_);
}

LargeBlock::~LargeBlock() {
  if (data_ != nullptr) ::munmap(data_, size_);
}

void LargeBlock::Grow(std::size_t size) {
  if (size <= size_) return;
  std::size_t grown = WholeLargePages(size);
  if (data_ == nullptr) {
    data_ = MapOnLargePages(grown);
    size_ = grown;
    return;
  }
  // In place where the addresses after the block are free (the mapping keeps its advice), else its pages
  // move to the start of a fresh block.
  if (::mremap(data_, size_, grown, 0) != MAP_FAILED) {
    size_ = grown;
    return;
  }
  std::byte* moved = MapOnLargePages(grown);
  if (::mremap(data_, size_, size_, MREMAP_MAYMOVE | MREMAP_FIXED, moved) == MAP_FAILED) {
    std::memcpy(moved, data_, size_);
    ::munmap(data_, size_);
  }
  data_ = moved;
  size_ = grown;
}

#if defined(__GLIBC__)
namespace {

// The space below the heap's first large-page boundary, taken once and for all: its small pages are readied
// already, and what is allocated next starts on the boundary.
void* volatile belowTheBoundary = nullptr;

// Where the heap's next allocations from its top start: the break, less the free space at the top.
std::uintptr_t TopOfHeap() { return Address(::sbrk(0)) - ::mallinfo2().keepcost; }

}  // namespace
#endif

// With glibc: the heap grows by the program's break. Its top is made to grow in steps of several large pages
// and to keep what is freed, the heap starts again on a large-page boundary, and the advice covers the rest
// of the step. Further steps have small pages.
void PreferLargePagesForTheHeap() {
#if defined(__GLIBC__)
  constexpr std::size_t kStep = 8 * kLargePage;
  constexpr std::size_t kChunkOverhead = 64;  // what glibc puts around a chunk, and a little more
  ::mallopt(M_TOP_PAD, static_cast<int>(kStep));
  ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(4 * kStep));
  ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(2 * kStep));  // what is smaller comes from the heap
  std::uintptr_t top = TopOfHeap();
  std::uintptr_t boundary = (top + kChunkOverhead + kLargePage - 1) & ~(kLargePage - 1);
  belowTheBoundary = std::malloc(boundary - top - kChunkOverhead);
  std::uintptr_t start = (TopOfHeap() + kLargePage - 1) & ~(kLargePage - 1);  // the boundary, normally
  std::uintptr_t end = Address(::sbrk(0)) & ~(kLargePage - 1);
  if (end > start) ::madvise(Place(start), end - start, MADV_HUGEPAGE);
#endif
}

}  // namespace platform
