#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace fw {

class Picture;

namespace Png {
// Decodes the PNG file at path into 0xTTRRGGBB pixels, TT the transparency
// (255 - alpha; 0 throughout a file without alpha), any colour type and bit
// depth. nullptr, with the reason in error, when the file cannot be opened
// or is not a complete, valid PNG. A picture wider than maxWidth or taller
// than maxHeight is refused from its header, before any pixel is decoded.
std::shared_ptr<Picture> Read(const std::string& path, std::string& error, uint32_t maxWidth = UINT32_MAX,
                              uint32_t maxHeight = UINT32_MAX);
// Writes picture as an 8-bit RGB PNG, transparency dropped, uncompressed;
// one that Read would refuse (no pixels, a side over 32768 or more than 2^26
// pixels) is not written. The file appears whole or not at all (a temporary
// file in the same folder, then renamed). Throws IOException on failure.
void Write(const Picture& picture, const std::string& path);

// Whether Read takes back a picture of that size: at least one pixel, no
// side over 32768, no more than 2^26 pixels.
bool SizeIsReadable(int64_t width, int64_t height);

// Fills row (width pixels, 0xTTRRGGBB) with the picture's row y.
using RowSource = std::function<void(int32_t y, uint32_t* row)>;
// Write of a width x height picture given row by row, top to bottom, for a
// writer that has its pixels elsewhere.
void Write(int32_t width, int32_t height, const RowSource& rows, const std::string& path);
}  // namespace Png

}  // namespace fw
