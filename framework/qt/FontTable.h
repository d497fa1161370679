#pragma once
#include <QFont>
#include <QStringList>
#include <string>

namespace fw::qt {

// The families that draw text set in the named face, in order: the face
// itself where it is installed, else what the framework's one table of
// substitutes gives for it ("System", the desktop's own face, always comes
// from the table; a face it does not know is drawn as "System"). The later
// families supply the glyphs the earlier ones lack.
QStringList FontFamilies(const std::string& face);

// base set in the named face; its size and style stay.
QFont FontFor(const std::string& face, QFont base = QFont());

}  // namespace fw::qt
