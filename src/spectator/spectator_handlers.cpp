#include "spectator/spectator_handlers.h"

#include "base/general.h"
#include "base/pictures.h"
#include "base/tiles.h"
#include "hand/discards.h"
#include "hand/tile_rows.h"
#include "play/operation_results.h"
#include "play/speech_bubble.h"
#include "play/turn_handlers.h"
#include "session/client.h"
#include "sound/sound.h"
#include "sound/voice_files.h"
#include "spectator/spectator_claims.h"

namespace tallow {
namespace {

namespace op = protocol::op;

constexpr int kStandingBack = 7;
constexpr double kDiscardShown = 1.0;  // seconds a discard stays in the middle
constexpr double kClaimShown = 2.0;    // seconds after a claim's voice

bool Restored(const Client& c) {
  return c.spectator.TableRestored != 0;
}

// Before the table is complete the handlers keep the records only: whatever they moved is
// hidden again, so nothing of an incomplete table shows.
void HideUnlessRestored(Client& c) {
  if (Restored(c)) return;
  for (int i = 0; i <= 119; ++i) c.mainForm.MJ_Image(i).Visible = false;
}

void Show(Client& c, int sprite) {
  if (IsSprite(sprite)) c.mainForm.MJ_Image(sprite).Visible = true;
}

struct Announcement {
  int banner;  // BannerImageIds index
  const char* voice;
};

// Every claim is announced to a spectator, the one-tile kongs of 中 and of the wild tile too.
Announcement AnnouncementOf(const Client& c, int operation, int tile) {
  switch (operation) {
    case op::kChow:
      return {0, "01.wav"};
    case op::kPung:
      return {1, "02.wav"};
    case op::kKong:
      return {2, "03.wav"};
    case op::kConcealedKong:
      return {3, "03.wav"};
    case op::kOneTileKong:
      if (tile == tile::kRedDragon) return {4, "04.wav"};                           // 红中杠
      if (c.table.HasWildTile() && tile == c.table.WildTile) return {5, "05.wav"};  // 混儿杠
      return {6, "03.wav"};
    default:
      return {7, "09.wav"};
  }
}

bool KnownOperation(int operation) {
  switch (operation) {
    case op::kChow:
    case op::kPung:
    case op::kKong:
    case op::kConcealedKong:
    case op::kOneTileKong:
    case op::kWin:
      return true;
    default:
      return false;
  }
}

}  // namespace

void SpectatorDraw(Client& c, int seatBit, int count, const std::array<short, 4>& tiles) {
  auto& t = c.table;
  auto& hs = c.hand;
  t.DiscardClaimed = 0;
  const int rel = RelativeSeat(t.custom(0).SeatBit, seatBit);
  SetTileSizes(c, TileSizes::Hand);
  SeatRecord& s = t.custom(rel);
  const int pos = s.HandStart + s.HandCount;
  s.HandCount = CheckedInt16(s.HandCount + count);
  for (int i = 0; i < count; ++i) {
    TileEntry& e = s.mj(pos + i);
    e.typ = 1;
    const short tile = count == 4 ? tiles[static_cast<std::size_t>(i)] : tiles[3];
    e.value = rel == 0 ? static_cast<short>(tile & 0xFF) : short{0};
    if (count == 4) {
      e.Sprite = t.WallHead;
      t.WallHead = static_cast<short>((t.WallHead + 1) % 120);
    } else {
      e.Sprite = TakeDrawSprite(c);
    }
    if (e.Sprite == hs.IndicatorSprite) hs.IndicatorSprite = -1;
    // Every hand shows tile backs, the watched one too; the watched hand is never sorted.
    SetTileSprite(c, e.Sprite, static_cast<short>(36 * rel + kStandingBack));
    PlaceSprite(c, e.Sprite, rel, HandTileSpot(c, rel, pos + i));
    StackHandTile(c, e.Sprite, rel);
    Show(c, e.Sprite);
  }
  if (rel == 0 && count == 1 && t.HasWildTile()) {
    // As in a player's hand, the tile drawn last stands apart while the others close up.
    LayHandRow(c, 0);
    c.mainForm.MJ_Image(s.mj(pos).Sprite).Left += t.TileWidth(0) / 2.0;
  }
  if (rel == 1) {
    for (int k = 0; k < s.WildKongCount && k <= 3; ++k) {
      c.mainForm.MJ_Image(hs.OneTileKongSprites(1)(4 + k)).ZOrder(ui::ZPosition::Front);
    }
  }
  if (hs.IndicatorSprite >= 0) c.mainForm.MJ_Image(hs.IndicatorSprite).ZOrder(ui::ZPosition::Front);
  t.WallHeadDraw = -1;
}

void SpectatorDiscard(Client& c, int seatBit, int tile) {
  auto& t = c.table;
  t.LastTile = static_cast<short>(tile);
  if (tile == 0) return;
  const int r = RelativeSeat(t.custom(0).SeatBit, seatBit);
  if (Restored(c)) PlayVoice(c, r, sound::TileVoiceEnding(tile));
  t.LastDiscarderRel = static_cast<std::uint8_t>(r);
  SeatRecord& s = t.custom(r);
  if (s.HandCount <= 0) return;
  const int last = s.HandStart + s.HandCount - 1;
  if (r == 0) {
    // The watched seat's tiles are known: the one thrown leaves the hand, whichever entry held
    // it, and the last entry's sprite carries it to the middle.
    for (int k = last; k >= s.HandStart; --k) {
      if ((s.mj(k).value & 0xFF) != tile) continue;
      std::swap(s.mj(k).value, s.mj(last).value);
      break;
    }
  }
  const short sprite = s.mj(last).Sprite;
  t.LastDiscardSprite = sprite;
  SetTileSizes(c, TileSizes::Pool);
  SetTileSprite(c, sprite, static_cast<short>(TableTilePicture(r, tile)));
  ShowInTableMiddle(c, sprite, t.TileWidth(r), t.TileHeight(r));
  if (IsSprite(sprite)) {
    c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Front);
    Show(c, sprite);
  }
  if (Restored(c)) SleepSeconds(c, kDiscardShown);
  PoolSprite(c, r, sprite);
  c.hand.DiscardPooled = true;
  --s.HandCount;
  SetTileSizes(c, TileSizes::Hand);
}

