#include "storage/memo_format.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "util/coding.h"

namespace storage::memo {
namespace {

// FoxPro: the header, big-endian, and the 8 bytes before each memo, big-endian too.
constexpr std::size_t kFoxProHeaderLength = 512;
constexpr std::size_t kFoxProNextFreeAt = 0;
constexpr std::size_t kFoxProBlockSizeAt = 6;
constexpr std::size_t kFoxProMemoTypeAt = 0;
constexpr std::size_t kFoxProMemoLengthAt = 4;
constexpr std::size_t kFoxProMemoHeaderLength = 8;
constexpr std::uint32_t kFoxProTextMemo = 1;

// dBase IV: the block size in the header, little-endian; each memo starts FF FF 08 00, then its length with
// those 8 bytes, little-endian.
constexpr std::size_t kDBase4BlockSizeAt = 20;
constexpr std::size_t kDBase4MemoLengthAt = 4;
constexpr std::size_t kDBase4MemoHeaderLength = 8;

// dBase III: 512-byte blocks, each memo ended by 0x1A.
constexpr std::size_t kDBase3BlockSize = 512;
constexpr std::byte kDBase3EndOfMemo{0x1A};

std::size_t RoundUp(std::size_t length, std::size_t blockSize) {
  return (length + blockSize - 1) / blockSize * blockSize;
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
  if (file.size() < kFoxProBlockSizeAt + 2) return std::nullopt;
  auto start = BlockStart(file, block, util::DecodeBigEndian16(&file[kFoxProBlockSizeAt]), kFoxProMemoHeaderLength);
  if (!start) return std::nullopt;
  std::uint32_t length = util::DecodeBigEndian32(&file[*start + kFoxProMemoLengthAt]);
  if (length > file.size() - *start - kFoxProMemoHeaderLength) return std::nullopt;
  return Text(file.subspan(*start + kFoxProMemoHeaderLength, length));
}

std::optional<std::string> DBase3Memo(std::span<const std::byte> file, std::uint32_t block) {
  auto start = BlockStart(file, block, kDBase3BlockSize, 1);
  if (!start) return std::nullopt;
  std::span<const std::byte> rest = file.subspan(*start);
  auto end = std::find(rest.begin(), rest.end(), kDBase3EndOfMemo);
  return Text(rest.first(static_cast<std::size_t>(end - rest.begin())));
}

std::optional<std::string> DBase4Memo(std::span<const std::byte> file, std::uint32_t block) {
  if (file.size() < kDBase4BlockSizeAt + 2) return std::nullopt;
  std::uint32_t blockSize = util::DecodeFixed16(&file[kDBase4BlockSizeAt]);
  auto start = BlockStart(file, block, blockSize == 0 ? kDBase3BlockSize : blockSize, kDBase4MemoHeaderLength);
  if (!start) return std::nullopt;
  if (file[*start] != std::byte{0xFF} || file[*start + 1] != std::byte{0xFF}) return DBase3Memo(file, block);
  std::uint32_t length = util::DecodeFixed32(&file[*start + kDBase4MemoLengthAt]);
  if (length < kDBase4MemoHeaderLength) return std::nullopt;
  std::size_t textLength = length - kDBase4MemoHeaderLength;
  if (textLength > file.size() - *start - kDBase4MemoHeaderLength) return std::nullopt;
  return Text(file.subspan(*start + kDBase4MemoHeaderLength, textLength));
}

}  // namespace

std::optional<Kind> KindOfVersion(std::uint8_t version) {
  switch (version) {
    case 0xF5: case 0x30: case 0x31: case 0x32: case 0xFB: return Kind::kFoxPro;
    case 0x83: return Kind::kDBase3;
    case 0x8B: case 0x8C: case 0x8E: case 0xCB: return Kind::kDBase4;  // 0x8C: dBase 7
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

FoxProWriter::FoxProWriter(std::uint16_t blockSize) : blockSize_(blockSize) {
  if (blockSize == 0) throw std::invalid_argument("Un archivo de memos no puede tener bloques de 0 bytes");
  bytes_.resize(RoundUp(kFoxProHeaderLength, blockSize_));
}

std::uint32_t FoxProWriter::Add(std::string_view stored) {
  std::size_t start = bytes_.size();
  bytes_.resize(RoundUp(start + kFoxProMemoHeaderLength + stored.size(), blockSize_));
  util::EncodeBigEndian32(&bytes_[start + kFoxProMemoTypeAt], kFoxProTextMemo);
  util::EncodeBigEndian32(&bytes_[start + kFoxProMemoLengthAt], static_cast<std::uint32_t>(stored.size()));
  if (!stored.empty()) std::memcpy(bytes_.data() + start + kFoxProMemoHeaderLength, stored.data(), stored.size());
  return static_cast<std::uint32_t>(start / blockSize_);
}

std::vector<std::byte> FoxProWriter::Bytes() const {
  std::vector<std::byte> file = bytes_;
  util::EncodeBigEndian32(&file[kFoxProNextFreeAt], static_cast<std::uint32_t>(file.size() / blockSize_));
  util::EncodeBigEndian16(&file[kFoxProBlockSizeAt], blockSize_);
  return file;
}

}  // namespace storage::memo
