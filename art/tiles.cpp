// The 180 tile pictures: five groups (one per way a tile is seen) of four suits of nine.
#include <QLinearGradient>

#include "paint.h"
#include "picture.h"
#include "tile_faces.h"

namespace tallow::art {
namespace {

// How a group shows its tiles: picture size, thickness of the edge towards the viewer (always the
// bottom of the picture) and the turn of the face (degrees clockwise; 90 = the top of the face
// points to the right).
struct Group {
  QSize size;
  double edge;
  int turn;
};
constexpr Group kGroups[5] = {
    {{50, 58}, 9, 0},    // in front of the local seat, seen from above
    {{59, 46}, 8, 90},   // left seat, lying
    {{34, 37}, 7, 180},  // top seat, upside down
    {{59, 46}, 8, 270},  // right seat, lying
    {{50, 77}, 8, 0},    // the local player's own standing hand
};

const QColor kIvoryTop(0xff, 0xfd, 0xf4);
const QColor kIvoryBottom(0xef, 0xe6, 0xcd);
const QColor kIvoryEdge(0xe2, 0xd6, 0xb4);
const QColor kBackLight(0x2c, 0x9a, 0x62);
const QColor kBackDark(0x0c, 0x5c, 0x36);
const QColor kOutline(0x2a, 0x3a, 0x30);

enum class Kind { Face, StandingBack, WallBack };

double Radius(const Group& g) {
  return g.size.width() < 40 ? 3.0 : 4.5;
}

// A faint lattice on the coloured back.
void BackPattern(QPainter& p, const QRectF& r) {
  p.save();
  p.setClipRect(r.adjusted(2, 2, -2, -2));
  p.setPen(QPen(QColor(255, 255, 255, 38), 1));
  const double step = 6;
  for (double x = r.left() - r.height(); x < r.right(); x += step) {
    p.drawLine(QPointF(x, r.top()), QPointF(x + r.height(), r.bottom()));
    p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
  }
  p.restore();
}

void DrawTile(QPainter& p, const Group& g, Kind kind, int suit, int rank) {
  const double rad = Radius(g);
  const QRectF body(0.5, 0.5, g.size.width() - 1.0, g.size.height() - 1.0);
  const QRectF top(body.left(), body.top(), body.width(), body.height() - g.edge);
  // the back layer: the whole silhouette
  p.setPen(QPen(kOutline, 1));
  p.setBrush(VerticalGradient(body, kBackLight, kBackDark));
  p.drawRoundedRect(body, rad, rad);
  if (kind == Kind::StandingBack) {
    // the tile stands with its back to the viewer: all back colour, a thin ivory rim on top
    p.setPen(Qt::NoPen);
    p.setBrush(kIvoryEdge);
    p.drawRoundedRect(QRectF(body.left() + 1, body.top() + 1, body.width() - 2, 3), 1.5, 1.5);
    const QRectF face(body.left() + 1.5, body.top() + 4, body.width() - 3,
                      body.height() - g.edge - 3.5);
    p.setBrush(VerticalGradient(face, kBackLight.lighter(115), kBackLight));
    p.drawRoundedRect(face, rad - 1, rad - 1);
    BackPattern(p, face);
    return;
  }
  // the ivory layer, seen as a band along the edge
  const QRectF ivory(body.left(), body.top(), body.width(), body.height() - g.edge * 0.42);
  p.setPen(QPen(kOutline, 0.8));
  p.setBrush(VerticalGradient(ivory, kIvoryEdge, kIvoryEdge.darker(110)));
  p.drawRoundedRect(ivory, rad, rad);
  if (kind == Kind::WallBack) {
    p.setPen(QPen(kBackDark.darker(120), 0.8));
    p.setBrush(VerticalGradient(top, kBackLight.lighter(110), kBackLight));
    p.drawRoundedRect(top, rad, rad);
    BackPattern(p, top);
    return;
  }
  p.setPen(QPen(QColor(0xb0, 0xa0, 0x78), 0.8));
  p.setBrush(VerticalGradient(top, kIvoryTop, kIvoryBottom));
  p.drawRoundedRect(top, rad, rad);
  // the face, turned for the seat and squeezed into the top surface
  const QRectF face = top.adjusted(2, 2, -2, -2);
  const bool sideways = g.turn % 180 != 0;
  const double along = sideways ? face.height() : face.width();
  const double across = sideways ? face.width() : face.height();
  p.save();
  p.translate(face.center());
  p.rotate(g.turn);
  p.scale(along / kFaceWidth, across / kFaceHeight);
  p.translate(-kFaceWidth / 2, -kFaceHeight / 2);
  DrawTileFace(p, suit, rank);
  p.restore();
}

}  // namespace

void AddTiles(Catalogue& out) {
  for (int group = 0; group < 5; ++group) {
    for (int suit = 0; suit < 4; ++suit) {
      for (int rank = 1; rank <= 9; ++rank) {
        const int id = 201 + 36 * group + 9 * suit + rank - 1;
        Kind kind = Kind::Face;
        if (suit == 0 && rank == 8) kind = Kind::StandingBack;
        if (suit == 0 && rank == 9) kind = Kind::WallBack;
        const Group& g = kGroups[group];
        out.push_back({QString::number(id), QStringLiteral("tiles%1").arg(group), g.size,
                       [g, kind, suit, rank](QPainter& p) { DrawTile(p, g, kind, suit, rank); }});
      }
    }
  }
}

}  // namespace tallow::art
