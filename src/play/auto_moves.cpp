#include "play/auto_moves.h"

#include "base/pictures.h"
#include "base/tiles.h"
#include "hand/tile_rows.h"
#include "play/operation_panel.h"
#include "session/client.h"
#include "sound/sound.h"
#include "sound/voice_files.h"
#include "table/hand_evaluation.h"

namespace tallow {

namespace {

constexpr int kOffered = 2;  // OperationState of an offered button
constexpr int kChowButton = 0, kPungButton = 1, kKongButton = 2, kWinButton = 3;

// The thrown tile's sprite face up in the middle of the table, at the local pool size, behind
// everything else.
void ShowDiscardInMiddle(Client& c, short sprite, short tile) {
  if (!IsSprite(sprite)) return;
  SetTileSprite(c, sprite, static_cast<short>(TilePictureIndex(0, tile)));
  auto& img = c.mainForm.MJ_Image(sprite);
  const double w = c.table.TileWidth(0), h = c.table.TileHeight(0);
  const auto& pic = c.mainForm.Pic1;
  img.Move((pic.Width - w) / 2, (pic.Height - h) / 2, w, h);
  img.ZOrder(ui::ZPosition::Back);
}

// The first concealed index holding `tile`, or -1.
int FindConcealed(const SeatRecord& me, short tile) {
  for (int i = me.HandStart; i <= me.HandStart + me.HandCount - 1; ++i) {
    if (me.mj(i).value == tile) return i;
  }
  return -1;
}

// Shows the discard won on at the end of the local hand, upright.
void ShowWinningTile(Client& c) {
  auto& t = c.table;
  const SeatRecord& me = t.custom(0);
  const short sprite = t.LastDiscardSprite;
  if (!IsSprite(sprite) || me.HandCount <= 0) return;
  const short last = me.mj(me.HandStart + me.HandCount - 1).Sprite;
  auto& img = c.mainForm.MJ_Image(sprite);
  img.Height = t.TileHeight(0);
  img.Width = t.TileWidth(0);
  img.Top = me.HandY;
  if (IsSprite(last)) img.Left = c.mainForm.MJ_Image(last).Left + t.TileWidth(0);
  SetTileSprite(c, sprite, static_cast<short>(TilePictureIndex(0, t.LastTile)));
}

bool TakeWin(Client& c) {
  auto& t = c.table;
  if (t.OperationState(kWinButton) != kOffered || t.ActionSent != 0) return false;
  t.ActionSent = -1;
  PlayVoice(c, 0, sound::kWinEnding);
  SetLocalTileSize(c, TileSizes::Hand);
  if (!t.custom(0).DiscardDue()) ShowWinningTile(c);
  SendWin(c);
  return true;
}

bool TakeKong(Client& c) {
  auto& t = c.table;
  if (t.OperationState(kKongButton) != kOffered || t.ActionSent != 0) return false;
  if (AutoKongSearch(c) || !HandNearlyComplete(c)) return false;
  t.ActionSent = -1;
  if ((t.OperationFlags & protocol::op::kConcealedKong) != 0) {
    SortHand(c, 0, t.custom(0).HandCount);
  }
  ChooseKong(c);
  if (t.KongCount > 0) return true;
  // The panel's search lays down no lone red dragon: nothing went out, so the turn goes on
  // with the pass and the discard instead of waiting for ever.
  t.ActionSent = 0;
  return false;
}

bool TakePung(Client& c) {
  auto& t = c.table;
  if (t.OperationState(kPungButton) != kOffered || t.ActionSent != 0) return false;
  if (!ShouldClaim(c, 2, t.LastTile)) return false;
  t.ActionSent = -1;
  PlayVoice(c, 0, sound::kPungEnding);
  SendPung(c, c.evaluation.ClaimFirst);
  return true;
}

bool TakeChow(Client& c) {
  auto& t = c.table;
  if (t.OperationState(kChowButton) != kOffered || t.ActionSent != 0) return false;
  if (!ShouldClaim(c, 1, t.LastTile)) return false;
  t.ActionSent = -1;
  PlayVoice(c, 0, sound::kChowEnding);
  const auto& e = c.evaluation;
  t.ChowOptions(0) = e.ClaimFirst;
  t.ChowOptions(1) = e.ClaimSecond;
  SendChow(c, e.ClaimFirst, e.ClaimSecond);
  return true;
}

// The robot's discard: the tile ChooseDiscard picks leaves the hand, which closes up and is
// sorted again.
void RobotDiscard(Client& c) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  short tile = ChooseDiscard(c);
  int i = FindConcealed(me, tile);
  if (i < 0) {
    i = me.HandStart + me.HandCount - 1;
    tile = me.mj(i).value;
  }
  t.LastDiscardSprite = me.mj(i).Sprite;
  SendDiscard(c, tile);
  t.LastDiscarderRel = 0;
  SetLocalTileSize(c, TileSizes::Pool);
  ShowDiscardInMiddle(c, t.LastDiscardSprite, tile);
  SetLocalTileSize(c, TileSizes::Hand);
  for (int k = i; k <= me.HandStart + me.HandCount - 2; ++k) {
    me.mj(k) = me.mj(k + 1);
    const short sprite = me.mj(k).Sprite;
    if (!IsSprite(sprite)) continue;
    auto& img = c.mainForm.MJ_Image(sprite);
    img.Left = me.HandX + static_cast<double>(k) * t.TileWidth(0);
    img.Top = me.HandY;
  }
  SortHand(c, 0, me.HandCount - 1);
  me.HandCount = static_cast<short>(me.HandCount - 1);
}

// Adds mj index i to the robot's kong options; a full list takes no more.
void AddKongOption(Client& c, int& n, int i) {
  auto& t = c.table;
  if (n <= t.KongOptions.kUpper) t.KongOptions(n) = static_cast<short>(i);
  ++n;
}

}  // namespace

