// tallow-picture: renders the table window to a PNG in a chosen state, so anyone can look at
// what a player sees without a server.
//
//   tallow-picture OUT.png STATE [WIDTHxHEIGHT]
//
// STATE: empty (the table after start-up), wall (the whole wall built), hand (a hand in play),
// offer (a chow offered), claim (the chow chooser open), reveal (the hands shown after a win),
// settlement (the result window over the table), settings (the sound settings window open over
// a hand in play, the table loop switched off); chat (two lines in the ticker, a private line
// being typed), talk (the chat window), phrases and voices (the phrase window with either list),
// card (the player card under the opposite portrait). The hand states are played by feeding the
// client the records a server would send (picture_script.cpp), on a clock that never waits.
#include <QApplication>
#include <QDir>
#include <QFile>
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

// A small window painted where it stands over the table window. A window with a frame gets a
// plain title bar of `titleBar` pixels, as a window manager would draw it, over its client area.
void PaintOver(QImage& table, const tallow::ui::Form& tableForm, const tallow::ui::Form& window,
               int titleBar = 0) {
  const QImage client = tallow::platform::qt::RenderToImage(window);
  QPainter p(&table);
  // Both windows are placed in twips on the screen.
  const int x = static_cast<int>((window.Left - tableForm.Left) / 15);
  const int y = static_cast<int>((window.Top - tableForm.Top) / 15);
  if (titleBar > 0) {
    const QRect bar(x, y, client.width(), titleBar);
    p.fillRect(bar, QColor(0x2b, 0x4a, 0x6f));
    QFont font("WenQuanYi Zen Hei");
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(bar.adjusted(10, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
               QString::fromStdString(window.Caption));
    p.drawImage(x, y + titleBar, client, 0, 0, client.width(), client.height() - titleBar);
    p.setPen(QColor(0x1a, 0x30, 0x48));
    p.drawRect(x, y, client.width() - 1, client.height() - 1);
  } else {
    p.drawImage(x, y, client);
  }
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
  // The seat's phrase file, as the hall gives every seat the default one.
  QFile::copy(QStringLiteral(TALLOW_PHRASE_FILE), dir.filePath(QStringLiteral("chat.ini")));
  if (qEnvironmentVariableIsEmpty("TALLOW_RUNTIME_DIR")) {
    qputenv("TALLOW_RUNTIME_DIR", dir.path().toUtf8());
  }

  QApplication app(argc, argv);
  tallow::InitArtResources();
  tallow::platform::qt::QtPlatform qt;
  // The hand is played on a clock of its own: the client's pauses (dice, pooling, the
  // face-down hand) take no time.
  tallow::picture::StepClock clock;
  tallow::platform::Platform platform{clock,      qt.socket,    qt.sound,   qt.hall,
                                      qt.dialogs, qt.resources, qt.process, qt.files};
  // A seat that opens no connection (proxy kind 9), in a room with a name.
  tallow::Client client(platform, std::string(tallow::picture::kLocalAccount) +
                                      "$pw$127.0.0.1$6000$松竹厅 一号桌$9$$0$$$0$$$");
  tallow::FormLoad(client);
  auto& f = client.mainForm;
  f.Sysmsg(0).Clear();
  f.Sysmsg(0).AddItem("欢迎来到松竹麻将！");
  tallow::picture::PlayTo(client, *stage);
  QImage image = tallow::platform::qt::RenderToImage(f);
  if (const auto* window = tallow::picture::WindowOver(client, *stage)) {
    const bool framed = *stage == tallow::picture::Stage::Settings;
    PaintOver(image, f, *window, framed ? static_cast<int>(tallow::VosSetForm::kTitleBar) : 0);
  }
  if (!image.save(QString::fromStdString(out))) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
