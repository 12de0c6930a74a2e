#include "hand/tile_rows.h"

#include "base/pictures.h"
#include "base/tiles.h"
#include "session/client.h"

namespace tallow {
namespace {

struct Size {
  short w, h;
};
// Unscaled sizes by relative seat.
constexpr Size kHand[] = {{48, 78}, {35, 66}, {36, 50}, {35, 66}};
constexpr Size kPool[] = {{36, 50}, {48, 35}, {30, 36}, {48, 35}};
constexpr Size kSet[] = {{45, 60}, {45, 35}, {34, 40}, {45, 35}};

const Size* Table(TileSizes sizes) {
  switch (sizes) {
    case TileSizes::Hand:
      return kHand;
    case TileSizes::Pool:
      return kPool;
    default:
      return kSet;
  }
}

constexpr int kStandingBack = 7;

// Where a seat's set row starts, in steps along its row: the local row leaves room for the
// one-tile kongs beside the hand, the right-hand row starts one step lower so that four sets
// still end below its hand.
int SetRowStep(int rel, int k) {
  if (rel == 0) return k + 3;
  if (rel == 3) return k + 1;
  return k + 2;
}

}  // namespace

void SetTileSizes(Client& c, TileSizes sizes) {
  const Size* t = Table(sizes);
  for (int s = 0; s <= 3; ++s) {
    c.table.TileWidth(s) = ScaledInt(t[s].w, c.layout.ScaleX);
    c.table.TileHeight(s) = ScaledInt(t[s].h, c.layout.ScaleY);
  }
}

void SetLocalTileSize(Client& c, TileSizes sizes) {
  const Size* t = Table(sizes);
  c.table.TileWidth(0) = ScaledInt(t[0].w, c.layout.ScaleX);
  c.table.TileHeight(0) = ScaledInt(t[0].h, c.layout.ScaleY);
}

// The steps between tiles of a row are scaled with the table, like the tiles themselves.
Spot HandTileSpot(const Client& c, int rel, int k) {
  const SeatRecord& s = c.table.custom(rel);
  const double w = c.table.TileWidth(rel);
  const double slant = 5 * c.layout.ScaleX;
  switch (rel) {
    case 0:
      return {s.HandX + k * w, static_cast<double>(s.HandY)};
    case 1:
      return {s.HandX - slant * k, s.HandY + k * w / 2};
    case 2:
      return {s.HandX - k * w, static_cast<double>(s.HandY)};
    default:
      return {s.HandX - slant * (k + 1), s.HandY - (k + 1) * w / 2};
  }
}

Spot SetTileSpot(const Client& c, int rel, int k) {
  const SeatRecord& s = c.table.custom(rel);
  const double sx = c.layout.ScaleX, sy = c.layout.ScaleY;
  const double w = c.table.TileWidth(rel), h = c.table.TileHeight(rel);
  const int m = SetRowStep(rel, k);
  switch (rel) {
    case 0:
      return {s.HandX + (w - 2 * sx) * (m - 2), static_cast<double>(s.HandY)};
    case 1:
      return {s.HandX - 5 * sx * (m - 2), s.HandY + (h - 17 * sy) * (m - 2)};
    case 2:
      return {s.HandX - w * (m - 2), static_cast<double>(s.HandY)};
    default:
      return {s.HandX - 5 * sx * m, s.HandY - (h - 17 * sy) * (m - 2)};
  }
}

Spot KongTopSpot(const Client& c, int rel, int k) {
  constexpr double kLift = 17, kSideLift = 6;
  Spot at = SetTileSpot(c, rel, k);
  at.top -= (rel == 1 || rel == 3 ? kSideLift : kLift) * c.layout.ScaleY;
  return at;
}

Spot OneTileKongSpot(const Client& c, int rel, bool red, int n) {
  const SeatRecord& s = c.table.custom(rel);
  const double sx = c.layout.ScaleX, sy = c.layout.ScaleY;
  const double w = c.table.TileWidth(rel);
  // Red dragons pile up from the row's anchor, 18 pixels a tile; wild tiles pile beside them,
  // or, where the sets or the other rows leave no room beside, above the red pile.
  const double redTop = s.HandY - 18 * sy * n;
  const double pileTop = s.HandY - 18 * sy * (4 + n);
  switch (rel) {
    case 0:
      return {static_cast<double>(s.HandX), red ? redTop : pileTop};
    case 1:
      return red ? Spot{static_cast<double>(s.HandX), redTop} : Spot{s.HandX - w - 2 * sx, redTop};
    case 2:
      return red ? Spot{static_cast<double>(s.HandX), redTop} : Spot{s.HandX - w, redTop};
    default:
      return {s.HandX + w - 8 * sx, red ? redTop : pileTop};
  }
}

void PlaceSprite(Client& c, int sprite, int rel, Spot at) {
  if (!IsSprite(sprite)) return;
  c.mainForm.MJ_Image(sprite).Move(at.left, at.top, c.table.TileWidth(rel),
                                   c.table.TileHeight(rel));
}

void StackHandTile(Client& c, int sprite, int rel) {
  if (!IsSprite(sprite)) return;
  // The side rows overlap: the left row grows downwards in front, the right row upwards behind.
  if (rel == 1) c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Front);
  if (rel == 3) c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Back);
}

