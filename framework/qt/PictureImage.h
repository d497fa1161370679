#pragma once
#include <QImage>

namespace fw {
class Picture;
}

namespace fw::qt {

// The picture as Qt draws it (ToImage), converted once for as long as the
// picture stays as it was: a window painted again, or painted for another
// control, does not convert its pictures again. The last few conversions
// are kept, for as long as the application object lives.
QImage PictureImage(const fw::Picture& picture, bool withAlpha);

}  // namespace fw::qt
