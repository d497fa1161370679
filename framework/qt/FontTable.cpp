#include "FontTable.h"

#include <QFontDatabase>
#include <array>

namespace fw::qt {
namespace {

struct Substitute {
  const char* face;
  std::array<const char*, 3> families;  // unused places nullptr
};

// What draws each face the program names where it is not installed. Every
// list ends with a Latin and a Japanese face: Latin text in the one,
// Japanese in the other, and neither has a glyph missing.
constexpr Substitute kSubstitutes[] = {
    // The desktop's own face: a sans-serif as narrow as the boxes the
    // windows' layouts give their texts; a Japanese face with smooth edges at
    // label sizes (no embedded bitmaps, grey levels at every size).
    {"System", {"Liberation Sans", "BIZ UDPGothic"}},
    {"Rockwell", {"Roboto Slab", "Liberation Sans", "BIZ UDPGothic"}},
};

QStringList Families(const Substitute& row) {
  QStringList families;
  for (const char* family : row.families)
    if (family) families << family;
  return families;
}

}  // namespace

QStringList FontFamilies(const std::string& face) {
  const Substitute& system = kSubstitutes[0];
  // "System" names the desktop's face, never an installed family.
  if (face != system.face && QFontDatabase::hasFamily(QString::fromStdString(face)))
    return QStringList{QString::fromStdString(face)} + Families(system);
  for (const Substitute& row : kSubstitutes)
    if (face == row.face) return Families(row);
  return Families(system);
}

QFont FontFor(const std::string& face, QFont base) {
  base.setFamilies(FontFamilies(face));
  return base;
}

}  // namespace fw::qt
