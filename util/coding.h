// Fixed-width unsigned integers as bytes: little-endian, as dBase stores its headers, index pages and binary
// fields, and big-endian, as FoxPro stores its memo files. The caller makes sure the bytes are there.
#pragma once

#include <cstddef>
#include <cstdint>

namespace util {

// ---------------------------------------------------------------------------------------------------------
// Little-endian: lowest byte first

inline std::uint16_t DecodeFixed16(const std::byte* p) {
  return static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) | std::to_integer<unsigned>(p[1]) << 8);
}

inline std::uint32_t DecodeFixed32(const std::byte* p) {
  return static_cast<std::uint32_t>(DecodeFixed16(p)) | static_cast<std::uint32_t>(DecodeFixed16(p + 2)) << 16;
}

inline std::uint64_t DecodeFixed64(const std::byte* p) {
  return static_cast<std::uint64_t>(DecodeFixed32(p)) | static_cast<std::uint64_t>(DecodeFixed32(p + 4)) << 32;
}

inline void EncodeFixed16(std::byte* p, std::uint16_t value) {
  p[0] = static_cast<std::byte>(value & 0xFF);
  p[1] = static_cast<std::byte>(value >> 8);
}

inline void EncodeFixed32(std::byte* p, std::uint32_t value) {
  EncodeFixed16(p, static_cast<std::uint16_t>(value & 0xFFFF));
  EncodeFixed16(p + 2, static_cast<std::uint16_t>(value >> 16));
}

// ---------------------------------------------------------------------------------------------------------
// Big-endian: highest byte first

inline std::uint16_t DecodeBigEndian16(const std::byte* p) {
  return static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) << 8 | std::to_integer<unsigned>(p[1]));
}

inline std::uint32_t DecodeBigEndian32(const std::byte* p) {
  return static_cast<std::uint32_t>(DecodeBigEndian16(p)) << 16 | static_cast<std::uint32_t>(DecodeBigEndian16(p + 2));
}

inline void EncodeBigEndian16(std::byte* p, std::uint16_t value) {
  p[0] = static_cast<std::byte>(value >> 8);
  p[1] = static_cast<std::byte>(value & 0xFF);
}

inline void EncodeBigEndian32(std::byte* p, std::uint32_t value) {
  EncodeBigEndian16(p, static_cast<std::uint16_t>(value >> 16));
  EncodeBigEndian16(p + 2, static_cast<std::uint16_t>(value & 0xFFFF));
}

}  // namespace util
