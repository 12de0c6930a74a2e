#include <QImage>
#include <algorithm>

#include "picture.h"

namespace tallow::art {

Catalogue FullCatalogue() {
  Catalogue all;
  AddToolbarButtons(all);
  AddIndicators(all);
  AddDialogButtons(all);
  AddClaimButtons(all);
  AddDice(all);
  AddBanners(all);
  AddPortraits(all);
  AddTiles(all);
  AddSmallToolbarButtons(all);
  AddCoverButtons(all);
  AddBubbles(all);
  AddTable(all);
  AddShell(all);
  // numbered pictures in id order, then the named ones as their families list them
  std::stable_sort(all.begin(), all.end(), [](const Picture& a, const Picture& b) {
    bool aNumber = false, bNumber = false;
    const int aId = a.key.toInt(&aNumber), bId = b.key.toInt(&bNumber);
    if (aNumber != bNumber) return aNumber;
    return aNumber && aId < bId;
  });
  return all;
}

QImage Render(const Picture& picture, double scale) {
  QImage image((QSizeF(picture.size) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.scale(scale, scale);
  picture.draw(p);
  p.end();
  return image;
}

}  // namespace tallow::art
