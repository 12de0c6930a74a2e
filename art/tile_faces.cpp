#include "tile_faces.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <array>

#include "paint.h"

namespace tallow::art {
namespace {

const QColor kInk(0x1b, 0x23, 0x40);
const QColor kRed(0xc4, 0x1e, 0x2a);
const QColor kGreen(0x0b, 0x7a, 0x3b);
const QColor kBlue(0x1f, 0x4f, 0xa8);

// One dot: coloured disc with a white ring and a coloured eye.
void Dot(QPainter& p, QPointF c, double r, const QColor& col) {
  p.setPen(Qt::NoPen);
  p.setBrush(col.darker(115));
  p.drawEllipse(c, r, r);
  p.setBrush(col);
  p.drawEllipse(c, r * 0.92, r * 0.92);
  p.setBrush(QColor(0xfb, 0xf7, 0xea));
  p.drawEllipse(c, r * 0.66, r * 0.66);
  p.setBrush(col);
  p.drawEllipse(c, r * 0.44, r * 0.44);
  p.setBrush(QColor(0xfb, 0xf7, 0xea));
  p.drawEllipse(c, r * 0.16, r * 0.16);
}

void BigDot(QPainter& p) {
  const QPointF c(20, 26);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen.darker(110));
  p.drawEllipse(c, 16.5, 16.5);
  p.setBrush(QColor(0xfb, 0xf7, 0xea));
  p.drawEllipse(c, 14, 14);
  // a ring of petals
  p.setBrush(kGreen);
  for (int i = 0; i < 12; ++i) {
    p.save();
    p.translate(c);
    p.rotate(i * 30);
    p.drawEllipse(QPointF(0, -11), 2.2, 3.2);
    p.restore();
  }
  p.setBrush(kRed);
  p.drawEllipse(c, 7.5, 7.5);
  p.setBrush(QColor(0xfb, 0xf7, 0xea));
  p.drawEllipse(c, 5, 5);
  p.setBrush(kBlue);
  p.drawEllipse(c, 3, 3);
}

void Dots(QPainter& p, int rank) {
  struct D {
    double x, y, r;
    QColor c;
  };
  std::vector<D> d;
  switch (rank) {
    case 1:
      BigDot(p);
      return;
    case 2:
      d = {{20, 14, 9, kGreen}, {20, 38, 9, kBlue}};
      break;
    case 3:
      d = {{9.5, 10, 7, kBlue}, {20, 26, 7, kRed}, {30.5, 42, 7, kGreen}};
      break;
    case 4:
      d = {
          {11, 14, 7.5, kBlue}, {29, 14, 7.5, kGreen}, {11, 38, 7.5, kGreen}, {29, 38, 7.5, kBlue}};
      break;
    case 5:
      d = {{9.5, 10, 6.5, kBlue},
           {30.5, 10, 6.5, kGreen},
           {20, 26, 6.5, kRed},
           {9.5, 42, 6.5, kGreen},
           {30.5, 42, 6.5, kBlue}};
      break;
    case 6:
      d = {{11, 9, 6, kGreen}, {29, 9, 6, kGreen}, {11, 29, 6, kRed},
           {29, 29, 6, kRed},  {11, 43, 6, kRed},  {29, 43, 6, kRed}};
      break;
    case 7:
      d = {{8.5, 7, 5, kGreen}, {20, 12.5, 5, kGreen}, {31.5, 18, 5, kGreen}, {11, 31, 5.5, kRed},
           {29, 31, 5.5, kRed}, {11, 44, 5.5, kRed},   {29, 44, 5.5, kRed}};
      break;
    case 8:
      for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 2; ++col)
          d.push_back({11.0 + 18 * col, 8.0 + 12 * row, 5.4, kBlue});
      break;
    default:
      for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
          d.push_back({8.5 + 11.5 * col, 10.0 + 16 * row, 5.4,
                       row == 0 ? kBlue : (row == 1 ? kRed : kGreen)});
      break;
  }
  for (const D& x : d) Dot(p, {x.x, x.y}, x.r, x.c);
}

