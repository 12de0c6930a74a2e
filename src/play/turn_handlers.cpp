#include "play/turn_handlers.h"

#include <string>

#include "base/general.h"
#include "base/pictures.h"
#include "base/tiles.h"
#include "hand/discards.h"
#include "hand/tile_rows.h"
#include "play/operation_panel.h"
#include "play/speech_bubble.h"
#include "play/turn_timer.h"
#include "session/client.h"
#include "sound/sound.h"
#include "sound/voice_files.h"

namespace tallow {
namespace {

constexpr double kPoolWait = 0.4;
constexpr double kDiscardWait = 0.05;
constexpr double kFaceDownWait = 1.0;
constexpr int kStandingBack = 7;
constexpr int kFollowDealer = 3;  // Value(0) of a discard that follows the dealer's first tile

// Moves the last discard into its discarder's pool when a draw follows it unclaimed; the
// local player's discard waits for the next player's draw.
void PoolLastDiscard(Client& c, int seatBit, int count) {
  auto& t = c.table;
  auto& hs = c.hand;
  if (t.DiscardClaimed != 0 || t.LastDiscardSprite < 0 || t.LastTile < 1 || hs.DiscardPooled) {
    return;
  }
  if (count == 1) SleepSeconds(c, kPoolWait);
  const int r = t.LastDiscarderRel;
  if (r == 0 && seatBit != t.custom(3).SeatBit) return;
  PoolSprite(c, r, t.LastDiscardSprite);
  hs.DiscardPooled = true;
  hs.DiscardBlinkCount = 3;
}

void DrawLocal(Client& c, int pos, int count, const std::array<short, 4>& tiles) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  auto& f = c.mainForm;
  const short w = t.TileWidth(0), h = t.TileHeight(0);
  if (count == 4) {
    for (int i = 0; i <= 3; ++i) {
      TileEntry& e = me.mj(pos);
      e.value = static_cast<short>(tiles[static_cast<std::size_t>(i)] & 0xFF);
      e.typ = 1;
      e.Sprite = t.WallHead;
      SetTileSprite(c, e.Sprite, static_cast<short>(HandTilePicture(0, e.value)));
      f.MJ_Image(e.Sprite).Move(me.HandX + pos * w, me.HandY, w, h);
      t.WallHead = static_cast<short>((t.WallHead + 1) % 120);
      ++pos;
    }
    return;
  }
  if (t.HasWildTile()) {
    // The tile drawn last stood apart; the hand closes up before the new one arrives.
    if (t.WallHeadDraw == 0) SortHand(c, 0, me.HandCount - 1);
    for (int k = me.HandStart; k < pos; ++k) {
      const short s = me.mj(k).Sprite;
      if (s >= 0) f.MJ_Image(s).Left = me.HandX + k * w;
    }
  }
  TileEntry& e = me.mj(pos);
  e.value = static_cast<short>(tiles[3] & 0xFF);
  e.typ = 1;
  e.Sprite = TakeDrawSprite(c);
  SetTileSprite(c, e.Sprite, static_cast<short>(HandTilePicture(0, e.value)));
  auto& m = f.MJ_Image(e.Sprite);
  m.Move(me.HandX + pos * w, me.HandY, w, h);
  if (t.HasWildTile()) m.Left += w / 2.0;
  if (t.WildTile < 0 && (me.HandCount == 14 || (me.HandCount == 13 && me.IsDealer == 0))) {
    // A complete hand of a hand without a wild-tile message (still -1 from the reset) is shown
    // face down for a moment, then sorted face up.
    for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
      SetTileSprite(c, me.mj(k).Sprite, kStandingBack);
    }
    SleepSeconds(c, kFaceDownWait);
    SortHand(c, 0, me.HandCount);
  }
}

void DrawOther(Client& c, int rel, int pos, int count) {
  auto& t = c.table;
  SeatRecord& s = t.custom(rel);
  for (int i = 0; i < count; ++i) {
    TileEntry& e = s.mj(pos + i);
    e.typ = 1;
    if (count == 4) {
      e.Sprite = t.WallHead;
      t.WallHead = static_cast<short>((t.WallHead + 1) % 120);
    } else {
      e.Sprite = TakeDrawSprite(c);
    }
    SetTileSprite(c, e.Sprite, static_cast<short>(36 * rel + kStandingBack));
    PlaceSprite(c, e.Sprite, rel, HandTileSpot(c, rel, pos + i));
    StackHandTile(c, e.Sprite, rel);
  }
  if (rel == 1) {
    // The left seat's wild-tile kongs lie over its growing hand row.
    const int n = s.WildKongCount;
    for (int k = 4; k <= 3 + n && k <= 7; ++k) {
      const short sprite = c.hand.OneTileKongSprites(1)(k);
      if (IsSprite(sprite)) c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Front);
    }
  }
}