void TimeoutMove(Client& c) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  ClosePanel(c);
  if (t.ActionSent == 0) SendPass(c);
  if (!me.DiscardDue()) return;
  t.MustDiscard = 0;
  SetLocalTileSize(c, TileSizes::Pool);
  const int e = me.HandStart + me.HandCount - 1;
  const short tile = me.mj(e).value;
  SendDiscard(c, tile);
  t.LastDiscardSprite = me.mj(e).Sprite;
  t.LastDiscarderRel = 0;
  ShowDiscardInMiddle(c, t.LastDiscardSprite, tile);
  if (IsSprite(t.LastDiscardSprite)) c.mainForm.MJ_Image(t.LastDiscardSprite).Visible = true;
  me.HandCount = static_cast<short>(me.HandCount - 1);
}

void AutoPlayTurn(Client& c) {
  auto& t = c.table;
  ClosePanel(c);
  // Each step runs only while nothing was sent; a claim taken ends the turn.
  const bool acted = TakeWin(c) || TakeKong(c) || TakePung(c) || TakeChow(c);
  if (t.ActionSent == 0) SendPass(c);
  if (t.custom(0).DiscardDue() && !acted) RobotDiscard(c);
}

bool AutoKongSearch(Client& c) {
  auto& t = c.table;
  const SeatRecord& me = t.custom(0);
  const int first = me.HandStart, last = me.HandStart + me.HandCount - 1;
  if (me.HandCount < 6) return false;
  const bool wild = t.HasWildTile();
  int w = 0;
  for (int i = first; i <= last; ++i) {
    if (wild && me.mj(i).value == t.WildTile) ++w;
  }
  int n = 0;
  const int flags = t.OperationFlags;
  if ((flags & protocol::op::kOneTileKong) != 0) {
    if (const int i = FindConcealed(me, tile::kRedDragon); i >= 0) AddKongOption(c, n, i);
    // The middle entry of every set laid down: mj(2), mj(5), ... up to the last set's.
    for (int k = 2; k <= me.MeldEnd - 4; k += 3) {
      if (me.mj(k).typ != 3) continue;
      if (const int i = FindConcealed(me, me.mj(k).value); i >= 0) AddKongOption(c, n, i);
    }
  }
  // An exposed kong takes a discard: on the seat's own turn the bit only comes with the one-tile
  // kong, and LastTile is some earlier discard.
  if ((flags & protocol::op::kKong) != 0 && !me.DiscardDue()) {
    for (int i = first; i <= last - 2; ++i) {
      if (me.mj(i).value == t.LastTile && me.mj(i + 2).value == t.LastTile) {
        AddKongOption(c, n, i);
        break;
      }
    }
  }
  if ((flags & protocol::op::kConcealedKong) != 0) {
    for (int i = first; i <= last - 3; ++i) {
      if (me.mj(i).value == me.mj(i + 3).value) AddKongOption(c, n, i);
    }
  }
  if ((flags & protocol::op::kOneTileKong) != 0 && wild) {
    if (const int i = FindConcealed(me, t.WildTile); i >= 0) {
      const bool firstOption = n == 0;
      AddKongOption(c, n, i);
      if (firstOption && w < 2) return true;
    }
  }
  return false;
}

}  // namespace tallow
