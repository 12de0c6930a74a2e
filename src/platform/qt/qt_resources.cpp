#include "platform/qt/qt_resources.h"

#include <QFile>

namespace tallow::platform::qt {

QString PicturePath(const ui::Picture& picture) {
  if (picture.id != 0) return QStringLiteral(":/art/%1.png").arg(picture.id);
  if (!picture.name.empty()) {
    return QStringLiteral(":/art/%1.png").arg(QString::fromStdString(picture.name));
  }
  return QString();
}

bool QtResources::HasPicture(int id) const {
  return id != 0 && QFile::exists(PicturePath(ui::Picture{id, {}}));
}

}  // namespace tallow::platform::qt