void SpectatorResult(Client& c, int operation, int seatBit, int tile1, int tile2, int tile3) {
  if (!KnownOperation(operation)) return;
  auto& t = c.table;
  const std::array<int, 3> tiles = {tile1, tile2, tile3};
  SetTileSizes(c, TileSizes::Set);
  const int rel = RelativeSeat(t.custom(0).SeatBit, seatBit);
  if (rel != 0 && Restored(c)) {
    const Announcement a = AnnouncementOf(c, operation, tile3);
    ShowOperationBanner(c, rel, a.banner);
    PlayVoice(c, rel, a.voice);
    SleepSeconds(c, kClaimShown);
  }
  switch (operation) {
    case op::kChow:
    case op::kPung:
      SpectatorChowOrPung(c, rel, operation, tiles);
      break;
    case op::kKong:
    case op::kConcealedKong:
      t.WallHeadDraw = 0;
      SpectatorKong(c, rel, operation, tiles);
      break;
    case op::kOneTileKong:
      t.WallHeadDraw = 0;
      SpectatorOneTileKong(c, rel, tile3);
      break;
    default:
      SpectatorWin(c, rel);
      break;
  }
}

void OnSpectatorDeal(Client& c, const protocol::Header& h) {
  std::array<short, 4> tiles{};
  for (std::size_t i = 0; i < 4; ++i) tiles[i] = static_cast<short>(h.Value[i] & 0xFF);
  SpectatorDraw(c, h.SeatMask & 0x0F, 4, tiles);
  HideUnlessRestored(c);
}

void OnSpectatorDraw(Client& c, const protocol::Header& h) {
  std::array<short, 4> tiles{};
  tiles[3] = static_cast<short>(h.Value[3] & 0xFF);
  SpectatorDraw(c, h.SeatMask & 0x0F, 1, tiles);
  HideUnlessRestored(c);
}

void OnSpectatorDiscard(Client& c, const protocol::Header& h) {
  SpectatorDiscard(c, h.SeatMask & 0x0F, h.Value[3] & 0xFF);
  HideUnlessRestored(c);
}

void OnSpectatorResult(Client& c, const protocol::Header& h) {
  SpectatorResult(c, h.Value[0] & 0xFF, h.SeatMask & 0x0F, h.Value[1] & 0xFF, h.Value[2] & 0xFF,
                  h.Value[3] & 0xFF);
  HideUnlessRestored(c);
}

void OnSpectatorDragonSets(Client& c, const protocol::Header& h) {
  OnDragonSetsShown(c, h);
  ShowWatchedHandFaceDown(c);
  HideUnlessRestored(c);
}

}  // namespace tallow
