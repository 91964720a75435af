#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Frames on the wire, both transports:
//   STX 0x02 | body, byte-stuffed | ETX 0x03
// A body byte 0x02, 0x03, 0x10, 0x15 or 0x16 goes out as 0x10, byte ^ 0x20. The 8-bit sum of the
// unstuffed body, checksum byte included, is 0xFF.
namespace qd::link {

inline constexpr std::uint8_t Stx = 0x02;
inline constexpr std::uint8_t Etx = 0x03;
inline constexpr std::uint8_t Dle = 0x10;
inline constexpr std::uint8_t StuffXor = 0x20;

bool NeedsStuffing(std::uint8_t byte);

// The one's complement of the 8-bit sum: the byte that makes the whole sum 0xFF.
std::uint8_t ChecksumOf(std::span<const std::uint8_t> bytes);
bool SumIsValid(std::span<const std::uint8_t> body);

// STX, the stuffed body, ETX.
std::vector<std::uint8_t> EncodeFrame(std::span<const std::uint8_t> body);
// A raw body: the caller's bytes followed by their checksum, framed.
std::vector<std::uint8_t> EncodeRawFrame(std::span<const std::uint8_t> data);

}  // namespace qd::link
