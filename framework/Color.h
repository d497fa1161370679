#pragma once
#include <cstdint>

namespace fw {

// A 24-bit RGB colour in a 32-bit value: red in bits 16-23, green 8-15,
// blue 0-7. Bits 24-31 are carried but never read by the channel accessors.
struct Color {
  uint32_t value = 0;

  constexpr Color() = default;
  constexpr explicit Color(uint32_t v) : value(v) {}
  static constexpr Color FromRGB(int r, int g, int b) {
    return Color((uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) | uint32_t(b & 0xFF));
  }

  constexpr int Red() const { return int((value >> 16) & 0xFF); }
  constexpr int Green() const { return int((value >> 8) & 0xFF); }
  constexpr int Blue() const { return int(value & 0xFF); }
  // The colour without bits 24-31, for comparisons.
  constexpr uint32_t RGB() const { return value & 0xFFFFFF; }

  friend constexpr bool operator==(Color a, Color b) { return a.RGB() == b.RGB(); }
};

}  // namespace fw
