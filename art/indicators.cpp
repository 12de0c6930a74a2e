// Small pictures of the table: the wild-tile emblem and the level plaques, the compass, the turn
// timer plate, the ready mark, the dealer marker, the wild-tile frame, the emblem under the web
// panel, the phrase links, the location strip and the captions of the sound settings.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "paint.h"
#include "picture.h"

namespace tallow::art {
namespace {

const QColor kGold(0xf0, 0xc8, 0x50);
const QColor kDarkRed(0x8a, 0x10, 0x10);

// 123: the wild tile of the hand (混儿) — a round red seal with a gold rim.
void WildEmblem(QPainter& p) {
  const QPointF c(41, 40);
  QRadialGradient g(c - QPointF(8, 10), 48);
  g.setColorAt(0, QColor(0xff, 0x70, 0x50));
  g.setColorAt(1, QColor(0xa8, 0x10, 0x10));
  p.setPen(QPen(kGold, 4));
  p.setBrush(g);
  p.drawEllipse(c, 36, 36);
  p.setPen(QPen(kGold.lighter(120), 1.2, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, 30, 30);
  DrawFittedText(p, QString::fromUtf8("混"), QRectF(c.x() - 22, c.y() - 22, 44, 44),
                 QColor(0xff, 0xf0, 0xb0), kDarkRed.darker(150), 3, Fit::Em);
}

// 124, 125: a plaque announcing a level change.
void LevelPlaque(QPainter& p, bool up) {
  const QRectF r(0, 0, 120, 40);
  const QColor top = up ? QColor(0xff, 0xd8, 0x60) : QColor(0xa0, 0xb0, 0xc8);
  const QColor bottom = up ? QColor(0xd0, 0x70, 0x10) : QColor(0x40, 0x50, 0x70);
  DrawPlate(p, r, 10, top, bottom, up ? QColor(0x80, 0x40, 0x00) : QColor(0x20, 0x28, 0x40), 2);
  // an arrow up or down at the left
  QPainterPath arrow;
  const double x = 18, y = 20, d = up ? -1 : 1;
  arrow.moveTo(x, y + d * 11);
  arrow.lineTo(x + 9, y - d * 1);
  arrow.lineTo(x + 4, y - d * 1);
  arrow.lineTo(x + 4, y - d * 11);
  arrow.lineTo(x - 4, y - d * 11);
  arrow.lineTo(x - 4, y - d * 1);
  arrow.lineTo(x - 9, y - d * 1);
  arrow.closeSubpath();
  p.setPen(QPen(QColor(0, 0, 0, 120), 1));
  p.setBrush(up ? QColor(0xd0, 0x10, 0x10) : QColor(0x20, 0x80, 0x30));
  p.drawPath(arrow);
  DrawFittedText(p, QString::fromUtf8(up ? "用户升级" : "用户降级"), QRectF(32, 7, 82, 26),
                 Qt::white, QColor(0x30, 0x18, 0x00), 2.5, Fit::Ink);
}

// 126..129: the compass rose. Winds by seat index: 0 北, 1 西, 2 南, 3 东; the local seat is at
// the bottom, the next seat (index + 1) on the right, the opposite seat at the top.
void Compass(QPainter& p, int seat) {
  static const char* const kWinds[4] = {"北", "西", "南", "东"};
  const QPointF c(38.5, 38.5);
  QRadialGradient g(c, 38);
  g.setColorAt(0, QColor(0xff, 0xf8, 0xe0));
  g.setColorAt(0.8, QColor(0xe8, 0xd8, 0xa8));
  g.setColorAt(1, QColor(0xa0, 0x80, 0x40));
  p.setPen(QPen(QColor(0x60, 0x40, 0x10), 2));
  p.setBrush(g);
  p.drawEllipse(c, 37, 37);
  p.setPen(QPen(QColor(0x90, 0x70, 0x30), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, 25, 25);
  // an eight-pointed star
  for (int i = 0; i < 8; ++i) {
    const double len = i % 2 == 0 ? 22 : 13;
    QPainterPath ray;
    ray.moveTo(0, -len);
    ray.lineTo(4, 0);
    ray.lineTo(-4, 0);
    ray.closeSubpath();
    QTransform t;
    t.translate(c.x(), c.y());
    t.rotate(i * 45);
    p.setPen(Qt::NoPen);
    p.setBrush(i % 2 == 0 ? QColor(0x30, 0x50, 0x90) : QColor(0x90, 0xa0, 0xc0));
    p.drawPath(t.map(ray));
  }
  p.setBrush(QColor(0xc0, 0x20, 0x20));
  p.drawEllipse(c, 3, 3);
  // the winds: bottom = own seat, right = next, top = opposite, left = previous
  const QPointF spots[4] = {{0, 28}, {28, 0}, {0, -28}, {-28, 0}};
  for (int k = 0; k < 4; ++k) {
    const QPointF at = c + spots[k];
    const bool top = k == 2;
    p.setPen(QPen(QColor(0x60, 0x40, 0x10), 1));
    p.setBrush(top ? QColor(0xc8, 0x20, 0x20) : QColor(0x20, 0x30, 0x60));
    p.drawEllipse(at, 8.5, 8.5);
    DrawFittedText(p, QString::fromUtf8(kWinds[(seat + k) % 4]),
                   QRectF(at.x() - 6.5, at.y() - 6.5, 13, 13), Qt::white, Qt::transparent, 0,
                   Fit::Em);
  }
}

// The turn timer: an alarm clock at the left, a dark window for the countdown digits (which the
// client lays over x 48..72, y 5..29).
void TimePlate(QPainter& p) {
  DrawPlate(p, QRectF(0, 0, 81, 38), 8, QColor(0x6a, 0x50, 0x30), QColor(0x3a, 0x28, 0x14),
            QColor(0xd8, 0xb0, 0x60), 1.5);
  const QPointF c(22, 20);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd8, 0xb0, 0x60));
  p.drawEllipse(QPointF(c.x() - 9, c.y() - 11), 4, 4);
  p.drawEllipse(QPointF(c.x() + 9, c.y() - 11), 4, 4);
  p.setPen(QPen(QColor(0x50, 0x30, 0x10), 1.5));
  p.setBrush(QColor(0xff, 0xfa, 0xec));
  p.drawEllipse(c, 12, 12);
  p.setPen(QPen(QColor(0x30, 0x20, 0x10), 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c, c + QPointF(0, -8));
  p.drawLine(c, c + QPointF(6, 2));
  p.setPen(QPen(QColor(0x90, 0x80, 0x70), 1));
  for (int i = 0; i < 12; ++i) {
    const double a = qDegreesToRadians(i * 30.0);
    p.drawPoint(c + QPointF(10 * std::sin(a), -10 * std::cos(a)));
  }
  p.setPen(QPen(QColor(0xd8, 0xb0, 0x60), 1));
  p.setBrush(QColor(0x10, 0x10, 0x10));
  p.drawRoundedRect(QRectF(45, 4, 31, 30), 4, 4);
}

// The ready mark shown on a seat that has declared itself ready: a green seal with a tick.
void ReadyMark(QPainter& p) {
  const QRectF r(1, 1, 62, 34);
  DrawPlate(p, r, 17, QColor(0x70, 0xe0, 0x80), QColor(0x18, 0x90, 0x38), QColor(0x0c, 0x50, 0x20),
            1.5);
  QPainterPath tick;
  tick.moveTo(9, 18);
  tick.lineTo(15, 25);
  tick.lineTo(25, 10);
  p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
  DrawFittedText(p, QString::fromUtf8("准备"), QRectF(28, 8, 30, 20), Qt::white,
                 QColor(0x0c, 0x40, 0x18), 2, Fit::Ink);
}

// The dealer marker: a red disc reading 庄 (the dealer's wind is a label beside it).
void DealerMarker(QPainter& p) {
  const QPointF c(18, 18);
  QRadialGradient g(c - QPointF(4, 5), 22);
  g.setColorAt(0, QColor(0xff, 0x80, 0x60));
  g.setColorAt(1, QColor(0xb0, 0x10, 0x10));
  p.setPen(QPen(kGold, 2.5));
  p.setBrush(g);
  p.drawEllipse(c, 16, 16);
  DrawFittedText(p, QString::fromUtf8("庄"), QRectF(7, 7, 22, 22), QColor(0xff, 0xf4, 0xc0),
                 kDarkRed.darker(140), 2, Fit::Em);
}

// The wild-tile frame, 81 x 120: a title at the top and a slot for the tile picture, which the
// client lays over x 20..56, y 59..115.
void JokerFrame(QPainter& p) {
  DrawPlate(p, QRectF(0, 0, 81, 120), 10, QColor(0x8a, 0x24, 0x1c), QColor(0x4a, 0x0c, 0x08), kGold,
            2);
  DrawFittedText(p, QString::fromUtf8("混儿"), QRectF(12, 8, 57, 24), QColor(0xff, 0xe0, 0x80),
                 QColor(0x30, 0x00, 0x00), 2, Fit::Ink);
  p.setPen(QPen(kGold, 1));
  p.drawLine(QPointF(12, 40), QPointF(69, 40));
  p.setPen(QPen(kGold.darker(130), 1.5));
  p.setBrush(QColor(0x20, 0x08, 0x04));
  p.drawRoundedRect(QRectF(17, 56, 42, 62), 4, 4);
}

// The game's emblem (under the web panel): pine and bamboo over the name 松竹.
void Emblem(QPainter& p) {
  const QRectF r(0, 0, 82, 80);
  DrawPlate(p, r, 10, QColor(0xf8, 0xf0, 0xd8), QColor(0xd8, 0xc8, 0x98), QColor(0x60, 0x48, 0x20),
            2);
  // bamboo stalks on the right
  p.setPen(Qt::NoPen);
  for (int k = 0; k < 2; ++k) {
    const double x = 52 + k * 11;
    p.setBrush(QColor(0x2a, 0x90, 0x40));
    p.drawRoundedRect(QRectF(x, 8, 5, 44), 2, 2);
    p.setBrush(QColor(0x10, 0x50, 0x20));
    for (double y : {20.0, 34.0}) p.drawRect(QRectF(x - 0.5, y, 6, 1.5));
  }
  p.setBrush(QColor(0x3c, 0xa8, 0x50));
  for (int k = 0; k < 3; ++k) {
    p.save();
    p.translate(58, 14 + k * 12);
    p.rotate(-35 + k * 20);
    p.drawEllipse(QRectF(0, -2, 14, 4));
    p.restore();
  }
  // a pine tree on the left: three tiers of dark green
  p.setBrush(QColor(0x6a, 0x40, 0x20));
  p.drawRect(QRectF(23, 38, 5, 14));
  p.setBrush(QColor(0x14, 0x60, 0x38));
  for (int k = 0; k < 3; ++k) {
    QPainterPath tier;
    const double y = 12 + k * 9, w = 10 + k * 5;
    tier.moveTo(25.5, y);
    tier.lineTo(25.5 + w, y + 14);
    tier.lineTo(25.5 - w, y + 14);
    tier.closeSubpath();
    p.drawPath(tier);
  }
  DrawFittedText(p, QString::fromUtf8("松竹麻将"), QRectF(6, 56, 70, 18), QColor(0x8a, 0x10, 0x10),
                 Qt::transparent, 0, Fit::Ink);
}

// The two links that open the phrase lists, 57 x 13.
void PhraseLink(QPainter& p, const QString& text) {
  const QRectF r(0, 0, 57, 13);
  p.setPen(QPen(QColor(0xe0, 0xc0, 0x70), 1));
  p.setBrush(VerticalGradient(r, QColor(0x50, 0x30, 0x10), QColor(0x30, 0x1a, 0x08)));
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  DrawFittedText(p, text, r.adjusted(4, 1.5, -4, -1.5), QColor(0xff, 0xe8, 0xa0));
}

// The strip behind the location line of the local panel, 394 x 39 (shown stretched).
void LocationStrip(QPainter& p) {
  const QRectF r(0, 0, 394, 39);
  QLinearGradient g(r.topLeft(), r.topRight());
  g.setColorAt(0, QColor(0x3a, 0x22, 0x0c, 230));
  g.setColorAt(0.7, QColor(0x5a, 0x38, 0x14, 200));
  g.setColorAt(1, QColor(0x5a, 0x38, 0x14, 60));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(r, 8, 8);
  p.setPen(QPen(QColor(0xe0, 0xc0, 0x70, 180), 1));
  p.drawLine(QPointF(6, 1), QPointF(388, 1));
  p.drawLine(QPointF(6, 38), QPointF(388, 38));
}

// Captions of the sound settings, 80 x 24.
void Caption(QPainter& p, const QString& text) {
  const QRectF r(0, 0, 80, 24);
  DrawPlate(p, r, 6, QColor(0xf8, 0xe8, 0xb8), QColor(0xe0, 0xc0, 0x78), QColor(0x80, 0x58, 0x20),
            1);
  DrawFittedText(p, text, r.adjusted(8, 4, -8, -4), QColor(0x4a, 0x28, 0x08));
}

void Add(Catalogue& out, const QString& key, QSize size, std::function<void(QPainter&)> draw) {
  out.push_back({key, "indicators", size, std::move(draw)});
}

}  // namespace

void AddIndicators(Catalogue& out) {
  Add(out, "123", {82, 80}, WildEmblem);
  Add(out, "124", {120, 40}, [](QPainter& p) { LevelPlaque(p, false); });
  Add(out, "125", {120, 40}, [](QPainter& p) { LevelPlaque(p, true); });
  for (int seat = 0; seat < 4; ++seat)
    Add(out, QString::number(126 + seat), {77, 77}, [seat](QPainter& p) { Compass(p, seat); });
}

void AddTableMarks(Catalogue& out) {
  Add(out, "time_plate", {81, 38}, TimePlate);
  Add(out, "ready", {64, 36}, ReadyMark);
  Add(out, "dealer", {36, 36}, DealerMarker);
  Add(out, "joker_frame", {81, 120}, JokerFrame);
  Add(out, "emblem", {82, 80}, Emblem);
  Add(out, "phrases_text", {57, 13},
      [](QPainter& p) { PhraseLink(p, QString::fromUtf8("文字短语")); });
  Add(out, "phrases_voice", {57, 13},
      [](QPainter& p) { PhraseLink(p, QString::fromUtf8("语音短语")); });
  Add(out, "location_strip", {394, 39}, LocationStrip);
  const char* const kCaptions[4] = {"背景音乐", "系统声音", "功能声音", "方言选择"};
  for (int i = 0; i < 4; ++i) {
    const QString text = QString::fromUtf8(kCaptions[i]);
    Add(out, QStringLiteral("sound_caption%1").arg(i), {80, 24},
        [text](QPainter& p) { Caption(p, text); });
  }
}

}  // namespace tallow::art
