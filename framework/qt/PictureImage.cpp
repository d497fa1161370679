#include "PictureImage.h"

#include <QCoreApplication>
#include <QObject>
#include <array>
#include <cstdint>

#include "ControlPainter.h"
#include "Picture.h"

namespace fw::qt {
namespace {

// Belongs to the application object, so that no image outlives Qt.
class Conversions : public QObject {
 public:
  explicit Conversions(QObject* parent) : QObject(parent) {}

  QImage Of(const fw::Picture& picture, bool withAlpha) {
    for (const Entry& e : entries_)
      if (e.version == picture.Version() && e.withAlpha == withAlpha && !e.image.isNull()) return e.image;
    Entry& e = entries_[next_];
    next_ = (next_ + 1) % entries_.size();
    e = {picture.Version(), withAlpha, ToImage(picture, withAlpha)};
    return e.image;
  }

 private:
  struct Entry {
    uint64_t version = 0;
    bool withAlpha = false;
    QImage image;
  };
  // A window's view and an icon or two.
  std::array<Entry, 4> entries_;
  size_t next_ = 0;
};

Conversions* conversions = nullptr;

}  // namespace

QImage PictureImage(const fw::Picture& picture, bool withAlpha) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return ToImage(picture, withAlpha);
  if (!conversions) {
    conversions = new Conversions(app);
    QObject::connect(conversions, &QObject::destroyed, [] { conversions = nullptr; });
  }
  return conversions->Of(picture, withAlpha);
}

}  // namespace fw::qt
