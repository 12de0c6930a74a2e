// The window shell: the frame skin, the title buttons, the window icon, the pointing-hand cursor
// and the small close button of the result windows.
//
// The skin is 46 x 220 and is cut into eight pieces that the window stretches along its edges:
//   corners   (0,0 8x20) (38,0 8x20) (0,212 8x8) (38,212 8x8)
//   edges     top (8,0 8x20)  left (0,20 8x192)  right (38,20 8x192)  bottom (8,212 8x8)
// so every edge piece is uniform along the direction it is stretched in.
#include <QLinearGradient>
#include <QPainterPath>

#include "paint.h"
#include "picture.h"

namespace tallow::art {
namespace {

const QColor kTitleTop(0x3a, 0x6c, 0xb0);
const QColor kTitleBottom(0x12, 0x2c, 0x5a);
const QColor kEdge(0x1a, 0x3a, 0x70);
const QColor kEdgeLight(0x5a, 0x88, 0xc8);
const QColor kEdgeDark(0x08, 0x14, 0x30);

void Skin(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  // the unused middle
  p.fillRect(QRect(8, 20, 30, 192), kEdge);
  // title band: a vertical gradient, a light line on top, a dark line at the bottom
  const QRect band(0, 0, 46, 20);
  p.fillRect(band, VerticalGradient(band, kTitleTop, kTitleBottom));
  p.fillRect(QRect(0, 0, 46, 1), kEdgeLight.lighter(120));
  p.fillRect(QRect(0, 19, 46, 1), kEdgeDark);
  // side edges: a horizontal profile, the same on every row
  const int left[8] = {0x08, 0x5a, 0x3a, 0x1a, 0x1a, 0x1a, 0x12, 0x08};
  for (int x = 0; x < 8; ++x) {
    const QColor c =
        x == 0 || x == 7 ? kEdgeDark : (x == 1 ? kEdgeLight : kEdge.lighter(100 + left[x] / 4));
    p.fillRect(QRect(x, 20, 1, 192), c);
    p.fillRect(QRect(45 - x, 20, 1, 192), c);
  }
  // bottom edge: a vertical profile, the same in every column
  for (int y = 0; y < 8; ++y) {
    const QColor c = y == 7 ? kEdgeDark : (y == 0 ? kEdge.darker(130) : kEdge);
    p.fillRect(QRect(0, 212 + y, 46, 1), c);
  }
  // the outer border of the side pieces continues into the bottom corners
  p.fillRect(QRect(0, 212, 1, 8), kEdgeDark);
  p.fillRect(QRect(45, 212, 1, 8), kEdgeDark);
  p.fillRect(QRect(0, 0, 1, 20), kEdgeDark);
  p.fillRect(QRect(45, 0, 1, 20), kEdgeDark);
}

enum class TitleButton { Close, Minimise };
enum class ButtonState { Normal, Hover, Pressed };

void DrawTitleButton(QPainter& p, TitleButton kind, ButtonState state) {
  QColor top(0x5a, 0x88, 0xc8), bottom(0x20, 0x44, 0x80);
  if (state == ButtonState::Hover) {
    top = kind == TitleButton::Close ? QColor(0xff, 0x90, 0x80) : QColor(0x90, 0xc0, 0xff);
    bottom = kind == TitleButton::Close ? QColor(0xd0, 0x20, 0x10) : QColor(0x30, 0x70, 0xd0);
  } else if (state == ButtonState::Pressed) {
    top = kind == TitleButton::Close ? QColor(0x90, 0x10, 0x08) : QColor(0x18, 0x40, 0x90);
    bottom = top.lighter(130);
  }
  const QRectF r(0.5, 0.5, 15, 15);
  p.setPen(QPen(QColor(0x08, 0x14, 0x30), 1));
  p.setBrush(VerticalGradient(r, top, bottom));
  p.drawRoundedRect(r, 3, 3);
  const double d = state == ButtonState::Pressed ? 0.7 : 0;
  p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
  if (kind == TitleButton::Close) {
    p.drawLine(QPointF(5 + d, 5 + d), QPointF(11 + d, 11 + d));
    p.drawLine(QPointF(11 + d, 5 + d), QPointF(5 + d, 11 + d));
  } else {
    p.drawLine(QPointF(4.5 + d, 11 + d), QPointF(11.5 + d, 11 + d));
  }
}

// The window icon: a small standing tile with a red 中.
void Icon(QPainter& p) {
  const QRectF body(5, 2, 22, 28);
  p.setPen(QPen(QColor(0x20, 0x30, 0x20), 1));
  p.setBrush(QColor(0x18, 0x80, 0x48));
  p.drawRoundedRect(body, 4, 4);
  const QRectF face(5, 2, 22, 24);
  p.setBrush(VerticalGradient(face, QColor(0xff, 0xfd, 0xf4), QColor(0xec, 0xe2, 0xc6)));
  p.drawRoundedRect(face, 4, 4);
  DrawFittedText(p, QString::fromUtf8("中"), face.adjusted(3, 3, -3, -3), QColor(0xc4, 0x1e, 0x2a),
                 QColor(0xc4, 0x1e, 0x2a), 0.8, Fit::Em);
}

// The pointing hand, 32 x 32, the index fingertip at (12, 4).
void HandCursor(QPainter& p) {
  QPainterPath hand;
  hand.moveTo(10, 5.5);
  hand.cubicTo(10, 3, 14, 3, 14, 5.5);  // fingertip
  hand.lineTo(14, 14);
  hand.cubicTo(14, 12, 18, 12, 18, 14.5);    // middle finger
  hand.cubicTo(18, 12.5, 22, 12.5, 22, 15);  // ring finger
  hand.cubicTo(22, 13.5, 26, 13.5, 26, 16);  // little finger
  hand.lineTo(26, 22);
  hand.cubicTo(26, 26, 24, 28, 22, 29);
  hand.lineTo(13, 29);
  hand.cubicTo(11, 27, 8, 24, 5, 20);
  hand.cubicTo(3.5, 18, 5.5, 15.5, 7.5, 17);
  hand.lineTo(10, 19);
  hand.closeSubpath();
  p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(hand);
  p.setPen(QPen(Qt::black, 0.9));
  p.drawLine(QPointF(14, 14), QPointF(14, 18));
  p.drawLine(QPointF(18, 14.5), QPointF(18, 18));
  p.drawLine(QPointF(22, 15), QPointF(22, 18.5));
}

// The close button of the result windows, 20 x 20.
void WindowClose(QPainter& p) {
  const QPointF c(10, 10);
  p.setPen(QPen(QColor(0x60, 0x08, 0x04), 1));
  p.setBrush(
      VerticalGradient(QRectF(0, 0, 20, 20), QColor(0xff, 0x80, 0x60), QColor(0xb0, 0x18, 0x10)));
  p.drawEllipse(c, 9, 9);
  p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
  p.drawLine(QPointF(13.5, 6.5), QPointF(6.5, 13.5));
}

void Add(Catalogue& out, const QString& key, QSize size, std::function<void(QPainter&)> draw) {
  out.push_back({key, "shell", size, std::move(draw)});
}

}  // namespace

void AddShell(Catalogue& out) {
  Add(out, "skin", {46, 220}, Skin);
  const struct {
    const char* name;
    TitleButton kind;
  } buttons[] = {{"title_close", TitleButton::Close}, {"title_min", TitleButton::Minimise}};
  const struct {
    const char* suffix;
    ButtonState state;
  } states[] = {{"normal", ButtonState::Normal},
                {"hover", ButtonState::Hover},
                {"pressed", ButtonState::Pressed}};
  for (const auto& b : buttons) {
    for (const auto& s : states) {
      const TitleButton kind = b.kind;
      const ButtonState state = s.state;
      Add(out, QStringLiteral("%1_%2").arg(b.name, s.suffix), {16, 16},
          [kind, state](QPainter& p) { DrawTitleButton(p, kind, state); });
    }
  }
  Add(out, "icon", {32, 32}, Icon);
  Add(out, "cursor_hand", {32, 32}, HandCursor);
  Add(out, "window_close", {20, 20}, WindowClose);
}

}  // namespace tallow::art
