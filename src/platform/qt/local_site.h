// A local copy of a web site the client opens pages of (the operator's site with its rules
// page): with TALLOW_SITE_DIR set, an http or https address whose page the copy holds opens
// the copy's file instead. A ".php" page is held as its rendered ".html" twin.
#pragma once

#include <QString>
#include <QUrl>

namespace tallow::platform::qt {

// The file address of the copy's page for `address`, or an empty address when the copy (the
// directory `dir`) has no such page.
QUrl LocalSitePage(const QUrl& address, const QString& dir);

// LocalSitePage with the directory of TALLOW_SITE_DIR, or `address` itself.
QUrl ResolveSitePage(const QUrl& address);

}  // namespace tallow::platform::qt
