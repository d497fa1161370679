#pragma once
#include <memory>
#include <string>

namespace fw {

class Picture;

namespace Png {
// Decodes the PNG file at path into 0xTTRRGGBB pixels, TT the transparency
// (255 - alpha; 0 throughout a file without alpha), any colour type and bit
// depth. nullptr, with the reason in error, when the file cannot be opened
// or is not a complete, valid PNG.
std::shared_ptr<Picture> Read(const std::string& path, std::string& error);
// Writes picture as an 8-bit RGB PNG, transparency dropped, at fast
// compression. The file appears whole or not at all (a temporary file in the
// same folder, then renamed).
// Throws IOException on failure.
void Write(const Picture& picture, const std::string& path);
}  // namespace Png

}  // namespace fw
