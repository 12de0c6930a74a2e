// The operation banners 吃 碰 杠 暗杠 红中杠 混儿杠 开杠 胡: gold characters with a dark red
// outline and a soft glow, on a transparent ground, laid over a speech bubble.
#include <QLinearGradient>

#include "paint.h"
#include "picture.h"

namespace tallow::art {
namespace {

constexpr QSize kBannerSize(120, 72);

void DrawBanner(QPainter& p, const QString& text, bool win) {
  const QRectF box(4, 5, kBannerSize.width() - 8, kBannerSize.height() - 10);
  const QPainterPath glyphs = FittedText(text, box, Fit::Ink);
  // glow, outline, fill, top light
  for (int w = 12; w >= 6; w -= 3) {
    p.setPen(QPen(QColor(255, 240, 180, 50), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(glyphs);
  }
  p.setPen(QPen(win ? QColor(0x6a, 0x00, 0x00) : QColor(0x70, 0x14, 0x08), 4, Qt::SolidLine,
                Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(glyphs);
  QLinearGradient g(box.topLeft(), box.bottomLeft());
  if (win) {
    g.setColorAt(0, QColor(0xff, 0xe0, 0x60));
    g.setColorAt(0.5, QColor(0xff, 0x50, 0x20));
    g.setColorAt(1, QColor(0xc0, 0x10, 0x10));
  } else {
    g.setColorAt(0, QColor(0xff, 0xfa, 0xd0));
    g.setColorAt(0.45, QColor(0xff, 0xcc, 0x30));
    g.setColorAt(1, QColor(0xd0, 0x70, 0x08));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(glyphs);
}

}  // namespace

void AddBanners(Catalogue& out) {
  const char* const kCaptions[8] = {"吃", "碰", "杠", "暗杠", "红中杠", "混儿杠", "开杠", "胡"};
  for (int i = 0; i < 8; ++i) {
    const QString text = QString::fromUtf8(kCaptions[i]);
    const bool win = i == 7;
    out.push_back({QString::number(183 + i), "banners", kBannerSize,
                   [=](QPainter& p) { DrawBanner(p, text, win); }});
  }
}

}  // namespace tallow::art
