// Large blocks on Windows: the process heap, in steps of 64 KB. Large pages there need a privilege that a
// desktop program does not hold.
#include <cstdlib>
#include <new>
#include <utility>

#include "platform/platform.h"

namespace platform {

namespace {

constexpr std::size_t kStep = std::size_t{64} << 10;

std::size_t WholeSteps(std::size_t size) { return (size + kStep - 1) / kStep * kStep; }

}  // namespace

LargeBlock::LargeBlock(std::size_t size) { Grow(size); }

LargeBlock::~LargeBlock() { std::free(data_); }

void LargeBlock::Grow(std::size_t size) {
  if (size <= size_) return;
  std::size_t grown = WholeSteps(size);
  void* block = std::realloc(data_, grown);
  if (block == nullptr) throw std::bad_alloc();
  data_ = static_cast<std::byte*>(block);
  size_ = grown;
}

// The process heap of Windows takes no such advice.
void PreferLargePagesForTheHeap() {}

}  // namespace platform
