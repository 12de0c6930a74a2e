// tallow-artgen: draws every picture of the client.
//
//   tallow-artgen --out DIR
//       writes DIR/<key>.png for every picture, DIR/art.qrc (prefix /art) and DIR/manifest.txt
//       (one line per picture: key width height)
//   tallow-artgen --sheet FILE [--family PREFIX] [--scale N]
//       writes a contact sheet of all pictures (or of the families starting with PREFIX,
//       e.g. "tiles" or "tiles4"), enlarged N times (default 1)
//   tallow-artgen --preview FILE
//       writes a sample table composed from the pictures, to see them together
//   tallow-artgen --icons DIR
//       writes the window icon as the desktop's application icon "tallow" in the sizes of an
//       icon theme: DIR/<N>x<N>/apps/tallow.png
//
// Needs a Qt platform plugin; without a display run it with QT_QPA_PLATFORM=offscreen.
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "paint.h"
#include "picture.h"
#include "preview.h"
#include "sheet.h"

namespace {

using tallow::art::Catalogue;

int Fail(const QString& message) {
  std::fprintf(stderr, "tallow-artgen: %s\n", qPrintable(message));
  return 1;
}

bool WriteText(const QString& path, const QString& text) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(text.toUtf8()) >= 0;
}

int WriteAll(const Catalogue& catalogue, const QString& dir) {
  if (!QDir().mkpath(dir)) return Fail("cannot create " + dir);
  QString qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/art\">\n";
  QString manifest = "# key width height\n";
  for (const auto& pic : catalogue) {
    const QString file = pic.key + ".png";
    const QImage image = tallow::art::Render(pic);
    if (!image.save(dir + "/" + file, "PNG")) return Fail("cannot write " + file);
    qrc += "  <file>" + file + "</file>\n";
    manifest += QStringLiteral("%1 %2 %3\n").arg(pic.key).arg(image.width()).arg(image.height());
  }
  qrc += "</qresource>\n</RCC>\n";
  if (!WriteText(dir + "/manifest.txt", manifest)) return Fail("cannot write manifest.txt");
  if (!WriteText(dir + "/art.qrc", qrc)) return Fail("cannot write art.qrc");
  return 0;
}

// The application icon is the window icon, drawn afresh at each size of the icon theme.
int WriteIcons(const Catalogue& catalogue, const QString& dir) {
  const auto icon = std::find_if(catalogue.begin(), catalogue.end(),
                                 [](const auto& pic) { return pic.key == "icon"; });
  if (icon == catalogue.end()) return Fail("the catalogue has no icon");
  for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
    const QString apps = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(side);
    if (!QDir().mkpath(apps)) return Fail("cannot create " + apps);
    const QImage image = tallow::art::Render(*icon, static_cast<double>(side) / icon->size.width());
    if (!image.save(apps + "/tallow.png", "PNG")) return Fail("cannot write " + apps);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    // Qt wants a private runtime directory; builds often run without a session
    const QString runtime = QDir::tempPath() + "/tallow-artgen-runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
  }
  QGuiApplication app(argc, argv);
  if (!QFontDatabase::families().contains(tallow::art::kFontFamily))
    return Fail(QStringLiteral("font \"%1\" is missing (apt-get install fonts-wqy-zenhei)")
                    .arg(tallow::art::kFontFamily));
  const QStringList args = app.arguments();
  QString out, sheet, family, preview, icons;
  int scale = 1;
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const QString value = i + 1 < args.size() ? args[i + 1] : QString();
    if (a == "--out") {
      out = value;
      ++i;
    } else if (a == "--sheet") {
      sheet = value;
      ++i;
    } else if (a == "--preview") {
      preview = value;
      ++i;
    } else if (a == "--icons") {
      icons = value;
      ++i;
    } else if (a == "--family") {
      family = value;
      ++i;
    } else if (a == "--scale") {
      scale = qBound(1, value.toInt(), 8);
      ++i;
    } else {
      return Fail(
          "usage: tallow-artgen [--out DIR] [--sheet FILE [--family PREFIX] [--scale N]] "
          "[--preview FILE] [--icons DIR]");
    }
  }
  const Catalogue catalogue = tallow::art::FullCatalogue();
  if (!out.isEmpty()) {
    if (const int rc = WriteAll(catalogue, out); rc != 0) return rc;
  }
  if (!sheet.isEmpty()) {
    if (!tallow::art::ContactSheet(catalogue, family, scale).save(sheet, "PNG"))
      return Fail("cannot write " + sheet);
  }
  if (!preview.isEmpty()) {
    if (!tallow::art::TablePreview(catalogue).save(preview, "PNG"))
      return Fail("cannot write " + preview);
  }
  if (!icons.isEmpty()) {
    if (const int rc = WriteIcons(catalogue, icons); rc != 0) return rc;
  }
  if (out.isEmpty() && sheet.isEmpty() && preview.isEmpty() && icons.isEmpty())
    return Fail("nothing to do: give --out, --sheet, --preview or --icons");
  return 0;
}
