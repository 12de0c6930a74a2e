// Every picture of the artwork decoded once: a sprite changing its picture costs one lookup.
#pragma once

#include <QPixmap>
#include <string>
#include <unordered_map>

#include "platform/controls.h"

namespace tallow::platform::qt {

class PixmapCache {
 public:
  // The picture, or a null pixmap when the artwork has none by that id or name.
  const QPixmap& Get(const ui::Picture& picture);
  void Clear();

  // The one cache of the process (pictures never change while it runs).
  static PixmapCache& Shared();

 private:
  std::unordered_map<int, QPixmap> byId_;
  std::unordered_map<std::string, QPixmap> byName_;
};

}  // namespace tallow::platform::qt
