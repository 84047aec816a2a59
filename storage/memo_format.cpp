#include "storage/memo_format.h"

#include <algorithm>

namespace storage::memo {
namespace {

std::uint32_t BigEndian(std::span<const std::byte> bytes, std::size_t at, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value = (value << 8) | std::to_integer<std::uint32_t>(bytes[at + i]);
  return value;
}

std::uint32_t LittleEndian(std::span<const std::byte> bytes, std::size_t at, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = width; i > 0; --i) value = (value << 8) | std::to_integer<std::uint32_t>(bytes[at + i - 1]);
  return value;
}

std::string Text(std::span<const std::byte> bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

// Where a block starts, if the file holds at least `needed` bytes from there.
std::optional<std::size_t> BlockStart(std::span<const std::byte> file, std::uint64_t block, std::uint64_t blockSize,
                                      std::size_t needed) {
  if (blockSize == 0) return std::nullopt;
  std::uint64_t start = block * blockSize;
  if (start + needed > file.size()) return std::nullopt;
  return static_cast<std::size_t>(start);
}

std::optional<std::string> FoxProMemo(std::span<const std::byte> file, std::uint32_t block) {
  if (file.size() < 8) return std::nullopt;
  auto start = BlockStart(file, block, BigEndian(file, 6, 2), 8);
  if (!start) return std::nullopt;
  std::uint32_t length = BigEndian(file, *start + 4, 4);
  if (length > file.size() - *start - 8) return std::nullopt;
  return Text(file.subspan(*start + 8, length));
}

std::optional<std::string> DBase3Memo(std::span<const std::byte> file, std::uint32_t block) {
  auto start = BlockStart(file, block, 512, 1);
  if (!start) return std::nullopt;
  std::span<const std::byte> rest = file.subspan(*start);
  auto end = std::find(rest.begin(), rest.end(), std::byte{0x1A});
  return Text(rest.first(static_cast<std::size_t>(end - rest.begin())));
}

std::optional<std::string> DBase4Memo(std::span<const std::byte> file, std::uint32_t block) {
  if (file.size() < 22) return std::nullopt;
  std::uint32_t blockSize = LittleEndian(file, 20, 2);
  auto start = BlockStart(file, block, blockSize == 0 ? 512 : blockSize, 8);
  if (!start) return std::nullopt;
  if (file[*start] != std::byte{0xFF} || file[*start + 1] != std::byte{0xFF}) return DBase3Memo(file, block);
  std::uint32_t length = LittleEndian(file, *start + 4, 4);
  if (length < 8 || length - 8 > file.size() - *start - 8) return std::nullopt;
  return Text(file.subspan(*start + 8, length - 8));
}

}  // namespace

std::optional<Kind> KindOfVersion(std::uint8_t version) {
  switch (version) {
    case 0xF5: case 0x30: case 0x31: case 0x32: case 0xFB: return Kind::kFoxPro;
    case 0x83: return Kind::kDBase3;
    case 0x8B: case 0x8E: case 0xCB: return Kind::kDBase4;
    default: return std::nullopt;
  }
}

const char* Extension(Kind kind) { return kind == Kind::kFoxPro ? ".FPT" : ".DBT"; }

std::optional<std::string> MemoAt(std::span<const std::byte> file, std::uint32_t block, Kind kind) {
  switch (kind) {
    case Kind::kFoxPro: return FoxProMemo(file, block);
    case Kind::kDBase3: return DBase3Memo(file, block);
    case Kind::kDBase4: return DBase4Memo(file, block);
  }
  return std::nullopt;
}

}  // namespace storage::memo
