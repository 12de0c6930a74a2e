// The dice, 32 x 32: six faces, and ten frames of a die tumbling through the air.
#include <QPainterPath>
#include <QtMath>
#include <array>
#include <cmath>
#include <vector>

#include "paint.h"
#include "picture.h"

namespace tallow::art {
namespace {

constexpr int kSize = 32;
const QColor kPip(0x1a, 0x1a, 0x24);
const QColor kRedPip(0xd0, 0x18, 0x20);

// Pip positions on a unit face (-1..1).
std::vector<QPointF> Pips(int value) {
  const double a = 0.52;
  switch (value) {
    case 1:
      return {{0, 0}};
    case 2:
      return {{-a, -a}, {a, a}};
    case 3:
      return {{-a, -a}, {0, 0}, {a, a}};
    case 4:
      return {{-a, -a}, {a, -a}, {-a, a}, {a, a}};
    case 5:
      return {{-a, -a}, {a, -a}, {0, 0}, {-a, a}, {a, a}};
    default:
      return {{-a, -a}, {a, -a}, {-a, 0}, {a, 0}, {-a, a}, {a, a}};
  }
}

// A face of the die drawn through `t`, which maps the unit square (-1..1) onto it.
void Face(QPainter& p, const QTransform& t, int value, const QColor& shade) {
  QPainterPath square;
  square.addRoundedRect(QRectF(-1, -1, 2, 2), 0.35, 0.35);
  p.setPen(QPen(QColor(0x70, 0x68, 0x60), 0.8));
  p.setBrush(shade);
  p.drawPath(t.map(square));
  p.setPen(Qt::NoPen);
  // 1 and 4 have red pips; the single pip is large
  p.setBrush(value == 1 || value == 4 ? kRedPip : kPip);
  const double r = value == 1 ? 0.36 : 0.19;
  for (const QPointF& c : Pips(value)) {
    QPainterPath pip;
    pip.addEllipse(c, r, r);
    p.drawPath(t.map(pip));
  }
}

void DrawFace(QPainter& p, int value) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 70));
  p.drawRoundedRect(QRectF(3, 4, 28, 27), 6, 6);
  QTransform t;
  t.translate(15.5, 15.5);
  t.scale(13.5, 13.5);
  Face(p, t, value, QColor(0xf8, 0xf5, 0xec));
}

// A tumbling die: a cube turned in space, drawn as three visible faces, with motion streaks.
void DrawTumble(QPainter& p, int frame) {
  const double yaw = qDegreesToRadians(18.0 + frame * 37.0);
  const double pitch = qDegreesToRadians(25.0 + (frame % 3) * 12.0);
  const double roll = frame * 29.0;
  // axis vectors of the cube after the turn, projected orthographically
  auto rot = [&](double x, double y, double z) {
    const double x1 = x * std::cos(yaw) + z * std::sin(yaw);
    const double z1 = -x * std::sin(yaw) + z * std::cos(yaw);
    const double y1 = y * std::cos(pitch) - z1 * std::sin(pitch);
    const double z2 = y * std::sin(pitch) + z1 * std::cos(pitch);
    return std::array<double, 3>{x1, y1, z2};
  };
  const double s = 8.2;
  p.save();
  p.translate(16, 16);
  p.rotate(roll);
  // streaks behind the die
  p.setPen(QPen(QColor(255, 255, 255, 120), 1.2, Qt::SolidLine, Qt::RoundCap));
  for (int i = -1; i <= 1; ++i) p.drawLine(QPointF(-15, i * 5.0), QPointF(-9, i * 5.0 + 1));
  struct F {
    std::array<double, 3> n, u, v;
    int value;
  };
  const F faces[6] = {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, 1},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}, 6},
                      {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}, 2}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}, 5},
                      {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}, 3}, {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}, 4}};
  for (const F& f : faces) {
    const auto n = rot(f.n[0], f.n[1], f.n[2]);
    if (n[2] >= -0.05) continue;  // facing away (the viewer looks along +z)
    const auto u = rot(f.u[0], f.u[1], f.u[2]);
    const auto v = rot(f.v[0], f.v[1], f.v[2]);
    const QTransform t(u[0] * s, u[1] * s, v[0] * s, v[1] * s, n[0] * s, n[1] * s);
    const int light = 255 - int(60 * (1 + n[1]) / 2);
    Face(p, t, f.value, QColor(light, light - 4, light - 14));
  }
  p.restore();
}

}  // namespace

void AddDice(Catalogue& out) {
  for (int v = 1; v <= 6; ++v)
    out.push_back(
        {QString::number(160 + v), "dice", {kSize, kSize}, [v](QPainter& p) { DrawFace(p, v); }});
  for (int f = 0; f < 10; ++f)
    out.push_back(
        {QString::number(167 + f), "dice", {kSize, kSize}, [f](QPainter& p) { DrawTumble(p, f); }});
}

}  // namespace tallow::art
