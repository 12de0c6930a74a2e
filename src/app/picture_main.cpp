// tallow-picture: renders the table window to a PNG in a chosen state, so anyone can look at
// what a player sees without a server.
//
//   tallow-picture OUT.png STATE [WIDTHxHEIGHT]
//
// STATE: empty (the table after start-up), wall (the whole wall built), hand (a hand in play),
// offer (a chow offered), claim (the chow chooser open), reveal (the hands shown after a win),
// settlement (the result window over the table); watch and watch-later (a spectator's table
// right after a restore in the middle of a hand, and a few discards later), rejoin and
// rejoin-later (the watched player's own table at the same moments, as after a reconnection).
// The hand states are played by feeding the
// client the records a server would send (picture_script.cpp), on a clock that never waits.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "app/picture_clock.h"
#include "app/picture_script.h"
#include "art_resources.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/qt_platform.h"
#include "session/client.h"
#include "session/startup.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: tallow-picture OUT.png %s [WIDTHxHEIGHT]\n",
               tallow::picture::StageNames());
  return 2;
}

// The result window painted where it stands over the table window.
void PaintOver(QImage& table, const tallow::ui::Form& tableForm, const tallow::ui::Form& window) {
  const QImage over = tallow::platform::qt::RenderToImage(window);
  QPainter p(&table);
  // Both windows are placed in twips on the screen.
  const int x = static_cast<int>((window.Left - tableForm.Left) / 15);
  const int y = static_cast<int>((window.Top - tableForm.Top) / 15);
  p.drawImage(x, y, over);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string out = argv[1];
  const auto stage = tallow::picture::StageByName(argv[2]);
  if (!stage) return Usage();
  // Without a size the table of a 1024x768 screen, whatever screen this machine has (the
  // offscreen platform's is square, which no player's screen is).
  if (argc > 3) {
    qputenv("TALLOW_SCREEN", argv[3]);
  } else if (qEnvironmentVariableIsEmpty("TALLOW_SCREEN")) {
    qputenv("TALLOW_SCREEN", "1024x768");
  }
  QTemporaryDir dir;
  qputenv("TALLOW_APP_DIR", dir.path().toUtf8());
  if (qEnvironmentVariableIsEmpty("TALLOW_RUNTIME_DIR")) {
    qputenv("TALLOW_RUNTIME_DIR", dir.path().toUtf8());
  }

  QApplication app(argc, argv);
  tallow::InitArtResources();
  tallow::platform::qt::QtPlatform qt;
  // The hand is played on a clock of its own: the client's pauses (dice, pooling, the
  // face-down hand) take no time.
  tallow::picture::StepClock clock;
  tallow::platform::Platform platform{clock,      qt.socket,    qt.sound,  qt.hall,
                                      qt.dialogs, qt.resources, qt.process};
  // A seat that opens no connection (proxy kind 9), in a room with a name; or a spectator of
  // that seat (user id 10001), whose line has no proxy field and whose connection never logs
  // in on this clock.
  const std::string room =
      std::string(tallow::picture::kLocalAccount) + "$pw$127.0.0.1$6000$松竹厅 一号桌$";
  tallow::Client client(platform, tallow::picture::IsSpectatorStage(*stage)
                                      ? "watcher$pw$127.0.0.1$6000$松竹厅 一号桌$10001"
                                      : room + "9$$0$$$0$$$");
  tallow::FormLoad(client);
  auto& f = client.mainForm;
  f.Sysmsg(0).Clear();
  f.Sysmsg(0).AddItem("欢迎来到松竹麻将！");
  tallow::picture::PlayTo(client, *stage);
  QImage image = tallow::platform::qt::RenderToImage(f);
  if (*stage == tallow::picture::Stage::Settlement) PaintOver(image, f, client.forms.Score);
  if (!image.save(QString::fromStdString(out))) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
