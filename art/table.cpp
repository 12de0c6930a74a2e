// The table background, 1024 x 768: the band of the three opponents' panels at the top, the
// green felt, and the local player's console at the bottom (portrait, name panel, message rows,
// chat box, toolbar and emblem places).
#include <QLinearGradient>
#include <QRadialGradient>

#include "paint.h"
#include "picture.h"

namespace tallow::art {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr double kFeltTop = 92;
constexpr double kFeltBottom = 652;

const QColor kWoodLight(0x7a, 0x4a, 0x22);
const QColor kWoodDark(0x3a, 0x1e, 0x0a);
const QColor kBrass(0xd8, 0xb0, 0x5a);

void Wood(QPainter& p, const QRectF& r) {
  p.fillRect(r, VerticalGradient(r, kWoodLight, kWoodDark));
  // grain: straight faint lines of varying strength, like brushed wood
  p.save();
  p.setClipRect(r);
  for (int i = 0; i < int(r.height()); i += 2) {
    const int strength = (i * 37 + 11) % 13;
    if (strength < 6) continue;
    p.setPen(QPen(QColor(0, 0, 0, strength), 1));
    p.drawLine(QPointF(r.left(), r.top() + i + 0.5), QPointF(r.right(), r.top() + i + 0.5));
  }
  p.restore();
}

void Felt(QPainter& p) {
  const QRectF felt(0, kFeltTop, kWidth, kFeltBottom - kFeltTop);
  QRadialGradient g(felt.center(), 620);
  g.setColorAt(0, QColor(0x2e, 0x8a, 0x4e));
  g.setColorAt(0.7, QColor(0x1c, 0x6a, 0x38));
  g.setColorAt(1, QColor(0x0e, 0x44, 0x22));
  p.fillRect(felt, g);
  // a fine woven lattice
  p.save();
  p.setClipRect(felt);
  p.setPen(QPen(QColor(255, 255, 255, 9), 1));
  for (double x = -kHeight; x < kWidth; x += 12) {
    p.drawLine(QPointF(x, kFeltTop), QPointF(x + felt.height(), kFeltBottom));
    p.drawLine(QPointF(x, kFeltBottom), QPointF(x + felt.height(), kFeltTop));
  }
  // a faint ornamental ring in the middle of the table
  const QPointF c(512, 372);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, 22), 3));
  p.drawEllipse(c, 150, 110);
  p.setPen(QPen(QColor(255, 255, 255, 14), 1));
  p.drawEllipse(c, 160, 120);
  p.drawRoundedRect(QRectF(140, 150, 744, 446), 30, 30);
  p.restore();
  // a brass-edged rim along the top and bottom of the felt
  p.fillRect(QRectF(0, kFeltTop - 4, kWidth, 4), kBrass.darker(130));
  p.fillRect(QRectF(0, kFeltBottom, kWidth, 4), kBrass.darker(130));
  p.setPen(QPen(kBrass, 1));
  p.drawLine(QPointF(0, kFeltTop - 4), QPointF(kWidth, kFeltTop - 4));
  p.drawLine(QPointF(0, kFeltBottom + 3), QPointF(kWidth, kFeltBottom + 3));
}

void Inset(QPainter& p, const QRectF& r, double radius = 5) {
  p.setPen(QPen(kBrass.darker(150), 1));
  p.setBrush(QColor(0x10, 0x0a, 0x04, 200));
  p.drawRoundedRect(r, radius, radius);
}

void PortraitFrame(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kBrass, 2));
  p.setBrush(QColor(0x20, 0x12, 0x06));
  p.drawRoundedRect(r, 6, 6);
}

void InfoPanel(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kBrass.darker(120), 1));
  p.setBrush(VerticalGradient(r, QColor(0x20, 0x14, 0x08, 210), QColor(0x08, 0x04, 0x00, 210)));
  p.drawRoundedRect(r, 8, 8);
}

void TopBand(QPainter& p) {
  Wood(p, QRectF(0, 0, kWidth, kFeltTop - 4));
  for (int s = 0; s < 3; ++s) {
    const double x = 7 + 343 * s;  // the portrait's left edge
    PortraitFrame(p, QRectF(x - 4, 11, 78, 70));
    InfoPanel(p, QRectF(x + 152, 10, 170, 74));
  }
}

void BottomBand(QPainter& p) {
  Wood(p, QRectF(0, kFeltBottom + 4, kWidth, kHeight - kFeltBottom - 4));
  PortraitFrame(p, QRectF(5, 661, 95, 100));
  InfoPanel(p, QRectF(172, 692, 132, 70));
  Inset(p, QRectF(309, 693, 287, 31));    // the two message rows
  Inset(p, QRectF(313, 726, 254, 24));    // the chat box
  Inset(p, QRectF(592, 692, 29, 37), 4);  // the chat caption
  // the toolbar's recess and the emblem's place
  p.setPen(QPen(kBrass.darker(160), 1));
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawRoundedRect(QRectF(643, 695, 288, 68), 8, 8);
  p.drawRoundedRect(QRectF(932, 676, 90, 88), 8, 8);
}

void DrawBackground(QPainter& p) {
  Felt(p);
  TopBand(p);
  BottomBand(p);
}

}  // namespace

void AddTable(Catalogue& out) {
  AddTableMarks(out);
  out.push_back({"background", "table", {kWidth, kHeight}, DrawBackground});
}

}  // namespace tallow::art
