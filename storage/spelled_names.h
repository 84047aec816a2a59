// Inside the storage library: the field numbers a table object's callers asked for, by each name exactly as
// they spelled it. Callers name the same fields record after record, mostly from the same text in memory (a
// literal, a name kept in a variable): a look here first goes to the slot of where the name lies, then to
// that of its characters, and costs a few comparisons where the table's own lookup folds the name's case and
// hashes it. A slot is taken only when it holds the same characters. No file access.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace storage {

class SpelledFieldNames {
 public:
  // The quick look: where the name lies only, for callers that name a field from the same text each time.
  std::optional<std::size_t> FindPlaced(std::string_view name) const {
    if (name.empty() || name.size() > kLongest) return std::nullopt;
    const Slot& placed = byPlace_[PlaceSlotOf(name.data())];
    if (Holds(placed, name)) [[likely]] return placed.index;
    return std::nullopt;
  }

  std::optional<std::size_t> Find(std::string_view name) {
    if (auto placed = FindPlaced(name)) return placed;
    if (name.empty() || name.size() > kLongest || !byCharacters_) return std::nullopt;
    const Slot& spelled = (*byCharacters_)[CharacterSlotOf(name)];
    if (!Holds(spelled, name)) return std::nullopt;
    byPlace_[PlaceSlotOf(name.data())] = spelled;
    return spelled.index;
  }

  // Remembers a name, in place of others that fall in the same slots.
  void Remember(std::string_view name, std::size_t index) {
    if (name.empty() || name.size() > kLongest) return;
    if (!byCharacters_) byCharacters_ = std::make_unique<std::array<Slot, kCharacterSlots>>();
    Slot& slot = (*byCharacters_)[CharacterSlotOf(name)];
    std::memcpy(slot.name, name.data(), name.size());
    slot.length = static_cast<std::uint8_t>(name.size());
    slot.index = static_cast<std::uint32_t>(index);
    byPlace_[PlaceSlotOf(name.data())] = slot;
  }

  void Clear() {
    byPlace_ = {};
    byCharacters_.reset();
  }

 private:
  static constexpr unsigned kPlaceSlotBits = 7;
  static constexpr std::size_t kPlaceSlots = std::size_t{1} << kPlaceSlotBits;  // powers of two
  static constexpr std::size_t kCharacterSlots = 256;
  static constexpr std::size_t kLongest = 15;

  struct Slot {
    char name[kLongest] = {};
    std::uint8_t length = 0;  // 0: empty
    std::uint32_t index = 0;
  };

  static bool Holds(const Slot& slot, std::string_view name) {
    return slot.length == name.size() && SameBytes(slot.name, name.data(), name.size());
  }

  // Whether n bytes (1 to 15) are the same, by two loads of each that overlap when they must: no call, no loop.
  static bool SameBytes(const char* a, const char* b, std::size_t n) {
    if (n >= 8) return Load<std::uint64_t>(a) == Load<std::uint64_t>(b) &&
                       Load<std::uint64_t>(a + n - 8) == Load<std::uint64_t>(b + n - 8);
    if (n >= 4) return Load<std::uint32_t>(a) == Load<std::uint32_t>(b) &&
                       Load<std::uint32_t>(a + n - 4) == Load<std::uint32_t>(b + n - 4);
    for (std::size_t i = 0; i < n; ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }

  template <typename Word>
  static Word Load(const char* at) {
    Word word;
    std::memcpy(&word, at, sizeof word);
    return word;
  }

  // From the address, mixed by a multiplication whose top bits make the slot: names a few bytes apart
  // (literals side by side) and names kept in strings side by side (a vector of them) fall apart.
  static std::size_t PlaceSlotOf(const char* place) {
    auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(place));
    return static_cast<std::size_t>((address * 0x9e3779b97f4a7c15ull) >> (64 - kPlaceSlotBits));
  }

  // From the length and a few characters: names that differ only in a number at their end ("ASIG12",
  // "ASIG21") fall apart.
  static std::size_t CharacterSlotOf(std::string_view name) {
    auto at = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(name[i])); };
    std::size_t n = name.size();
    return (n * 5 + at(0) * 5 + at(n - 1) * 13 + (n > 1 ? at(n - 2) * 3 : 0) + at(n / 2)) & (kCharacterSlots - 1);
  }

  std::array<Slot, kPlaceSlots> byPlace_{};
  std::unique_ptr<std::array<Slot, kCharacterSlots>> byCharacters_;
};

}  // namespace storage