// One bamboo stick centred at c, `len` long, turned by `angle` degrees.
void Stick(QPainter& p, QPointF c, double len, double w, const QColor& col, double angle = 0) {
  p.save();
  p.translate(c);
  p.rotate(angle);
  const QRectF r(-w / 2, -len / 2, w, len);
  QLinearGradient g(r.topLeft(), r.topRight());
  g.setColorAt(0, col.lighter(130));
  g.setColorAt(0.45, col);
  g.setColorAt(1, col.darker(150));
  p.setPen(QPen(col.darker(180), 0.6));
  p.setBrush(g);
  p.drawRoundedRect(r, w * 0.45, w * 0.45);
  // joints: the ends and the middle swell slightly
  p.setBrush(col.darker(160));
  p.setPen(Qt::NoPen);
  for (double y : {-len / 2 + 1.2, 0.0, len / 2 - 1.2}) {
    p.drawRoundedRect(QRectF(-w / 2 - 0.5, y - 0.7, w + 1, 1.4), 0.6, 0.6);
  }
  p.setPen(QPen(QColor(255, 255, 255, 140), 0.7));
  p.drawLine(QPointF(-w * 0.18, -len / 2 + 2.5), QPointF(-w * 0.18, -1.5));
  p.drawLine(QPointF(-w * 0.18, 1.5), QPointF(-w * 0.18, len / 2 - 2.5));
  p.restore();
}

void Bird(QPainter& p) {
  p.save();
  p.setPen(Qt::NoPen);
  // tail feathers fanning down to the left
  const std::array<QColor, 5> tail = {kGreen, kBlue, kGreen, kRed, kGreen};
  for (int i = 0; i < 5; ++i) {
    p.save();
    p.translate(17, 33);
    p.rotate(20 + i * 18);
    p.setBrush(tail[i]);
    p.drawEllipse(QRectF(-2.6, 0, 5.2, 15));
    p.setBrush(QColor(0xfb, 0xf7, 0xea));
    p.drawEllipse(QPointF(0, 11.5), 1.4, 1.8);
    p.restore();
  }
  // legs
  p.setPen(QPen(QColor(0xd0, 0x7a, 0x10), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(22, 34), QPointF(21, 45));
  p.drawLine(QPointF(26, 34), QPointF(27, 45));
  p.drawLine(QPointF(19, 45), QPointF(23, 45));
  p.drawLine(QPointF(25, 45), QPointF(29, 45));
  p.setPen(Qt::NoPen);
  // body and wing
  p.setBrush(kGreen);
  p.drawEllipse(QRectF(13, 20, 19, 15));
  p.setBrush(kRed);
  QPainterPath wing;
  wing.moveTo(16, 25);
  wing.cubicTo(20, 20, 28, 23, 29, 28);
  wing.cubicTo(25, 32, 19, 32, 16, 25);
  p.drawPath(wing);
  // neck and head
  p.setBrush(kGreen);
  p.drawEllipse(QRectF(24, 13, 8, 12));
  p.setBrush(kBlue);
  p.drawEllipse(QPointF(29.5, 12), 5, 5);
  // crest
  p.setBrush(kRed);
  QPainterPath crest;
  crest.moveTo(27, 8);
  crest.lineTo(25, 2.5);
  crest.lineTo(29, 6.5);
  crest.lineTo(30.5, 1.5);
  crest.lineTo(31.5, 7.5);
  crest.closeSubpath();
  p.drawPath(crest);
  // beak
  p.setBrush(QColor(0xe0, 0x90, 0x10));
  QPainterPath beak;
  beak.moveTo(34, 10.5);
  beak.lineTo(39, 13);
  beak.lineTo(34, 14);
  beak.closeSubpath();
  p.drawPath(beak);
  // eye
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(30.5, 11), 1.7, 1.7);
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(31, 11), 0.9, 0.9);
  p.restore();
}

