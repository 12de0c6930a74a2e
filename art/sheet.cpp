#include "sheet.h"

#include <QFontMetrics>
#include <algorithm>

#include "paint.h"

namespace tallow::art {
namespace {

constexpr int kSheetWidth = 1800;
constexpr int kGap = 8;
constexpr int kLabel = 14;

void Checkerboard(QPainter& p, const QRect& r) {
  p.fillRect(r, QColor(0xb8, 0xb8, 0xb8));
  for (int y = r.top(); y < r.bottom(); y += 8)
    for (int x = r.left() + ((y - r.top()) / 8 % 2) * 8; x < r.right(); x += 16)
      p.fillRect(QRect(x, y, 8, 8).intersected(r), QColor(0xd8, 0xd8, 0xd8));
}

}  // namespace

QImage ContactSheet(const Catalogue& catalogue, const QString& familyPrefix, int scale) {
  struct Cell {
    const Picture* picture;
    QRect at;
  };
  std::vector<Cell> cells;
  std::vector<std::pair<QString, int>> headings;  // family, y
  int x = kGap, y = kGap, rowHeight = 0;
  QString family;
  for (const Picture& pic : catalogue) {
    if (!pic.family.startsWith(familyPrefix)) continue;
    int k = scale;  // pictures too wide for the sheet are shown smaller
    while (k > 1 && pic.size.width() * k > kSheetWidth - 2 * kGap) --k;
    const QSize s = pic.size * k;
    const QString label =
        QStringLiteral("%1 %2x%3").arg(pic.key).arg(pic.size.width()).arg(pic.size.height());
    const int w = std::max(s.width(), int(QFontMetrics(ArtFont(11)).horizontalAdvance(label)) + 4);
    if (pic.family != family) {
      family = pic.family;
      y += rowHeight + (headings.empty() ? 0 : kGap * 2);
      headings.push_back({family, y});
      y += 20;
      x = kGap;
      rowHeight = 0;
    } else if (x + w > kSheetWidth - kGap) {
      y += rowHeight + kGap;
      x = kGap;
      rowHeight = 0;
    }
    cells.push_back({&pic, QRect(QPoint(x, y), s)});
    x += w + kGap;
    rowHeight = std::max(rowHeight, s.height() + kLabel);
  }
  QImage sheet(kSheetWidth, y + rowHeight + kGap, QImage::Format_RGB32);
  sheet.fill(QColor(0x40, 0x44, 0x4c));
  QPainter p(&sheet);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setFont(ArtFont(15, true));
  p.setPen(QColor(0xff, 0xe0, 0x80));
  for (const auto& [name, hy] : headings) p.drawText(kGap, hy + 15, name);
  p.setFont(ArtFont(11));
  for (const Cell& c : cells) {
    Checkerboard(p, c.at);
    p.drawImage(c.at, Render(*c.picture).scaled(c.at.size()));
    p.setPen(Qt::white);
    p.drawText(c.at.left(), c.at.bottom() + kLabel - 1,
               QStringLiteral("%1 %2x%3")
                   .arg(c.picture->key)
                   .arg(c.picture->size.width())
                   .arg(c.picture->size.height()));
  }
  return sheet;
}

}  // namespace tallow::art
