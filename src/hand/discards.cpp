#include "hand/discards.h"

#include <cmath>

#include "base/tiles.h"
#include "hand/tile_rows.h"
#include "session/client.h"

namespace tallow {
namespace {

constexpr int kRowLength = 8;

short Round16(double v) {
  return CheckedInt16(std::lrint(v));
}

// Integer division of two values rounded to integers first; a zero divisor never starts a row.
long RowsOf(double a, double b) {
  const long d = std::lrint(b);
  if (d == 0) return 0;
  return std::lrint(a) / d;
}

}  // namespace

void PoolSprite(Client& c, int rel, int sprite) {
  if (!IsSprite(sprite)) return;
  auto& t = c.table;
  auto& hs = c.hand;
  SeatRecord& s = t.custom(rel);
  const double sx = c.layout.ScaleX, sy = c.layout.ScaleY;
  SetTileSizes(c, TileSizes::Pool);
  const short w = t.TileWidth(rel), h = t.TileHeight(rel);
  auto& m = c.mainForm.MJ_Image(sprite);
  m.Move(s.DiscardX, s.DiscardY, w, h);
  m.Visible = true;
  hs.LastPoolX = s.DiscardX;
  hs.LastPoolY = s.DiscardY;
  switch (rel) {
    case 0:
      m.ZOrder(ui::ZPosition::Back);
      s.DiscardX = CheckedInt16(s.DiscardX + w);
      if ((s.DiscardX - s.DiscardRowX) / w == kRowLength) {
        s.DiscardX = s.DiscardRowX;
        s.DiscardY = Round16(s.DiscardY - h + 18 * sy);
      }
      break;
    case 1: {
      m.ZOrder(ui::ZPosition::Front);
      const double step = h - 17 * sy;
      s.DiscardY = Round16(s.DiscardY + step);
      s.DiscardX = CheckedInt16(s.DiscardX - 5);
      if (RowsOf(s.DiscardY - s.DiscardRowY, step) == kRowLength) {
        s.DiscardY = s.DiscardRowY;
        s.DiscardX = Round16(s.DiscardX + 40 + w - 5 * sx);
      }
      break;
    }
    case 2:
      m.ZOrder(ui::ZPosition::Front);
      s.DiscardX = CheckedInt16(s.DiscardX - w);
      if ((s.DiscardRowX - s.DiscardX) / w == kRowLength) {
        s.DiscardX = s.DiscardRowX;
        s.DiscardY = Round16(s.DiscardY + h - 14 * sy);
      }
      break;
    default: {
      m.ZOrder(ui::ZPosition::Back);
      const double step = h - 17 * sy;
      s.DiscardY = Round16(s.DiscardY - step);
      s.DiscardX = CheckedInt16(s.DiscardX - 5);
      if (RowsOf(s.DiscardRowY - s.DiscardY, step) == kRowLength) {
        s.DiscardY = s.DiscardRowY;
        s.DiscardX = CheckedInt16(s.DiscardX + 40 - w);
      }
      // The list holds three rows; a pool that somehow grows past them is no longer restacked.
      if (hs.RightPoolCount <= 23) {
        hs.RightPool(hs.RightPoolCount) = static_cast<short>(sprite);
        ++hs.RightPoolCount;
        RestackRightPool(c);
      }
      break;
    }
  }
}

void RestackRightPool(Client& c) {
  auto& hs = c.hand;
  const int n = hs.RightPoolCount;
  auto front = [&](int k) { c.mainForm.MJ_Image(hs.RightPool(k)).ZOrder(ui::ZPosition::Front); };
  if (n <= 8) return;
  if (n <= 16) {
    for (int k = n - 1; k >= 8; --k) front(k);
    return;
  }
  for (int k = 15; k >= 8; --k) front(k);
  for (int k = n - 1; k >= 16; --k) front(k);
}

void BlinkLastDiscard(Client& c) {
  auto& hs = c.hand;
  const short last = c.table.LastDiscardSprite;
  auto& f = c.mainForm;
  if (hs.DiscardBlinkCount > 0) {
    --hs.DiscardBlinkCount;
    if (hs.BlinkSprite >= 0 && hs.BlinkSprite != last) f.MJ_Image(hs.BlinkSprite).Visible = true;
    if (last >= 0) f.MJ_Image(last).Visible = !f.MJ_Image(last).Visible;
    hs.BlinkSprite = last;
  } else {
    // The blink is over. The last discard may have changed while it ran (a claim took the
    // blinking tile and its taker discarded): the sprite it toggled last is shown for good too.
    if (hs.BlinkSprite >= 0 && hs.BlinkSprite != last) f.MJ_Image(hs.BlinkSprite).Visible = true;
    if (last >= 0) f.MJ_Image(last).Visible = true;
  }
}

void ShowInTableMiddle(Client& c, int sprite, double w, double h) {
  if (!IsSprite(sprite)) return;
  const auto& pic = c.mainForm.Pic1;
  c.mainForm.MJ_Image(sprite).Move((pic.Width - w) / 2, (pic.Height - h) / 2, w, h);
}

}  // namespace tallow
