// tallow-picture: renders the table window to a PNG in a chosen state, so anyone can look at
// what a player sees without a server.
//
//   tallow-picture OUT.png STATE [WIDTHxHEIGHT]
//
// STATE: empty (the table after start-up) or wall (the table with the whole wall built).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "art_resources.h"
#include "hand/layout.h"
#include "hand/table_reset.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/qt_platform.h"
#include "session/client.h"
#include "session/startup.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: tallow-picture OUT.png empty|wall [WIDTHxHEIGHT]\n");
  return 2;
}

// The wall as the hand start shows it: every stack built, backs up.
void ShowWholeWall(tallow::Client& c) {
  tallow::ResetTableDisplay(c);
  for (short sprite = 0; sprite < 120; ++sprite) {
    tallow::SetTileSprite(c, sprite, static_cast<short>(8 + 36 * (sprite / 30)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string out = argv[1];
  const std::string state = argv[2];
  if (state != "empty" && state != "wall") return Usage();
  if (argc > 3) qputenv("TALLOW_SCREEN", argv[3]);
  QTemporaryDir dir;
  qputenv("TALLOW_APP_DIR", dir.path().toUtf8());
  if (qEnvironmentVariableIsEmpty("TALLOW_RUNTIME_DIR")) {
    qputenv("TALLOW_RUNTIME_DIR", dir.path().toUtf8());
  }

  QApplication app(argc, argv);
  tallow::InitArtResources();
  tallow::platform::qt::QtPlatform qt;
  // A seat that opens no connection (proxy kind 9), in a room with a name.
  tallow::Client client(qt.Get(), "player$pw$127.0.0.1$6000$松竹厅 一号桌$9$$0$$$0$$$");
  tallow::FormLoad(client);
  auto& f = client.mainForm;
  f.Sysmsg(0).Clear();
  f.Sysmsg(0).AddItem("欢迎来到松竹麻将！");
  if (state == "wall") ShowWholeWall(client);
  const QImage image = tallow::platform::qt::RenderToImage(f);
  if (!image.save(QString::fromStdString(out))) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
