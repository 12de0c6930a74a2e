#include "hand/table_restore.h"

#include <algorithm>

#include "base/general.h"
#include "base/pictures.h"
#include "base/tiles.h"
#include "hand/discards.h"
#include "hand/hand_start.h"
#include "hand/tile_rows.h"
#include "session/client.h"

namespace tallow {
namespace {

constexpr int kFirstPair = 16;
constexpr int kPairs = 24;
constexpr int kMostConcealed = 14;
constexpr int kStandingBack = 7;
constexpr int kWallBack = 8;

bool IsSeatBit(int b) {
  return b == 1 || b == 2 || b == 4 || b == 8;
}

// Wall position (counted from the hand's start) of the k-th replacement draw from the tail: the
// stack before the start, upper tile first.
int TailPosition(int k) {
  return 118 - 2 * (k / 2) + k % 2;
}

// The number of replacement draws a snapshot's tail value stands for: 119 - t for an even count,
// 125 - t (modulo 120) for an odd one.
int TailDraws(const HandState& hs) {
  const int v = FloorMod(hs.SnapshotMinDrawn, 120);
  const int t = v % 2 == 1 ? 119 - v : (125 - v) % 120;
  return std::clamp(t, 0, 120 - std::clamp<int>(hs.SnapshotMaxDrawn, 0, 120));
}

// The restore hands out exactly the sprites of the tiles that have left the wall: those drawn
// from the head, then those drawn from the tail. -1 once they are used up.
int NextSprite(Client& c) {
  auto& hs = c.hand;
  const int drawn = std::clamp<int>(hs.SnapshotMaxDrawn, 0, 120);
  const int i = hs.SnapshotSprites;
  int pos = -1;
  if (i < drawn) {
    pos = i;
  } else if (i - drawn < TailDraws(hs) && TailPosition(i - drawn) >= drawn) {
    pos = TailPosition(i - drawn);
  }
  if (pos < 0) return -1;
  ++hs.SnapshotSprites;
  return (c.table.WallHead + pos) % 120;
}

// A set of laid tiles that split into no sets may hold one or two tiles (see SplitLaidDown).
short SetTyp(const std::vector<short>& set, bool local) {
  if (set.size() == 4) return 4;
  if (set.size() >= 2 && set[0] == set[1]) return 3;
  if (!set.empty() && set[0] == tile::kRedDragon) return local ? 2 : 3;  // 中发白
  return local ? 2 : 1;
}

void LayLoneKongs(Client& c, int rel, const std::vector<short>& lone) {
  for (short code : lone) {
    const int sprite = NextSprite(c);
    if (sprite < 0) return;
    ShowLoneKongTile(c, rel, sprite, code);
  }
}

// Sets go where the turn handlers put them: three entries from MeldEnd - 2, a kong's fourth
// tile on the middle one. A set the seat record has no room for is left out.
void LaySets(Client& c, int rel, const std::vector<std::vector<short>>& sets) {
  SeatRecord& s = c.table.custom(rel);
  for (const auto& set : sets) {
    const int m = s.MeldEnd;
    if (m > 20 || s.HandStart + 3 > 20) return;
    for (std::size_t j = 0; j < set.size() && j < 3; ++j) {
      const int k = m - 2 + static_cast<int>(j);
      TileEntry& e = s.mj(k);
      e.Sprite = static_cast<short>(NextSprite(c));
      e.value = set[j];
      e.typ = SetTyp(set, rel == 0);
      ShowSetTile(c, rel, k, e.Sprite, TableTilePicture(rel, set[j]));
    }
    if (set.size() == 4) ShowKongTop(c, rel, m - 1, NextSprite(c), TableTilePicture(rel, set[3]));
    s.MeldEnd = CheckedInt16(m + 3);
    s.HandStart = CheckedInt16(s.HandStart + 3);
  }
}

// Concealed tiles stand face down, the watched seat's too; a player who comes back sees his own
// hand sorted face up. Tiles past the last entry of the seat record are left out.
void LayConcealed(Client& c, int rel, const std::vector<short>& tiles) {
  SeatRecord& s = c.table.custom(rel);
  const bool ownFaces = rel == 0 && c.table.Spectating == 0;
  SetTileSizes(c, TileSizes::Hand);
  for (short code : tiles) {
    const int j = s.HandStart + s.HandCount;
    if (j > 20) break;
    const int sprite = NextSprite(c);
    if (sprite < 0) break;
    TileEntry& e = s.mj(j);
    e.Sprite = static_cast<short>(sprite);
    e.value = code;
    e.typ = 1;
    ++s.HandCount;
    SetTileSprite(
        c, e.Sprite,
        static_cast<short>(ownFaces ? HandTilePicture(0, code) : 36 * rel + kStandingBack));
    PlaceSprite(c, sprite, rel, HandTileSpot(c, rel, j));
    StackHandTile(c, sprite, rel);
    c.mainForm.MJ_Image(sprite).Visible = true;
  }
  if (ownFaces) {
    SortHand(c, 0, s.HandCount);
    LayHandRow(c, 0);
  }
  // The tiles laid beside the hand lie over its row.
  for (int n = 0; n < s.RedKongCount && n <= 3; ++n) {
    c.mainForm.MJ_Image(c.hand.OneTileKongSprites(rel)(n)).ZOrder(ui::ZPosition::Front);
  }
  for (int n = 0; n < s.WildKongCount && n <= 3; ++n) {
    c.mainForm.MJ_Image(c.hand.OneTileKongSprites(rel)(4 + n)).ZOrder(ui::ZPosition::Front);
  }
}

void RestoreSeat(Client& c, int rel) {
  const auto& msg = c.framing.CurrentMessage;
  std::vector<short> laid, concealed;
  for (int i = 0; i < kPairs; ++i) {
    const int kind = msg[static_cast<std::size_t>(kFirstPair + 2 * i)];
    const auto code = static_cast<short>(msg[static_cast<std::size_t>(kFirstPair + 2 * i + 1)]);
    if (kind >= 0x20 && kind <= 0x2F) {
      laid.push_back(code);
    } else if (kind >= 0x10 && kind <= 0x1F && concealed.size() < kMostConcealed) {
      concealed.push_back(code);
    }
  }
  // A seat holds 13 or 14 tiles less three for each set: that tells how many sets it shows.
  const int expectedSets = (kMostConcealed - static_cast<int>(concealed.size())) / 3;
  const LaidDownTiles split = SplitLaidDown(laid, c.table.WildTile, expectedSets);
  SetTileSizes(c, TileSizes::Set);
  LayLoneKongs(c, rel, split.lone);
  LaySets(c, rel, split.sets);
  LayConcealed(c, rel, concealed);
}

void ShowRemainingWall(Client& c, int start) {
  const auto& hs = c.hand;
  const int drawn = std::clamp<int>(hs.SnapshotMaxDrawn, 0, 120);
  std::array<bool, 120> taken{};
  for (int p = 0; p < drawn; ++p) taken[static_cast<std::size_t>(p)] = true;
  for (int k = 0; k < TailDraws(hs); ++k) taken[static_cast<std::size_t>(TailPosition(k))] = true;
  for (int p = 0; p < 120; ++p) {
    if (taken[static_cast<std::size_t>(p)]) continue;
    const int sprite = (start + p) % 120;
    SetTileSprite(c, static_cast<short>(sprite),
                  static_cast<short>(36 * (sprite / 30) + kWallBack));
    c.mainForm.MJ_Image(sprite).Visible = true;
  }
}

void CompleteRestore(Client& c) {
  auto& hs = c.hand;
  auto& t = c.table;
  auto& f = c.mainForm;
  hs.SeatsNamed = 0;
  hs.RestoreOpen = false;
  if (t.HasWildTile()) {
    LoadResourcePicture(c, f.JK_Image,
                        ImageId(c.images.TileImageIds(TilePictureIndex(4, t.WildTile))));
    f.JK_Image.Visible = true;
  }
  const int start = t.WallHead;
  // The tail moves by the snapshot's tail value from where the hand start put it; the sum is
  // taken modulo 120 like every other step of the wall pointers, so it wraps instead of going
  // below sprite 0.
  const int v = hs.SnapshotMinDrawn;
  t.WallTail = static_cast<short>(
      FloorMod((119 - v) % 2 == 0 ? t.WallTail + v + 1 : t.WallTail + v - 3, 120));
  ShowRemainingWall(c, start);
  RestorePools(c);
  if (TailDraws(hs) + std::clamp<int>(hs.SnapshotMaxDrawn, 0, 120) < 120) {
    ShowIndicatorTile(c, t.WallTail);
  }
  t.WallHead = static_cast<short>((start + std::clamp<int>(hs.SnapshotMaxDrawn, 0, 120)) % 120);
  // The pooled tiles are in their pools for good: no draw pools one of them again.
  t.LastTile = 0;
  hs.DiscardPooled = true;
  c.spectator.TableRestored = -1;
  // The hand is in play again (the table-cleared message had ended it): the link watch
  // reconnects after a break, and the last discard blinks.
  c.session.TableActive = -1;
  c.scheduler.Enable(TickScheduler::kBlink);
}

}  // namespace

void TableSnapshot(Client& c, const protocol::Header& h) {
  auto& hs = c.hand;
  auto& t = c.table;
  const int bit = h.SeatMask & 0x0F;
  int rel = -1;
  for (int i = 0; i <= 3 && IsSeatBit(bit); ++i) {
    if (t.custom(i).SeatBit == bit) rel = i;
  }
  // Snapshots count only after a table-cleared message, one per seat of the table.
  if (!hs.RestoreOpen || rel < 0 || (hs.SnapshotSeats & bit) != 0) return;
  hs.SnapshotSeats = static_cast<std::uint8_t>(hs.SnapshotSeats | bit);
  hs.SnapshotDiscards(rel) = h.Extra;
  hs.SeatsNamed = CheckedInt16(hs.SeatsNamed + 1);
  const auto drawn = static_cast<short>(h.Value[1] & 0xFF);
  const auto tail = static_cast<short>(h.Value[3] & 0xFF);
  if (hs.SeatsNamed == 1) {
    hs.SnapshotMaxDrawn = drawn;
    hs.SnapshotMinDrawn = tail;
  }
  hs.SnapshotMaxDrawn = std::max(hs.SnapshotMaxDrawn, drawn);
  hs.SnapshotMinDrawn = std::min(hs.SnapshotMinDrawn, tail);
  RestoreSeat(c, rel);
  if (hs.SeatsNamed == 4) CompleteRestore(c);
}

void ShowIndicatorTile(Client& c, int sprite) {
  const int code = c.table.WildIndicator;
  if (!IsSprite(sprite) || tile::Rank(code) == 0) return;
  const int side = sprite / 30;
  SetTileSprite(c, static_cast<short>(sprite), static_cast<short>(TilePictureIndex(side, code)));
  // In front even on a lower tile, which the next stack would otherwise cover.
  auto& m = c.mainForm.MJ_Image(sprite);
  m.ZOrder(ui::ZPosition::Front);
  m.Visible = true;
  c.hand.IndicatorSprite = static_cast<short>(sprite);
}

void RestorePools(Client& c) {
  auto& hs = c.hand;
  for (int s = 0; s <= 3; ++s) {
    for (int n = 0; n < hs.SnapshotDiscards(s); ++n) {
      const int sprite = NextSprite(c);
      if (sprite < 0) return;
      c.table.LastDiscardSprite = static_cast<short>(sprite);
      PoolSprite(c, s, sprite);
      SetTileSprite(c, static_cast<short>(sprite), static_cast<short>(36 * s + kWallBack));
      if (s == 1 || s == 2) c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Front);
    }
  }
}

void StartWallFromTableCleared(Client& c) {
  auto& t = c.table;
  const int v0 = c.hand.ClearedValue0, v1 = c.hand.ClearedValue1;
  for (int i = 0; i <= 3; ++i) {
    if (t.custom(i).SeatBit != c.hand.ClearedSeatMask) continue;
    t.custom(i).IsDealer = -1;
    t.WallHead = static_cast<short>(FloorMod((FloorMod(i + 13 - v0, 4) * 17 + v0 + v1) * 2, 120));
    t.WallTail = static_cast<short>((t.WallHead + 118) % 120);
    return;
  }
}

}  // namespace tallow
