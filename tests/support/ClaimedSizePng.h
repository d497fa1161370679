#pragma once
// A PNG file whose header claims a picture of any size but holds no pixel
// data: what a reader makes of it before decoding is all it can show.
#include <cstdint>
#include <string>

namespace testfiles {

inline uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline std::string BigEndian(uint32_t value) {
  return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

// The signature and a valid 8-bit RGB IHDR of width x height, then IEND.
inline std::string ClaimedSizePng(uint32_t width, uint32_t height) {
  const std::string ihdr = "IHDR" + BigEndian(width) + BigEndian(height) + std::string("\x08\x02\x00\x00\x00", 5);
  return std::string("\x89PNG\r\n\x1a\n", 8) + BigEndian(13) + ihdr + BigEndian(Crc32(ihdr)) + BigEndian(0) +
         "IEND" + BigEndian(Crc32("IEND"));
}

}  // namespace testfiles
