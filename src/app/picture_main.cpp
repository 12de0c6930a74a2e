// tallow-picture: renders the table window to a PNG in a chosen state, so anyone can look at
// what a player sees without a server.
//
//   tallow-picture OUT.png STATE [WIDTHxHEIGHT]
//
// STATE: empty (the table after start-up), wall (the whole wall built), hand (a hand in play),
// offer (a chow offered), claim (the chow chooser open), reveal (the hands shown after a win),
// settlement (the result window over the table), settings (the sound settings window open over
// a hand in play, the table loop switched off), chat (two lines in the ticker, a private line
// being typed), talk (the chat window), phrases and voices (the phrase window with either list),
// card (the player card under the opposite portrait), toolbar (the pointer on 战绩: the button lit
// with its tooltip), web (the web panel's page over the emblem), exit (the exit confirmation
// during the hand), exit-between (the same after the settlement), notice (the game-over notice),
// wild (the hand just dealt, its wild tile in the 混儿 frame); watch and watch-later (a
// spectator's table right after a restore in the middle of a hand, and a few discards later),
// rejoin and rejoin-later (the watched player's own table at the same moments, as after a
// reconnection). The hand states are played by
// feeding the client the records a server would send (picture_script.cpp), on a clock that
// never waits. The web panel shows the shipped panel page of $TALLOW_SITE_DIR (default: the
// build's own site).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "app/picture_clock.h"
#include "app/picture_script.h"
#include "art_resources.h"
#include "platform/qt/form_layout.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/form_view.h"
#include "platform/qt/pixmap_cache.h"
#include "platform/qt/qt_platform.h"
#include "session/client.h"
#include "session/startup.h"

namespace {

using tallow::picture::Stage;
namespace qtp = tallow::platform::qt;

int Usage() {
  std::fprintf(stderr, "usage: tallow-picture OUT.png %s [WIDTHxHEIGHT]\n",
               tallow::picture::StageNames());
  return 2;
}

int Fail(const char* what) {
  std::fprintf(stderr, "tallow-picture: %s\n", what);
  return 1;
}

// The hot spot of the hand pointer, as the table window sets it.
constexpr QPoint kHandHotSpot(12, 4);
// Where the window system puts a tooltip: below and right of the pointer, or above it when
// there is no room below.
constexpr QPoint kTooltipOffset(2, 16);
constexpr int kTooltipAbove = 24;

// A small window painted where it stands over the table window: its client area, under a
// title bar drawn by the style when the window has one.
void PaintOver(QImage& table, const tallow::ui::Form& tableForm, const tallow::ui::Form& window) {
  const QImage client = qtp::RenderToImage(window);
  QPainter p(&table);
  // Both windows are placed in twips on the screen.
  const QPoint at(static_cast<int>((window.Left - tableForm.Left) / 15),
                  static_cast<int>((window.Top - tableForm.Top) / 15));
  if (window.Borderless) {
    p.drawImage(at, client);
    return;
  }
  QStyle* style = QApplication::style();
  QStyleOptionTitleBar bar;
  bar.text = QString::fromStdString(window.Caption);
  bar.titleBarFlags =
      Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  bar.subControls = QStyle::SC_TitleBarLabel | QStyle::SC_TitleBarCloseButton;
  bar.state = QStyle::State_Active | QStyle::State_Enabled;
  bar.titleBarState = Qt::WindowActive;
  bar.palette = QApplication::palette();
  const int barHeight = style->pixelMetric(QStyle::PM_TitleBarHeight, &bar);
  // The window's outer size holds the title bar; the client area is what lies below it.
  bar.rect = QRect(at, QSize(client.width(), barHeight));
  style->drawComplexControl(QStyle::CC_TitleBar, &bar, &p);
  p.drawImage(at + QPoint(0, barHeight), client,
              QRect(0, 0, client.width(), client.height() - barHeight));
  p.setPen(bar.palette.color(QPalette::Shadow));
  p.drawRect(QRect(at, client.size()).adjusted(0, 0, -1, -1));
}

// The lit toolbar button of the table, or nullptr.
const tallow::ui::Control* LitButton(const tallow::Client& c) {
  for (int i = 0; i <= 8; ++i) {
    if (c.toolbar.ButtonHover(i) != 0) return &c.mainForm.AnNiu(i);
  }
  return nullptr;
}

// The pointer resting on the button: the tooltip the window shows for it, and the pointer.
bool PaintPointerWithTooltip(QImage& image, qtp::FormView& view, const tallow::ui::Form& form,
                             const tallow::ui::Control& button) {
  const QPoint at = qtp::PlacedRect(qtp::PlaceControls(form), &button).center();
  QHelpEvent ask(QEvent::ToolTip, at, view.mapToGlobal(at));
  QApplication::sendEvent(&view, &ask);
  QWidget* tip = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->inherits("QTipLabel") && w->isVisible()) tip = w;
  }
  if (tip == nullptr) return false;
  const QImage tipImage = tip->grab().toImage();
  QPoint where = at + kTooltipOffset;
  if (where.y() + tipImage.height() > image.height()) {
    where.ry() -= kTooltipAbove + tipImage.height();
  }
  where.setX(std::clamp(where.x(), 0, image.width() - tipImage.width()));
  QPainter p(&image);
  p.drawImage(where, tipImage);
  const QPixmap& hand = qtp::PixmapCache::Shared().Get(tallow::ui::Picture{0, "cursor_hand"});
  p.drawPixmap(at - kHandHotSpot, hand);
  return true;
}

