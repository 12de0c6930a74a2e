// Twenty portraits, 85 x 90: ten men (191..200) and ten women (401..410), each with its own
// hair, face and clothes.
#include <QPainterPath>
#include <QRadialGradient>

#include "paint.h"
#include "picture.h"

namespace tallow::art {
namespace {

enum class Hair {
  Crop,
  SidePart,
  Spiky,
  Bald,
  Cap,
  Long,
  Bun,
  Ponytail,
  Bob,
  Braids,
  Curly,
  Pixie,
  Flat
};
enum class Collar { Shirt, VNeck, Mandarin, SuitTie, Round, Hoodie };
enum class Extra { None, Glasses, Beard, Moustache, Earrings, Flower, Bow, Headband, Sunglasses };

struct Look {
  QColor background, skin, hair, clothes;
  Hair hair_style;
  Collar collar;
  Extra extra;
  bool woman;
};

const QColor kSkins[] = {QColor(0xf6, 0xd5, 0xb4), QColor(0xee, 0xc3, 0x9a),
                         QColor(0xd9, 0xa4, 0x78), QColor(0xfa, 0xdf, 0xc8)};

const Look kMen[10] = {
    {QColor(0x8c, 0xb8, 0xe0), kSkins[0], QColor(0x1c, 0x16, 0x12), QColor(0x2a, 0x4a, 0x8c),
     Hair::Crop, Collar::Shirt, Extra::None, false},
    {QColor(0xa8, 0xd8, 0xa0), kSkins[1], QColor(0x30, 0x20, 0x14), QColor(0x30, 0x30, 0x38),
     Hair::SidePart, Collar::SuitTie, Extra::Glasses, false},
    {QColor(0xf0, 0xc0, 0x80), kSkins[2], QColor(0x10, 0x10, 0x10), QColor(0xc8, 0x30, 0x28),
     Hair::Spiky, Collar::Round, Extra::None, false},
    {QColor(0xc8, 0xb8, 0xe8), kSkins[1], QColor(0x90, 0x90, 0x90), QColor(0x6a, 0x40, 0x20),
     Hair::Bald, Collar::Mandarin, Extra::Beard, false},
    {QColor(0x90, 0xd8, 0xd8), kSkins[0], QColor(0x24, 0x18, 0x10), QColor(0x20, 0x80, 0x50),
     Hair::Cap, Collar::Hoodie, Extra::None, false},
    {QColor(0xf4, 0xe0, 0x90), kSkins[3], QColor(0x5a, 0x38, 0x1c), QColor(0x88, 0x2a, 0x6a),
     Hair::Crop, Collar::VNeck, Extra::Beard, false},
    {QColor(0xe8, 0xa0, 0xa0), kSkins[2], QColor(0x14, 0x10, 0x0c), QColor(0x1a, 0x1a, 0x20),
     Hair::Flat, Collar::SuitTie, Extra::Sunglasses, false},
    {QColor(0xb0, 0xc8, 0x80), kSkins[1], QColor(0x3a, 0x2a, 0x1a), QColor(0x40, 0x70, 0xb0),
     Hair::Curly, Collar::Shirt, Extra::Moustache, false},
    {QColor(0xd0, 0xd0, 0xd0), kSkins[0], QColor(0xd8, 0xd8, 0xd0), QColor(0x7a, 0x1a, 0x1a),
     Hair::SidePart, Collar::Mandarin, Extra::Glasses, false},
    {QColor(0x80, 0xa8, 0xf0), kSkins[3], QColor(0x8a, 0x50, 0x20), QColor(0xe0, 0x90, 0x20),
     Hair::Pixie, Collar::Round, Extra::None, false},
};

const Look kWomen[10] = {
    {QColor(0xf8, 0xc0, 0xd0), kSkins[3], QColor(0x1a, 0x12, 0x10), QColor(0xd0, 0x40, 0x70),
     Hair::Long, Collar::Round, Extra::Earrings, true},
    {QColor(0xc0, 0xe0, 0xf8), kSkins[0], QColor(0x2a, 0x1a, 0x10), QColor(0x30, 0x70, 0xc0),
     Hair::Bun, Collar::Mandarin, Extra::None, true},
    {QColor(0xf8, 0xe8, 0xa0), kSkins[1], QColor(0x6a, 0x3a, 0x18), QColor(0x40, 0xa0, 0x60),
     Hair::Ponytail, Collar::Shirt, Extra::Bow, true},
    {QColor(0xd8, 0xc8, 0xf8), kSkins[3], QColor(0x10, 0x10, 0x14), QColor(0x6a, 0x30, 0x90),
     Hair::Bob, Collar::VNeck, Extra::None, true},
    {QColor(0xb8, 0xf0, 0xc8), kSkins[2], QColor(0x20, 0x14, 0x0c), QColor(0xe0, 0x60, 0x30),
     Hair::Braids, Collar::Round, Extra::Flower, true},
    {QColor(0xf0, 0xb0, 0x90), kSkins[0], QColor(0x9a, 0x5a, 0x28), QColor(0x20, 0x40, 0x70),
     Hair::Curly, Collar::VNeck, Extra::Earrings, true},
    {QColor(0xa0, 0xd0, 0xe8), kSkins[3], QColor(0x30, 0x22, 0x18), QColor(0xf0, 0xf0, 0xf0),
     Hair::Pixie, Collar::Shirt, Extra::Glasses, true},
    {QColor(0xe8, 0xa8, 0xc8), kSkins[1], QColor(0x14, 0x0c, 0x0c), QColor(0xb0, 0x10, 0x20),
     Hair::Long, Collar::Mandarin, Extra::Headband, true},
    {QColor(0xd0, 0xe8, 0x98), kSkins[0], QColor(0x5a, 0x30, 0x10), QColor(0x10, 0x80, 0x80),
     Hair::Ponytail, Collar::Hoodie, Extra::None, true},
    {QColor(0xf4, 0xd0, 0xa0), kSkins[2], QColor(0x28, 0x18, 0x10), QColor(0x80, 0x60, 0xc0),
     Hair::Bun, Collar::Round, Extra::Flower, true},
};

const QPointF kHead(42.5, 38);
constexpr double kHeadW = 30, kHeadH = 35;

QRectF HeadRect() {
  return QRectF(kHead.x() - kHeadW / 2, kHead.y() - kHeadH / 2, kHeadW, kHeadH);
}

// Hair that lies behind the head and shoulders.
void HairBack(QPainter& p, const Look& l) {
  p.setPen(Qt::NoPen);
  p.setBrush(l.hair);
  const QRectF h = HeadRect();
  switch (l.hair_style) {
    case Hair::Long:
      p.drawRoundedRect(QRectF(h.left() - 5, h.top() - 3, h.width() + 10, 52), 14, 14);
      break;
    case Hair::Curly:
      for (int i = 0; i < 9; ++i) {
        const double a = i * 40.0;
        QTransform t;
        t.translate(kHead.x(), kHead.y() + 2);
        t.rotate(a);
        p.drawEllipse(t.map(QPointF(0, -19)), 8.5, 8.5);
      }
      break;
    case Hair::Braids:
      for (double x : {h.left() - 2, h.right() + 2}) {
        for (int k = 0; k < 4; ++k) p.drawEllipse(QPointF(x, kHead.y() + 8 + k * 7), 4.5, 4.5);
      }
      break;
    case Hair::Ponytail:
      p.drawEllipse(QRectF(h.right() - 4, h.top() + 6, 14, 34));
      break;
    case Hair::Bob:
      p.drawRoundedRect(QRectF(h.left() - 4, h.top() - 3, h.width() + 8, h.height() * 0.8), 12, 12);
      break;
    default:
      break;
  }
}

void Body(QPainter& p, const Look& l) {
  // neck
  p.setPen(Qt::NoPen);
  p.setBrush(l.skin.darker(108));
  p.drawRect(QRectF(kHead.x() - 6, kHead.y() + 12, 12, 16));
  // shoulders
  QPainterPath body;
  body.moveTo(4, 90);
  body.cubicTo(6, 70, 18, 64, 34, 62);
  body.lineTo(51, 62);
  body.cubicTo(67, 64, 79, 70, 81, 90);
  body.closeSubpath();
  p.setBrush(VerticalGradient(QRectF(0, 60, 85, 30), l.clothes.lighter(120), l.clothes));
  p.setPen(QPen(l.clothes.darker(160), 1));
  p.drawPath(body);
  p.setPen(QPen(l.clothes.darker(170), 1.2));
  switch (l.collar) {
    case Collar::Shirt: {
      p.setBrush(Qt::white);
      QPainterPath c;
      c.moveTo(34, 62);
      c.lineTo(42.5, 72);
      c.lineTo(37, 76);
      c.lineTo(31, 64);
      c.moveTo(51, 62);
      c.lineTo(42.5, 72);
      c.lineTo(48, 76);
      c.lineTo(54, 64);
      p.drawPath(c);
      break;
    }
    case Collar::VNeck: {
      p.setBrush(l.skin.darker(108));
      QPainterPath c;
      c.moveTo(35, 62);
      c.lineTo(42.5, 76);
      c.lineTo(50, 62);
      c.closeSubpath();
      p.drawPath(c);
      break;
    }
    case Collar::Mandarin:
      p.setBrush(l.clothes.darker(125));
      p.drawRoundedRect(QRectF(33, 60, 19, 6), 2, 2);
      p.setBrush(QColor(0xe8, 0xc8, 0x60));
      for (int k = 0; k < 3; ++k) p.drawEllipse(QPointF(42.5, 70 + k * 6), 1.4, 1.4);
      break;
    case Collar::SuitTie: {
      p.setBrush(Qt::white);
      QPainterPath shirt;
      shirt.moveTo(34, 62);
      shirt.lineTo(42.5, 84);
      shirt.lineTo(51, 62);
      shirt.closeSubpath();
      p.drawPath(shirt);
      p.setBrush(QColor(0xc0, 0x20, 0x20));
      p.setPen(Qt::NoPen);
      QPainterPath tie;
      tie.moveTo(40.5, 64);
      tie.lineTo(44.5, 64);
      tie.lineTo(46, 80);
      tie.lineTo(42.5, 85);
      tie.lineTo(39, 80);
      tie.closeSubpath();
      p.drawPath(tie);
      break;
    }
    case Collar::Round:
      p.setBrush(l.skin.darker(108));
      p.drawChord(QRectF(34, 56, 17, 12), 180 * 16, 180 * 16);
      break;
    case Collar::Hoodie:
      p.setBrush(l.clothes.darker(120));
      p.drawChord(QRectF(24, 56, 37, 18), 180 * 16, 180 * 16);
      p.setPen(QPen(Qt::white, 1.2));
      p.drawLine(QPointF(38, 66), QPointF(37, 78));
      p.drawLine(QPointF(47, 66), QPointF(48, 78));
      break;
  }
}

void Face(QPainter& p, const Look& l) {
  const QRectF h = HeadRect();
  // ears
  p.setPen(Qt::NoPen);
  p.setBrush(l.skin.darker(106));
  p.drawEllipse(QPointF(h.left() + 1, kHead.y() + 2), 3.5, 5);
  p.drawEllipse(QPointF(h.right() - 1, kHead.y() + 2), 3.5, 5);
  // head
  QRadialGradient g(kHead - QPointF(5, 6), kHeadH * 0.8);
  g.setColorAt(0, l.skin.lighter(106));
  g.setColorAt(1, l.skin.darker(108));
  p.setBrush(g);
  p.setPen(QPen(l.skin.darker(140), 0.8));
  p.drawEllipse(h);
  // eyes and brows
  const double ey = kHead.y() + 1;
  for (double sx : {-1.0, 1.0}) {
    const double ex = kHead.x() + sx * 6.5;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(ex, ey), 3.2, l.woman ? 2.6 : 2.2);
    p.setBrush(QColor(0x2a, 0x1c, 0x14));
    p.drawEllipse(QPointF(ex + 0.3, ey + 0.2), 1.8, 1.9);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(ex + 0.9, ey - 0.6), 0.6, 0.6);
    p.setPen(
        QPen(l.hair == QColor(0xd8, 0xd8, 0xd0) ? QColor(0x90, 0x90, 0x90) : l.hair.darker(110),
             l.woman ? 0.9 : 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(ex - 3.5, ey - 4.5 - (l.woman ? 0.5 : 0)), QPointF(ex + 3.5, ey - 5));
    if (l.woman) {  // lashes
      p.setPen(QPen(QColor(0x20, 0x14, 0x10), 0.9));
      p.drawLine(QPointF(ex + sx * 3.0, ey - 1.5), QPointF(ex + sx * 4.3, ey - 2.6));
    }
  }
  // nose and mouth
  p.setPen(QPen(l.skin.darker(140), 1.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(kHead.x(), ey + 3), QPointF(kHead.x() - 1, ey + 7));
  p.setPen(QPen(l.woman ? QColor(0xc8, 0x30, 0x40) : QColor(0x90, 0x40, 0x30), l.woman ? 1.8 : 1.3,
                Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(kHead.x() - 5, ey + 6, 10, 5), 200 * 16, 140 * 16);
  if (l.woman) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x80, 0x80, 70));
    p.drawEllipse(QPointF(kHead.x() - 10, ey + 6), 3.5, 2.2);
    p.drawEllipse(QPointF(kHead.x() + 10, ey + 6), 3.5, 2.2);
  }
}

