// Speech bubbles in three shapes, one per opponent: 0 for the seat on the left (tail to the left),
// 1 for the seat at the top (tail upwards), 2 for the seat on the right (tail to the right).
// The body of every bubble is centred in its picture, with the same margin on all sides for the
// tail, so that whatever is laid over it can be centred on the picture.
//
//   speak0..speak2   180 x 110, empty: the operation banner (120 x 72) is laid over it, centred
//   415..417         84 x 56 reading 扣牌
//   418..420         84 x 56 reading 跟庄
#include <QPainterPath>

#include "paint.h"
#include "picture.h"

namespace tallow::art {
namespace {

QPainterPath BubblePath(QSizeF size, double margin, int shape) {
  const QRectF body(margin, margin, size.width() - 2 * margin, size.height() - 2 * margin);
  QPainterPath path;
  path.addRoundedRect(body, body.height() * 0.38, body.height() * 0.38);
  QPainterPath tail;
  const double t = margin;
  if (shape == 0) {  // from the left side, pointing left and a little down
    const double y = body.top() + body.height() * 0.55;
    tail.moveTo(body.left() + 6, y - t * 1.1);
    tail.lineTo(0.5, y + t * 1.3);
    tail.lineTo(body.left() + 8, y + t * 0.5);
  } else if (shape == 1) {  // from the top, pointing up and to the left
    const double x = body.left() + body.width() * 0.28;
    tail.moveTo(x + t * 1.3, body.top() + 6);
    tail.lineTo(x - t * 0.9, 0.5);
    tail.lineTo(x - t * 0.2, body.top() + 8);
  } else {  // from the right side, pointing right and a little down
    const double y = body.top() + body.height() * 0.55;
    tail.moveTo(body.right() - 6, y - t * 1.1);
    tail.lineTo(size.width() - 0.5, y + t * 1.3);
    tail.lineTo(body.right() - 8, y + t * 0.5);
  }
  tail.closeSubpath();
  return path.united(tail);
}

void DrawBubble(QPainter& p, QSize size, double margin, int shape, const QString& text) {
  const QPainterPath path = BubblePath(size, margin, shape);
  p.setPen(QPen(QColor(0x5a, 0x40, 0x10), 1.6));
  p.setBrush(VerticalGradient(QRectF(QPointF(0, 0), size), QColor(0xff, 0xfe, 0xf0),
                              QColor(0xff, 0xe9, 0xa8)));
  p.drawPath(path);
  if (text.isEmpty()) return;
  const QRectF body(margin, margin, size.width() - 2 * margin, size.height() - 2 * margin);
  DrawFittedText(p, text, body.adjusted(8, 6, -8, -6), QColor(0xc0, 0x18, 0x10),
                 QColor(0xff, 0xff, 0xff), 2.0, Fit::Ink);
}

}  // namespace

void AddBubbles(Catalogue& out) {
  for (int shape = 0; shape < 3; ++shape) {
    out.push_back(
        {QStringLiteral("speak%1").arg(shape), "bubbles", {180, 110}, [shape](QPainter& p) {
           DrawBubble(p, {180, 110}, 12, shape, {});
         }});
  }
  const struct {
    int firstId;
    const char* text;
  } kinds[] = {{415, "扣牌"}, {418, "跟庄"}};
  for (const auto& kind : kinds) {
    for (int shape = 0; shape < 3; ++shape) {
      const QString text = QString::fromUtf8(kind.text);
      out.push_back({QString::number(kind.firstId + shape), "bubbles", {84, 56}, [=](QPainter& p) {
                       DrawBubble(p, {84, 56}, 8, shape, text);
                     }});
    }
  }
}

}  // namespace tallow::art
