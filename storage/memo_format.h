// Memo files (.FPT of FoxPro, .DBT of dBase III and IV) as bytes: the text of one memo. No file access.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace storage::memo {

enum class Kind { kFoxPro, kDBase3, kDBase4 };

// The memo file that goes with a data file of this version byte, if any.
std::optional<Kind> KindOfVersion(std::uint8_t version);
const char* Extension(Kind kind);  // ".FPT" or ".DBT"

// The stored bytes of the memo at `block`; nothing when the block lies outside the file or is damaged.
std::optional<std::string> MemoAt(std::span<const std::byte> file, std::uint32_t block, Kind kind);

}  // namespace storage::memo