// A discard the server made for the local seat (it stopped answering): the tile leaves the
// hand as if it had been thrown here, so the hand stays the server's.
void DiscardMadeByServer(Client& c, int tile) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  if (me.HandCount % 3 != 2) return;  // the client's own discard already left the hand
  int found = -1;
  for (int k = me.HandStart + me.HandCount - 1; k >= me.HandStart; --k) {
    if ((me.mj(k).value & 0xFF) == tile) {
      found = k;
      break;
    }
  }
  if (found < 0) return;
  const short sprite = me.mj(found).Sprite;
  t.MustDiscard = 0;
  t.ActionSent = -1;
  StopTurnTimer(c);
  ClosePanel(c);
  SetLocalTileSize(c, TileSizes::Pool);
  if (IsSprite(sprite)) {
    SetTileSprite(c, sprite, static_cast<short>(TableTilePicture(0, tile)));
    ShowInTableMiddle(c, sprite, t.TileWidth(0), t.TileHeight(0));
  }
  t.LastDiscardSprite = sprite;
  SetLocalTileSize(c, TileSizes::Hand);
  const int last = me.HandStart + me.HandCount - 1;
  for (int k = found; k < last; ++k) me.mj(k) = me.mj(k + 1);
  me.mj(last) = TileEntry{};
  --me.HandCount;
  SortHand(c, 0, me.HandCount);
  LayHandRow(c, 0);
}

}  // namespace

short TakeDrawSprite(Client& c) {
  auto& t = c.table;
  short sprite = 0;
  if (t.WallHeadDraw != 0) {
    if (t.WallTail == t.WallHead) t.WallTail = StepWallTail(t.WallTail);
    sprite = t.WallHead;
    t.WallHead = static_cast<short>((t.WallHead + 1) % 120);
    if (t.WallTail % 2 == 1 && t.WallHead + 1 == t.WallTail) t.WallHead = t.WallTail;
  } else {
    if (t.WallHead == t.WallTail) t.WallHead = static_cast<short>((t.WallHead + 1) % 120);
    sprite = t.WallTail;
    t.WallTail = StepWallTail(t.WallTail);
    if (t.WallTail == (t.WallHead + 119) % 120) t.WallTail = t.WallHead;
  }
  return sprite;
}

void HandleDraw(Client& c, int seatBit, int count, const std::array<short, 4>& tiles) {
  auto& t = c.table;
  PoolLastDiscard(c, seatBit, count);
  t.DiscardClaimed = 0;
  const int rel = RelativeSeat(t.custom(0).SeatBit, seatBit);
  SetTileSizes(c, TileSizes::Hand);
  SeatRecord& s = t.custom(rel);
  const int pos = s.HandStart + s.HandCount;
  s.HandCount = CheckedInt16(s.HandCount + count);
  if (rel == 0) {
    DrawLocal(c, pos, count, tiles);
  } else {
    DrawOther(c, rel, pos, count);
  }
  t.WallHeadDraw = -1;
}

void HandleDiscard(Client& c, int seatBit, int tile) {
  auto& t = c.table;
  t.LastTile = static_cast<short>(tile);
  if (tile == 0) return;
  SleepSeconds(c, kDiscardWait);
  const int r = RelativeSeat(t.custom(0).SeatBit, seatBit);
  PlayVoice(c, r, sound::TileVoiceEnding(tile));
  t.LastDiscarderRel = static_cast<std::uint8_t>(r);
  c.hand.DiscardPooled = false;
  // The local discard is already in the middle of the table (the click or the timeout put it
  // there) unless the server discarded for this seat while it did not answer.
  if (r == 0) {
    DiscardMadeByServer(c, tile);
    return;
  }
  SeatRecord& s = t.custom(r);
  if (s.HandCount <= 0) return;
  SetTileSizes(c, TileSizes::Pool);
  const short sprite = s.mj(s.HandStart + s.HandCount - 1).Sprite;
  t.LastDiscardSprite = sprite;
  SetTileSprite(c, sprite, static_cast<short>(TableTilePicture(r, tile)));
  ShowInTableMiddle(c, sprite, t.TileWidth(r), t.TileHeight(r));
  if (IsSprite(sprite)) c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Front);
  --s.HandCount;
}

void BeforeTurnMessage(Client& c, int type, protocol::Header& h) {
  switch (type) {
    case 1:
      c.table.DiscardClaimed = 0;
      PlayTableSound(c, kDealSound);
      break;
    case 2:
      PlayTableSound(c, kDiscardSound);
      h.SeatMask &= 0x0F;
      break;
    case 5:
      c.scheduler.Disable(TickScheduler::kContinue);
      break;
    default:
      break;
  }
}

void OnDealTiles(Client& c, const protocol::Header& h) {
  std::array<short, 4> tiles{};
  for (std::size_t i = 0; i < 4; ++i) tiles[i] = static_cast<short>(h.Value[i] & 0xFF);
  HandleDraw(c, h.SeatMask & 0x0F, 4, tiles);
}

void OnTileDrawn(Client& c, const protocol::Header& h) {
  std::array<short, 4> tiles{};
  tiles[3] = static_cast<short>(h.Value[3] & 0xFF);
  HandleDraw(c, h.SeatMask & 0x0F, 1, tiles);
}

void OnTileDiscarded(Client& c, const protocol::Header& h) {
  const int seat = h.SeatMask & 0x0F;
  const int tile = h.Value[3] & 0xFF;
  HandleDiscard(c, seat, tile);
  if (h.Value[0] == kFollowDealer) {
    const int r = RelativeSeat(c.table.custom(0).SeatBit, seat);
    if (r >= 1) ShowFollowBubble(c, r);
  }
  const int suit = BitPosition(static_cast<std::uint8_t>(tile::Suit(tile)));
  if (suit > 0) {
    short& seen = c.table.SeenCount(suit)(tile::Rank(tile) - 1);
    seen = CheckedInt16(seen + 1);
  }
}

}  // namespace tallow