void HairFront(QPainter& p, const Look& l) {
  const QRectF h = HeadRect();
  p.setPen(Qt::NoPen);
  p.setBrush(l.hair);
  QPainterPath path;
  switch (l.hair_style) {
    case Hair::Crop:
      path.moveTo(h.left() + 1, kHead.y() - 3);
      path.cubicTo(h.left() - 1, h.top() - 6, h.right() + 1, h.top() - 6, h.right() - 1,
                   kHead.y() - 3);
      path.cubicTo(h.right() - 5, h.top() + 4, h.left() + 5, h.top() + 4, h.left() + 1,
                   kHead.y() - 3);
      break;
    case Hair::SidePart:
    case Hair::Pixie:
      path.moveTo(h.left(), kHead.y() - 1);
      path.cubicTo(h.left() - 3, h.top() - 8, h.right() + 4, h.top() - 8, h.right(), kHead.y());
      path.cubicTo(h.right() - 4, h.top() + 8, h.center().x(), h.top() + 4, h.left() + 10,
                   h.top() + 7);
      path.cubicTo(h.left() + 6, h.top() + 11, h.left() + 3, kHead.y() - 6, h.left(),
                   kHead.y() - 1);
      break;
    case Hair::Spiky:
      path.moveTo(h.left(), kHead.y() - 2);
      for (int i = 0; i <= 6; ++i) {
        const double x = h.left() + i * h.width() / 6;
        path.lineTo(x - 2, h.top() - 7 - (i % 2) * 3);
        path.lineTo(x + 2, h.top() + 3);
      }
      path.lineTo(h.right(), kHead.y() - 2);
      path.cubicTo(h.right() - 4, h.top() + 5, h.left() + 4, h.top() + 5, h.left(), kHead.y() - 2);
      break;
    case Hair::Bald:  // a fringe around the sides only
      p.drawEllipse(QRectF(h.left() - 2, kHead.y() - 8, 6, 14));
      p.drawEllipse(QRectF(h.right() - 4, kHead.y() - 8, 6, 14));
      break;
    case Hair::Cap: {
      const QColor cap(0xe0, 0x30, 0x30);
      p.setBrush(cap);
      path.moveTo(h.left() - 1, kHead.y() - 4);
      path.cubicTo(h.left() - 1, h.top() - 10, h.right() + 1, h.top() - 10, h.right() + 1,
                   kHead.y() - 4);
      path.closeSubpath();
      p.drawPath(path);
      p.setBrush(cap.darker(130));
      p.drawRoundedRect(QRectF(h.left() - 4, kHead.y() - 7, h.width() + 12, 5), 2.5, 2.5);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(kHead.x(), h.top() + 2), 3, 3);
      return;
    }
    case Hair::Long:
    case Hair::Bob:
    case Hair::Braids:
    case Hair::Ponytail:
    case Hair::Bun:
      path.moveTo(h.left() - 1, kHead.y() + 4);
      path.cubicTo(h.left() - 3, h.top() - 7, h.right() + 3, h.top() - 7, h.right() + 1,
                   kHead.y() + 4);
      path.cubicTo(h.right() - 2, h.top() + 9, kHead.x() + 4, h.top() + 9, kHead.x(), h.top() + 6);
      path.cubicTo(kHead.x() - 4, h.top() + 12, h.left() + 2, h.top() + 9, h.left() - 1,
                   kHead.y() + 4);
      if (l.hair_style == Hair::Bun) p.drawEllipse(QPointF(kHead.x(), h.top() - 5), 8, 7);
      break;
    case Hair::Curly:
      for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPointF(h.left() + 3 + i * (h.width() - 6) / 5, h.top() + 2), 5.5, 5.5);
      break;
    case Hair::Flat:
      p.drawRoundedRect(QRectF(h.left() - 1, h.top() - 8, h.width() + 2, 14), 3, 3);
      p.drawRect(QRectF(h.left() - 1, h.top(), 4, 14));
      p.drawRect(QRectF(h.right() - 3, h.top(), 4, 14));
      break;
  }
  p.drawPath(path);
}

