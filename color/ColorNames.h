#pragma once
#include <cstdint>

// The word tables that colour names are built from, and their lookups.
// Every English tone and tint word ends in one blank; Japanese words join
// directly. A number outside a lookup's range counts as the nearest end.
namespace ColorExchange {

struct NameTexts {
  const char* english;
  const char* japanese;
};

// Hue name for hueSector 1..61, with the pure-colour rules applied to the
// channels (0..255): pure yellow, green and blue get their own names.
const NameTexts& HueName(int32_t hueSector, int red, int green, int blue);
// Tone word for lightness and saturation percentages 0..100.
const NameTexts& ToneName(int32_t lightness, int32_t saturation);
// Tint word for tintSector 1..11.
const NameTexts& TintName(int32_t tintSector);
// Grey name for a lightness percentage 0..100.
const NameTexts& GrayName(int32_t lightness);

}  // namespace ColorExchange
