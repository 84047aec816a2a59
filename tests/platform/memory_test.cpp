// Large blocks: what was written stays through every growth, whether the block grows in place or its pages
// move, and a moved-from block is empty.
#include <gtest/gtest.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace {

using platform::LargeBlock;

// A byte that differs from its neighbours' and from zero, for each place.
std::byte PatternAt(std::size_t at) { return static_cast<std::byte>(at % 251 + 1); }

void Fill(LargeBlock& block, std::size_t from, std::size_t to) {
  for (std::size_t at = from; at < to; ++at) block.data()[at] = PatternAt(at);
}

// The first place in [0, to) that lost its byte, or `to`.
std::size_t FirstLost(const LargeBlock& block, std::size_t to) {
  for (std::size_t at = 0; at < to; ++at) {
    if (block.data()[at] != PatternAt(at)) return at;
  }
  return to;
}

TEST(LargeBlockTest, GrowingKeepsEveryByteWrittenBefore) {
  constexpr std::size_t kMegabyte = std::size_t{1} << 20;
  LargeBlock block(100 * 1024);
  ASSERT_GE(block.size(), 100U * 1024);
  Fill(block, 0, block.size());
  std::size_t written = block.size();
  // Blocks made in between take the addresses around it, so that some growths must move its pages.
  std::vector<LargeBlock> neighbours;
  for (std::size_t size : {3 * kMegabyte, 5 * kMegabyte, 5 * kMegabyte + 1, 16 * kMegabyte}) {
    SCOPED_TRACE(size);
    neighbours.emplace_back(kMegabyte);
    block.Grow(size);
    ASSERT_GE(block.size(), size);
    EXPECT_EQ(FirstLost(block, written), written);
    Fill(block, written, block.size());
    written = block.size();
  }
  block.Grow(written - 1);  // a smaller size changes nothing
  EXPECT_EQ(block.size(), written);

  LargeBlock taken(std::move(block));
  EXPECT_EQ(block.data(), nullptr);
  EXPECT_EQ(block.size(), 0U);
  EXPECT_EQ(FirstLost(taken, written), written);
}

}  // namespace