void Extras(QPainter& p, const Look& l) {
  const double ey = kHead.y() + 1;
  switch (l.extra) {
    case Extra::Glasses:
    case Extra::Sunglasses: {
      const bool sun = l.extra == Extra::Sunglasses;
      p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.2));
      p.setBrush(sun ? QColor(0x10, 0x10, 0x18) : QColor(255, 255, 255, 40));
      p.drawRoundedRect(QRectF(kHead.x() - 12, ey - 4, 10, 8), 2.5, 2.5);
      p.drawRoundedRect(QRectF(kHead.x() + 2, ey - 4, 10, 8), 2.5, 2.5);
      p.drawLine(QPointF(kHead.x() - 2, ey - 1), QPointF(kHead.x() + 2, ey - 1));
      break;
    }
    case Extra::Beard: {
      p.setPen(Qt::NoPen);
      p.setBrush(l.hair);
      QPainterPath b;
      b.moveTo(kHead.x() - 13, ey + 2);
      b.cubicTo(kHead.x() - 12, ey + 22, kHead.x() + 12, ey + 22, kHead.x() + 13, ey + 2);
      b.cubicTo(kHead.x() + 8, ey + 10, kHead.x() - 8, ey + 10, kHead.x() - 13, ey + 2);
      p.drawPath(b);
      break;
    }
    case Extra::Moustache:
      p.setPen(QPen(l.hair, 2.4, Qt::SolidLine, Qt::RoundCap));
      p.drawArc(QRectF(kHead.x() - 6, ey + 4.5, 6, 4), 0, 180 * 16);
      p.drawArc(QRectF(kHead.x(), ey + 4.5, 6, 4), 0, 180 * 16);
      break;
    case Extra::Earrings:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xf0, 0xc8, 0x30));
      p.drawEllipse(QPointF(kHead.x() - kHeadW / 2, kHead.y() + 9), 2, 2);
      p.drawEllipse(QPointF(kHead.x() + kHeadW / 2, kHead.y() + 9), 2, 2);
      break;
    case Extra::Flower: {
      const QPointF c(kHead.x() + 12, kHead.y() - 14);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xff, 0x60, 0x90));
      for (int i = 0; i < 5; ++i) {
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(i * 72);
        p.drawEllipse(t.map(QPointF(0, -3.2)), 2.6, 2.6);
      }
      p.setBrush(QColor(0xff, 0xe0, 0x40));
      p.drawEllipse(c, 2, 2);
      break;
    }
    case Extra::Bow: {
      const QPointF c(kHead.x() + 11, kHead.y() - 16);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xff, 0x40, 0x60));
      QPainterPath bow;
      bow.moveTo(c);
      bow.lineTo(c + QPointF(-7, -5));
      bow.lineTo(c + QPointF(-7, 5));
      bow.closeSubpath();
      bow.moveTo(c);
      bow.lineTo(c + QPointF(7, -5));
      bow.lineTo(c + QPointF(7, 5));
      bow.closeSubpath();
      p.drawPath(bow);
      p.drawEllipse(c, 2.2, 2.2);
      break;
    }
    case Extra::Headband:
      p.setPen(QPen(QColor(0xff, 0xd0, 0x40), 2.6));
      p.drawArc(QRectF(kHead.x() - 15, kHead.y() - 21, 30, 22), 20 * 16, 140 * 16);
      break;
    case Extra::None:
      break;
  }
}