void Bamboo(QPainter& p, int rank) {
  const double w = 5.6;
  switch (rank) {
    case 1:
      Bird(p);
      break;
    case 2:
      Stick(p, {20, 14}, 20, w + 1, kGreen);
      Stick(p, {20, 38}, 20, w + 1, kBlue);
      break;
    case 3:
      Stick(p, {20, 14}, 20, w + 1, kBlue);
      Stick(p, {12, 38}, 20, w + 1, kGreen);
      Stick(p, {28, 38}, 20, w + 1, kGreen);
      break;
    case 4:
      for (double y : {14.0, 38.0})
        for (double x : {12.0, 28.0}) Stick(p, {x, y}, 20, w + 1, x < 20 ? kBlue : kGreen);
      break;
    case 5:
      for (double y : {13.0, 39.0})
        for (double x : {9.0, 31.0}) Stick(p, {x, y}, 20, w, kGreen);
      Stick(p, {20, 26}, 20, w, kRed);
      break;
    case 6:
      for (double y : {14.0, 38.0})
        for (double x : {8.0, 20.0, 32.0}) Stick(p, {x, y}, 20, w, y < 20 ? kGreen : kBlue);
      break;
    case 7:
      Stick(p, {20, 9}, 14, w, kRed);
      for (double y : {27.0, 43.0})
        for (double x : {8.0, 20.0, 32.0}) Stick(p, {x, y}, 14, w, kGreen);
      break;
    case 8: {
      // two rows of four, the inner pair of each row leaning together
      const double xs[4] = {5.5, 15, 25, 34.5};
      const double lean[4] = {0, 22, -22, 0};
      for (int i = 0; i < 4; ++i) {
        Stick(p, {xs[i], 14}, 20, 5, kGreen, lean[i]);
        Stick(p, {xs[i], 38}, 20, 5, kGreen, -lean[i]);
      }
      break;
    }
    default:
      for (double y : {9.0, 26.0, 43.0})
        for (double x : {8.0, 20.0, 32.0}) Stick(p, {x, y}, 14, w, x == 20.0 ? kRed : kGreen);
      break;
  }
}

void Characters(QPainter& p, int rank) {
  static const char* const kNumerals[9] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
  DrawFittedText(p, QString::fromUtf8(kNumerals[rank - 1]), QRectF(5, 1, 30, 24), kInk, kInk, 1.6,
                 Fit::EmStretch);
  DrawFittedText(p, QString::fromUtf8("萬"), QRectF(4, 25, 32, 26), kRed, Qt::transparent, 0,
                 Fit::EmStretch);
}

void Honour(QPainter& p, int rank) {
  if (rank == 7) {  // 白: an empty blue frame
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBlue, 2.6));
    p.drawRoundedRect(QRectF(7, 7, 26, 38), 2, 2);
    p.setPen(QPen(kBlue, 1.0));
    p.drawRoundedRect(QRectF(11, 11, 18, 30), 1, 1);
    p.restore();
    return;
  }
  static const char* const kGlyphs[6] = {"東", "南", "西", "北", "中", "發"};
  const QColor colour = rank == 5 ? kRed : (rank == 6 ? kGreen : kInk);
  DrawFittedText(p, QString::fromUtf8(kGlyphs[rank - 1]), QRectF(1, 4, 38, 44), colour, colour, 1.2,
                 Fit::EmStretch);
}

}  // namespace

void DrawTileFace(QPainter& p, int suit, int rank) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  switch (suit) {
    case 0:
      Honour(p, rank);
      break;
    case 1:
      Bamboo(p, rank);
      break;
    case 2:
      Characters(p, rank);
      break;
    default:
      Dots(p, rank);
      break;
  }
  p.restore();
}

}  // namespace tallow::art
