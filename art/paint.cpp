#include "paint.h"

#include <QFontMetricsF>
#include <QLinearGradient>

namespace tallow::art {

QFont ArtFont(double pixelSize, bool bold) {
  QFont f(kFontFamily);
  f.setPixelSize(qMax(1, qRound(pixelSize)));
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

QPainterPath FittedText(const QString& text, const QRectF& box, Fit fit) {
  const QFont font = ArtFont(100, true);
  QPainterPath path;
  path.addText(0, 0, font, text);
  QRectF b = path.boundingRect();
  if (fit == Fit::Em || fit == Fit::EmStretch) {
    const QFontMetricsF m(font);
    // the em box, grown where the ink reaches past it, so nothing spills out of the box
    b = b.united(QRectF(0, -m.ascent(), m.horizontalAdvance(text), m.ascent() + m.descent()));
  }
  if (b.isEmpty() || box.isEmpty()) return {};
  double sx = box.width() / b.width();
  double sy = box.height() / b.height();
  if (fit == Fit::Ink || fit == Fit::Em) sx = sy = qMin(sx, sy);
  QTransform t;
  t.translate(box.center().x(), box.center().y());
  t.scale(sx, sy);
  t.translate(-b.center().x(), -b.center().y());
  QPainterPath fitted = t.map(path);
  fitted.setFillRule(Qt::WindingFill);  // overlapping strokes of emboldened glyphs stay filled
  return fitted;
}

void DrawFittedText(QPainter& p, const QString& text, const QRectF& box, const QColor& fill,
                    const QColor& outline, double outlineWidth, Fit fit) {
  const QPainterPath path = FittedText(text, box, fit);
  p.save();
  if (outline.alpha() > 0 && outlineWidth > 0) {
    p.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  }
  // an outlined caption gets a slightly heavier fill, so thin strokes stay readable
  p.setPen(outlineWidth > 0 ? QPen(fill, outlineWidth * 0.3) : QPen(Qt::NoPen));
  p.setBrush(fill);
  p.drawPath(path);
  p.restore();
}

QBrush VerticalGradient(const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return QBrush(g);
}

void DrawPlate(QPainter& p, const QRectF& r, double radius, const QColor& top, const QColor& bottom,
               const QColor& border, double borderWidth) {
  p.save();
  p.setPen(QPen(border, borderWidth));
  p.setBrush(VerticalGradient(r, top, bottom));
  const QRectF body =
      r.adjusted(borderWidth / 2, borderWidth / 2, -borderWidth / 2, -borderWidth / 2);
  p.drawRoundedRect(body, radius, radius);
  QRectF sheen = body.adjusted(borderWidth + 1, borderWidth + 1, -borderWidth - 1, 0);
  sheen.setHeight(body.height() * 0.45);
  QLinearGradient g(sheen.topLeft(), sheen.bottomLeft());
  g.setColorAt(0, QColor(255, 255, 255, 110));
  g.setColorAt(1, QColor(255, 255, 255, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(sheen, radius * 0.8, radius * 0.8);
  p.restore();
}

}  // namespace tallow::art