void StackSetTile(Client& c, int sprite, int rel) {
  if (!IsSprite(sprite)) return;
  if (rel == 0 || rel == 1) c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Front);
  if (rel == 3) c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Back);
}

void ShowSetTile(Client& c, int rel, int k, int sprite, int picture) {
  if (!IsSprite(sprite)) return;
  SetTileSprite(c, static_cast<short>(sprite), static_cast<short>(picture));
  PlaceSprite(c, sprite, rel, SetTileSpot(c, rel, k));
  StackSetTile(c, sprite, rel);
  c.mainForm.MJ_Image(sprite).Visible = true;
}

void ShowKongTop(Client& c, int rel, int k, int sprite, int picture) {
  if (!IsSprite(sprite)) return;
  SetTileSprite(c, static_cast<short>(sprite), static_cast<short>(picture));
  PlaceSprite(c, sprite, rel, KongTopSpot(c, rel, k));
  c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Front);
  c.mainForm.MJ_Image(sprite).Visible = true;
}

bool ShowLoneKongTile(Client& c, int rel, int sprite, int code) {
  if (!IsSprite(sprite)) return false;
  SeatRecord& s = c.table.custom(rel);
  const bool red = code == tile::kRedDragon;
  short& count = red ? s.RedKongCount : s.WildKongCount;
  if (count > 3) return false;
  c.hand.OneTileKongSprites(rel)((red ? 0 : 4) + count) = static_cast<short>(sprite);
  SetTileSprite(c, static_cast<short>(sprite), static_cast<short>(TableTilePicture(rel, code)));
  PlaceSprite(c, sprite, rel, OneTileKongSpot(c, rel, red, count));
  c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Front);
  c.mainForm.MJ_Image(sprite).Visible = true;
  ++count;
  return true;
}

void LayHandRow(Client& c, int rel) {
  SeatRecord& s = c.table.custom(rel);
  SetTileSizes(c, TileSizes::Hand);
  for (int k = s.HandStart; k < s.HandStart + s.HandCount; ++k) {
    const int sprite = s.mj(k).Sprite;
    PlaceSprite(c, sprite, rel, HandTileSpot(c, rel, k));
    StackHandTile(c, sprite, rel);
  }
}

int HandTilePicture(int rel, int code) {
  if (rel == 0) return TilePictureIndex(4, code);
  if (tile::Rank(code) == 0) return 36 * rel + kStandingBack;
  return TilePictureIndex(rel, code);
}

int TableTilePicture(int rel, int code) {
  return TilePictureIndex(rel, code);
}

void SortHand(Client& c, int seat, int count) {
  SeatRecord& s = c.table.custom(seat);
  if (count <= 0) return;
  const std::uint32_t changed = SortHandValues(s, count);
  const bool onlyChanged = seat == 0 && c.table.HasWildTile();
  for (int i = 0; i < count; ++i) {
    if (onlyChanged && (changed & (1u << i)) == 0) continue;
    const TileEntry& e = s.mj(s.HandStart + i);
    // Another seat's tiles are unknown (0) until revealed: they keep the seat's tile back.
    SetTileSprite(c, e.Sprite, static_cast<short>(HandTilePicture(seat, e.value)));
  }
}

}  // namespace tallow
