// Memo files (.FPT of FoxPro, .DBT of dBase III and IV) as bytes: the text of one memo, and a whole .FPT
// built from its memos. No file access.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace storage::memo {

enum class Kind { kFoxPro, kDBase3, kDBase4 };

// The memo file that goes with a data file of this version byte, if any.
std::optional<Kind> KindOfVersion(std::uint8_t version);
const char* Extension(Kind kind);  // ".FPT" or ".DBT"

// The stored bytes of the memo at `block`; nothing when the block lies outside the file or is damaged.
std::optional<std::string> MemoAt(std::span<const std::byte> file, std::uint32_t block, Kind kind);

// A FoxPro memo file built in memory, as FoxPro 2.x writes one: a 512-byte header, then each memo from the
// start of a block, its type (text) and length big-endian in the 8 bytes before it, the rest of its last
// block zero.
class FoxProWriter {
 public:
  // `blockSize` in bytes, at least 1 (FoxPro 2.x takes 64); the header fills whole blocks. Throws
  // std::invalid_argument for 0.
  explicit FoxProWriter(std::uint16_t blockSize);

  // Adds a text memo's stored bytes (in the table's code page); returns its block, for the memo field.
  std::uint32_t Add(std::string_view stored);

  // The whole file, its header naming the next free block and the block size.
  std::vector<std::byte> Bytes() const;

 private:
  std::uint16_t blockSize_;
  std::vector<std::byte> bytes_;
};

}  // namespace storage::memo
