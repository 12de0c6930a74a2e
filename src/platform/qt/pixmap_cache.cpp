#include "platform/qt/pixmap_cache.h"

#include <QCoreApplication>

#include "platform/qt/qt_resources.h"

namespace tallow::platform::qt {

const QPixmap& PixmapCache::Get(const ui::Picture& picture) {
  static const QPixmap kNone;
  if (picture.Empty()) return kNone;
  if (picture.id != 0) {
    auto [it, added] = byId_.try_emplace(picture.id);
    if (added) it->second.load(PicturePath(picture));
    return it->second;
  }
  auto [it, added] = byName_.try_emplace(picture.name);
  if (added) it->second.load(PicturePath(picture));
  return it->second;
}

void PixmapCache::Clear() {
  byId_.clear();
  byName_.clear();
}

PixmapCache& PixmapCache::Shared() {
  static PixmapCache cache;
  static const bool hooked = [] {
    // Pixmaps must not outlive the application object.
    if (QCoreApplication* app = QCoreApplication::instance()) {
      QObject::connect(app, &QObject::destroyed, [] { cache.Clear(); });
    }
    return true;
  }();
  (void)hooked;
  return cache;
}

}  // namespace tallow::platform::qt
