#include "preview.h"

#include <QHash>

namespace tallow::art {
namespace {

class Board {
 public:
  explicit Board(const Catalogue& catalogue) {
    for (const Picture& p : catalogue) pictures_.insert(p.key, &p);
    image_ = Render(*pictures_.value("background"));
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
  }
  // Draws picture `key` at (x, y), stretched to w x h when given.
  void Put(const QString& key, double x, double y, double w = 0, double h = 0) {
    const Picture* pic = pictures_.value(key);
    if (!pic) return;
    const QImage img = Render(*pic);
    painter_.drawImage(QRectF(x, y, w > 0 ? w : img.width(), h > 0 ? h : img.height()), img);
  }
  void Put(int id, double x, double y, double w = 0, double h = 0) {
    Put(QString::number(id), x, y, w, h);
  }
  QImage Finish() {
    painter_.end();
    return image_;
  }

 private:
  QHash<QString, const Picture*> pictures_;
  QImage image_;
  QPainter painter_;
};

int Tile(int group, int suit, int rank) {
  return 201 + 36 * group + 9 * suit + rank - 1;
}

}  // namespace

QImage TablePreview(const Catalogue& catalogue) {
  Board b(catalogue);
  // the wall: the lower tile of a stack first, the upper one over it
  for (int k = 14; k >= 0; --k) {
    b.Put(Tile(0, 0, 9), 750 - 36 * k, 476 + 22, 36, 50);
    b.Put(Tile(0, 0, 9), 750 - 36 * k, 476, 36, 50);
    b.Put(Tile(2, 0, 9), 312 + 30 * k, 192 + 16, 30, 36);
    b.Put(Tile(2, 0, 9), 312 + 30 * k, 192, 30, 36);
  }
  for (int k = 14; k >= 0; --k) {
    b.Put(Tile(1, 0, 9), 174 + 4 * k, 440 - 15 * k + 20, 48, 35);
    b.Put(Tile(1, 0, 9), 174 + 4 * k, 440 - 15 * k, 48, 35);
  }
  for (int k = 0; k < 15; ++k) {
    b.Put(Tile(3, 0, 9), 761 + 4 * k, 229 + 15 * k + 20, 48, 35);
    b.Put(Tile(3, 0, 9), 761 + 4 * k, 229 + 15 * k, 48, 35);
  }
  // the local hand and the other seats' concealed tiles
  const int hand[13][2] = {{3, 1}, {3, 2}, {3, 3}, {2, 5}, {2, 5}, {2, 7}, {2, 8},
                           {1, 1}, {1, 4}, {1, 9}, {0, 1}, {0, 5}, {0, 6}};
  for (int i = 0; i < 13; ++i) b.Put(Tile(4, hand[i][0], hand[i][1]), 19 + 45 * i, 564, 45, 70);
  for (int i = 0; i < 13; ++i) b.Put(Tile(2, 0, 8), 842 - 30 * i, 122, 30, 36);
  for (int i = 0; i < 13; ++i) b.Put(Tile(1, 0, 8), 163 - 40, 192 + 24 * i, 48, 35);
  for (int i = 12; i >= 0; --i) b.Put(Tile(3, 0, 8), 942 - 10, 560 - 24 * i, 48, 35);
  // discards of every seat and a meld on the left
  for (int i = 0; i < 6; ++i) {
    b.Put(Tile(0, 1 + i % 3, 2 + i), 358 + 36 * i, 438 - 20, 36, 50);
    b.Put(Tile(2, 1 + (i + 1) % 3, 9 - i), 635 - 30 * i, 238, 30, 36);
    b.Put(Tile(1, 1 + (i + 2) % 3, 1 + i), 287, 238 + 28 * i, 48, 35);
    b.Put(Tile(3, i % 4, 1 + i), 758 - 48, 438 - 28 * i, 48, 35);
  }
  for (int i = 0; i < 3; ++i) b.Put(Tile(1, 0, 5 + i), 230, 500 + 28 * i, 48, 35);
  // dice, claim buttons, compass
  b.Put(163, 400, 284);
  b.Put(175, 560, 284);
  for (int k = 0; k < 5; ++k) b.Put(141 + 3 * k + (k == 1 || k == 4 ? 1 : 0), 358 + 50 * k, 461);
  b.Put(126, 473, 330);
  // portraits, ready mark, dealer, speech bubble with a banner
  b.Put(191, 10, 666);
  b.Put(401, 7, 15, 70, 62);
  b.Put(195, 350, 15, 70, 62);
  b.Put(404, 693, 15, 70, 62);
  b.Put("ready", 460, 88);
  b.Put("dealer", 6, 192);
  b.Put("speak0", 80, 15);
  b.Put(184, 80 + 180 * 0.17, 15 + 19);
  b.Put(419, 63, 90);
  // the wild tile, the timer, the toolbar, the location strip and the emblem
  b.Put("joker_frame", 870, 100);
  b.Put(Tile(4, 3, 5), 890, 159, 36, 56);
  b.Put("time_plate", 870, 220);
  b.Put(101, 573, 730, 50, 30);
  const int toolbar[8] = {103, 105, 109, 111, 113, 116, 117, 119};
  for (int i = 0; i < 8; ++i) b.Put(toolbar[i], 648 + 70 * (i % 4), i < 4 ? 699 : 731, 60, 30);
  b.Put("location_strip", 632, 654);
  b.Put("phrases_text", 640, 659);
  b.Put("phrases_voice", 640, 675);
  b.Put("emblem", 936, 680);
  return b.Finish();
}

}  // namespace tallow::art
