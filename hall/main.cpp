// tallow-hall: a small game hall. It takes seats on the game server, starts table clients with
// their command line and talks with them through window messages.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "hall_options.h"
#include "hall_window.h"
#include "quit_signals.h"
#include "seat_assets.h"

namespace {

// The tallow program: --client, else the one built with the hall, else the one beside the hall.
QString ClientProgram(const std::string& option) {
  if (!option.empty()) return QString::fromStdString(option);
#ifdef TALLOW_CLIENT_BINARY
  if (QFileInfo::exists(TALLOW_CLIENT_BINARY)) return TALLOW_CLIENT_BINARY;
#endif
  return QDir(QCoreApplication::applicationDirPath()).filePath("tallow");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName("tallow-hall");
  std::vector<std::string> args;
  for (const QString& a : app.arguments().mid(1)) args.push_back(a.toStdString());
  const auto parsed = tallow::hall::ParseHallOptions(args);
  if (parsed.help) {
    std::fputs(tallow::hall::HallUsage().c_str(), stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "tallow-hall: %s\n%s", parsed.error.c_str(),
                 tallow::hall::HallUsage().c_str());
    return 2;
  }
  const auto& o = parsed.options;
  const QString data = o.data.empty()
                           ? QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                           : QDir(QString::fromStdString(o.data)).absolutePath();

  const QString assets = QString::fromStdString(
      tallow::hall::FindAssetsDir(QCoreApplication::applicationDirPath().toStdString()));
  tallow::hall::HallWindow window(o, ClientProgram(o.client), data, assets);
  if (!window.Listen()) {
    std::fprintf(stderr, "tallow-hall: a hall window \"%s\" is open already\n", o.caption.c_str());
    return 1;
  }
  tallow::hall::CloseOnQuitSignals(&window, [&window] { window.CloseHall(false); });
  window.show();
  window.Log("hall ready: server " + QString::fromStdString(o.host) + ":" +
             QString::number(o.port) + ", seating port " + QString::number(o.SeatingPort()));
  window.Log(assets.isEmpty() ? "no sounds beside the hall: the tables stay silent"
                              : "sounds and voices: " + assets);
  if (o.sit) window.SitDown();
  if (o.robots > 0) window.FillWithRobots(o.robots);
  if (!o.watch.empty() && !o.sit) window.Watch();
  return app.exec();
}
