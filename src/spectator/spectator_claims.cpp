#include "spectator/spectator_claims.h"

#include <vector>

#include "base/pictures.h"
#include "hand/tile_rows.h"
#include "play/operation_results.h"
#include "protocol/record.h"
#include "session/client.h"

namespace tallow {
namespace {

namespace op = protocol::op;

constexpr int kStandingBack = 7;

// Entries of the watched seat's concealed run holding these values, one per value, or fewer
// when the hand lacks them.
std::vector<int> WatchedEntries(const Client& c, const std::vector<int>& values) {
  const SeatRecord& me = c.table.custom(0);
  std::vector<int> out;
  for (int v : values) {
    for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
      bool taken = false;
      for (int u : out) taken = taken || u == k;
      if (!taken && (me.mj(k).value & 0xFF) == v) {
        out.push_back(k);
        break;
      }
    }
  }
  return out;
}

// Takes the given entries out of the watched run; the rest close up from `newStart` on, in
// their order, face down.
void CloseWatchedRun(Client& c, const std::vector<int>& taken, int newStart) {
  SeatRecord& me = c.table.custom(0);
  std::vector<TileEntry> keep;
  for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
    bool out = false;
    for (int t : taken) out = out || t == k;
    if (!out) keep.push_back(me.mj(k));
  }
  me.HandStart = CheckedInt16(newStart);
  me.HandCount = static_cast<short>(keep.size());
  for (std::size_t i = 0; i < keep.size(); ++i) me.mj(newStart + static_cast<int>(i)) = keep[i];
  LayHandRow(c, 0);
  ShowWatchedHandFaceDown(c);
}

// The three entries of a set of the watched seat from MeldEnd - 2, shown face up.
void LayWatchedSet(Client& c, const std::vector<int>& used, short typ, int third, short sprite,
                   const std::array<int, 3>& faces) {
  SeatRecord& me = c.table.custom(0);
  const int m = me.MeldEnd;
  me.mj(m - 2) = me.mj(used[0]);
  me.mj(m - 1) = me.mj(used[1]);
  me.mj(m).value = static_cast<short>(third);
  me.mj(m).Sprite = sprite;
  for (int k = m - 2; k <= m; ++k) me.mj(k).typ = typ;
  SetTileSizes(c, TileSizes::Set);
  for (int k = 0; k <= 2; ++k) {
    ShowSetTile(c, 0, m - 2 + k, me.mj(m - 2 + k).Sprite,
                TableTilePicture(0, faces[static_cast<std::size_t>(k)]));
  }
}

}  // namespace

void ShowWatchedHandFaceDown(Client& c) {
  const SeatRecord& me = c.table.custom(0);
  for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
    SetTileSprite(c, me.mj(k).Sprite, kStandingBack);
  }
}

void TakeBackClaimedDiscard(Client& c) {
  auto& t = c.table;
  auto& hs = c.hand;
  if (!hs.DiscardPooled || t.LastDiscardSprite < 0 || t.LastTile < 1) return;
  SeatRecord& d = t.custom(t.LastDiscarderRel);
  d.DiscardX = hs.LastPoolX;
  d.DiscardY = hs.LastPoolY;
  if (t.LastDiscarderRel == 3 && hs.RightPoolCount > 0) --hs.RightPoolCount;
  hs.DiscardPooled = false;
}

void SpectatorChowOrPung(Client& c, int rel, int operation, const std::array<int, 3>& tiles) {
  TakeBackClaimedDiscard(c);
  if (rel != 0) return ChowOrPungByOther(c, rel, operation, tiles);
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  const bool chow = operation == op::kChow;
  const std::vector<int> used = WatchedEntries(
      c, chow ? std::vector<int>{tiles[0], tiles[1]} : std::vector<int>{tiles[2], tiles[2]});
  if (used.size() != 2) return;
  const int third = chow ? t.LastTile : tiles[2];
  std::array<int, 3> faces = tiles;
  if (chow) faces = {me.mj(used[0]).value, me.mj(used[1]).value, third};
  LayWatchedSet(c, used, chow ? 2 : 3, third, t.LastDiscardSprite, faces);
  CloseWatchedRun(c, used, me.HandStart + 3);
  me.MeldEnd = CheckedInt16(me.MeldEnd + 3);
}

void SpectatorKong(Client& c, int rel, int operation, const std::array<int, 3>& tiles) {
  const bool concealed = operation == op::kConcealedKong;
  if (!concealed) TakeBackClaimedDiscard(c);
  if (rel != 0) {
    KongByOther(c, rel, operation, tiles);
  } else {
    SeatRecord& me = c.table.custom(0);
    const std::vector<int> used = WatchedEntries(c, std::vector<int>(concealed ? 4 : 3, tiles[2]));
    if (static_cast<int>(used.size()) != (concealed ? 4 : 3)) return;
    const short fourth = concealed ? me.mj(used[3]).Sprite : c.table.LastDiscardSprite;
    const int m = me.MeldEnd;
    LayWatchedSet(c, used, concealed ? 5 : 4, tiles[2], me.mj(used[2]).Sprite,
                  {tiles[2], tiles[2], tiles[2]});
    ShowKongTop(c, 0, m - 1, fourth, TableTilePicture(0, tiles[2]));
    CloseWatchedRun(c, used, me.HandStart + 3);
    me.MeldEnd = CheckedInt16(m + 3);
  }
  c.hand.DiscardPooled = false;
}

void SpectatorOneTileKong(Client& c, int rel, int code) {
  auto& t = c.table;
  SeatRecord& s = t.custom(rel);
  SetTileSizes(c, TileSizes::Set);
  if (rel != 0) {
    if (s.HandCount < 1) return;
    const int last = s.HandStart + s.HandCount - 1;
    s.mj(s.MeldEnd - 2) = s.mj(last);
    const short sprite = s.mj(last).Sprite;
    t.LastDiscardSprite = sprite;
    t.LastTile = static_cast<short>(code);
    --s.HandCount;
    ShowOneTileKong(c, rel, sprite, code);
    LayHandRow(c, rel);
  } else {
    const std::vector<int> used = WatchedEntries(c, {code});
    if (used.empty()) return;
    ShowOneTileKong(c, 0, s.mj(used[0]).Sprite, code);
    CloseWatchedRun(c, used, s.HandStart);
  }
  c.hand.DiscardPooled = false;
}

void SpectatorWin(Client& c, int rel) {
  c.hand.WinnerRel = static_cast<short>(rel);
  // A win on a discard takes the discard out of its pool and lays it with the winner's hand.
  if (!c.table.custom(rel).DiscardDue()) TakeBackClaimedDiscard(c);
  LayDownWinner(c, rel);
}

}  // namespace tallow