// Handles events until the condition holds or the time is up; returns the condition.
template <class Done>
bool PumpUntil(Done done, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// The panel page the shipped site holds, as the server would name it.
std::string PanelPage() {
  QString site = qEnvironmentVariable("TALLOW_SITE_DIR");
  if (site.isEmpty()) site = QStringLiteral(TALLOW_DEFAULT_SITE_DIR);
  return QUrl::fromLocalFile(QDir(site).filePath("panel.html")).toString().toStdString();
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
  qtp::QtPlatform qt;
  // The hand is played on a clock of its own: the client's pauses (dice, pooling, the
  // face-down hand) take no time.
  tallow::picture::StepClock clock;
  tallow::platform::Platform platform{clock,      qt.socket,    qt.sound,   qt.hall,
                                      qt.dialogs, qt.resources, qt.process, qt.files};
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
  const std::string page = *stage == Stage::Web ? PanelPage() : std::string();
  if (page.size() > 99) return Fail("the site's address is too long for the login record");
  tallow::picture::PlayTo(client, *stage, page);

  QImage image;
  if (*stage == Stage::Toolbar || *stage == Stage::Web) {
    // The table window itself: the web panel is a real widget, the tooltip a real window. The
    // window's own appearance is no restore by a player, so it does not look for the hall.
    const auto logic = f.OnInput;
    bool pageDone = false;
    f.OnInput = [&logic, &pageDone](const tallow::ui::InputEvent& e) {
      if (e.kind == tallow::ui::InputKind::Resize) return;
      pageDone = pageDone || e.kind == tallow::ui::InputKind::DocumentComplete ||
                 e.kind == tallow::ui::InputKind::NavigateError;
      logic(e);
    };
    qtp::FormView view(f);
    view.Refresh();
    if (*stage == Stage::Web) {
      if (!PumpUntil([&] { return pageDone; }, 15000) || client.shell.WebPanelFailed != 0) {
        return Fail("the panel page did not load");
      }
      view.Refresh();
    }
    image = view.grab().toImage();
    const tallow::ui::Control* lit = LitButton(client);
    if (lit != nullptr && !PaintPointerWithTooltip(image, view, f, *lit)) {
      return Fail("no tooltip came up");
    }
  } else {
    image = qtp::RenderToImage(f);
  }
  // Every small window up, and the one the state is about.
  auto& forms = client.forms;
  const tallow::ui::Form* shown = tallow::picture::WindowOver(client, *stage);
  for (const tallow::ui::Form* window : std::initializer_list<const tallow::ui::Form*>{
           &forms.Score, &forms.Hero, &forms.frmExit, &forms.frmOtherExit, &forms.VosSet,
           &forms.Talk, &forms.huifu, &forms.Information}) {
    if (window->Visible || window == shown) PaintOver(image, f, *window);
  }
  if (!image.save(QString::fromStdString(out))) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