void DrawPortrait(QPainter& p, const Look& l) {
  const QRectF frame(0, 0, 85, 90);
  QRadialGradient bg(QPointF(42, 30), 70);
  bg.setColorAt(0, l.background.lighter(125));
  bg.setColorAt(1, l.background.darker(115));
  p.setPen(Qt::NoPen);
  p.setBrush(bg);
  p.drawRoundedRect(frame, 6, 6);
  p.save();
  QPainterPath clip;
  clip.addRoundedRect(frame.adjusted(1, 1, -1, -1), 6, 6);
  p.setClipPath(clip);
  HairBack(p, l);
  Body(p, l);
  Face(p, l);
  HairFront(p, l);
  Extras(p, l);
  p.restore();
  p.setPen(QPen(l.background.darker(170), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(frame.adjusted(0.75, 0.75, -0.75, -0.75), 6, 6);
}

}  // namespace

void AddPortraits(Catalogue& out) {
  for (int i = 0; i < 10; ++i) {
    const Look man = kMen[i];
    out.push_back({QString::number(191 + i), "portraits men", {85, 90}, [man](QPainter& p) {
                     DrawPortrait(p, man);
                   }});
  }
  for (int i = 0; i < 10; ++i) {
    const Look woman = kWomen[i];
    out.push_back({QString::number(401 + i), "portraits women", {85, 90}, [woman](QPainter& p) {
                     DrawPortrait(p, woman);
                   }});
  }
}

}  // namespace tallow::art
