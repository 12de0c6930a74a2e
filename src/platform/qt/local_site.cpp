#include "platform/qt/local_site.h"

#include <QDir>
#include <QFileInfo>

namespace tallow::platform::qt {

QUrl LocalSitePage(const QUrl& address, const QString& dir) {
  const QString scheme = address.scheme().toLower();
  if (dir.isEmpty() || !address.isValid() || (scheme != "http" && scheme != "https")) return {};
  const QString root = QDir::cleanPath(QDir(dir).absolutePath());
  QString path = address.path();
  if (path.isEmpty() || path.endsWith('/')) path += "index.html";
  if (path.endsWith(".php", Qt::CaseInsensitive)) path = path.chopped(4) + ".html";
  const QString file = QDir::cleanPath(root + '/' + path);
  // Only inside the copy, whatever ".." the address holds.
  if (!file.startsWith(root + '/') || !QFileInfo(file).isFile()) return {};
  QUrl local = QUrl::fromLocalFile(file);
  local.setFragment(address.fragment());
  return local;
}

QUrl ResolveSitePage(const QUrl& address) {
  const QUrl local = LocalSitePage(address, qEnvironmentVariable("TALLOW_SITE_DIR"));
  return local.isEmpty() ? address : local;
}

}  // namespace tallow::platform::qt
