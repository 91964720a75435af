#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

// Fixed-width numbers in byte buffers. Every access checks the buffer's length.
namespace qd::bytes {

inline void Require(std::size_t size, std::size_t offset, std::size_t width) {
  if (offset > size || width > size - offset) throw std::out_of_range("byte access beyond the buffer");
}

inline std::uint16_t GetU16LE(std::span<const std::uint8_t> b, std::size_t at) {
  Require(b.size(), at, 2);
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

inline void PutU16LE(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
  Require(b.size(), at, 2);
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline std::uint32_t GetU32LE(std::span<const std::uint8_t> b, std::size_t at) {
  Require(b.size(), at, 4);
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

inline void PutU32LE(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
  Require(b.size(), at, 4);
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint32_t GetU32BE(std::span<const std::uint8_t> b, std::size_t at) {
  Require(b.size(), at, 4);
  return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
         (static_cast<std::uint32_t>(b[at + 2]) << 8) | static_cast<std::uint32_t>(b[at + 3]);
}

inline void PutU32BE(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
  Require(b.size(), at, 4);
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

}  // namespace qd::bytes
