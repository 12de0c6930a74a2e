// tallow-hall: a small game hall. It takes seats on the game server, starts table clients with
// their command line and talks with them through window messages.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "hall_options.h"
#include "hall_window.h"
#include "install_layout.h"
#include "quit_signals.h"
#include "seat_assets.h"

namespace {

// The tallow program: --client, else the one beside the hall, else the one built with it.
QString ClientProgram(const std::string& option, const std::string& hallDir) {
#ifdef TALLOW_CLIENT_BINARY
  const std::string built = TALLOW_CLIENT_BINARY;
#else
  const std::string built;
#endif
  return QString::fromStdString(tallow::hall::FindClientProgram(option, hallDir, built));
}

// Where the seats' directories live: --data, else the user's own data directory
// ($XDG_DATA_HOME/tallow, by default ~/.local/share/tallow).
QString DataDir(const std::string& option) {
  if (!option.empty()) return QDir(QString::fromStdString(option)).absolutePath();
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/tallow";
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
  const std::string hallDir = QCoreApplication::applicationDirPath().toStdString();
  const QString assets = QString::fromStdString(tallow::hall::FindAssetsDir(hallDir));
  // The seats open the rules page from the shipped site unless the caller named another copy.
  if (qEnvironmentVariableIsEmpty("TALLOW_SITE_DIR")) {
    const std::string site = tallow::hall::FindSiteDir(hallDir);
    if (!site.empty()) qputenv("TALLOW_SITE_DIR", QByteArray::fromStdString(site));
  }
  const QString client = ClientProgram(o.client, hallDir);
  tallow::hall::HallWindow window(o, client, DataDir(o.data), assets);
  if (!window.Listen()) {
    std::fprintf(stderr, "tallow-hall: a hall window \"%s\" is open already\n", o.caption.c_str());
    return 1;
  }
  tallow::hall::CloseOnQuitSignals(&window, [&window] { window.CloseHall(false); });
  window.show();
  window.Log("hall ready: server " + QString::fromStdString(o.host) + ":" +
             QString::number(o.port) + ", seating port " + QString::number(o.SeatingPort()));
  window.Log("table client: " + client);
  window.Log(assets.isEmpty() ? "no sounds beside the hall: the tables stay silent"
                              : "sounds and voices: " + assets);
  const QString site = qEnvironmentVariable("TALLOW_SITE_DIR");
  window.Log(site.isEmpty() ? "no local site: the rules page opens on the operator's site"
                            : "rules page: " + site);
  if (o.sit) window.SitDown();
  if (o.robots > 0) window.FillWithRobots(o.robots);
  if (!o.watch.empty() && !o.sit) window.Watch();
  return app.exec();
}
