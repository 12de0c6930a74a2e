#include "play/operation_results.h"

#include <vector>

#include "base/general.h"
#include "base/pictures.h"
#include "base/tiles.h"
#include "hand/tile_rows.h"
#include "play/speech_bubble.h"
#include "play/turn_handlers.h"
#include "session/client.h"
#include "sound/sound.h"
#include "sound/voice_files.h"

namespace tallow {
namespace {

namespace op = protocol::op;

constexpr int kLyingBack = 8;  // group rank 9: a tile lying face down

struct Announcement {
  int op, banner;
  std::string_view voice;
};
constexpr Announcement kAnnouncements[] = {
    {op::kChow, 0, sound::kChowEnding},        {op::kPung, 1, sound::kPungEnding},
    {op::kKong, 2, sound::kKongEnding},        {op::kConcealedKong, 3, sound::kKongEnding},
    {op::kOneTileKong, 6, sound::kKongEnding}, {op::kWin, 7, sound::kWinEnding},
};

const Announcement* Find(int operation) {
  for (const auto& a : kAnnouncements) {
    if (a.op == operation) return &a;
  }
  return nullptr;
}

bool IsLoneKongTile(const Client& c, int code) {
  return code == tile::kRedDragon || (c.table.HasWildTile() && code == c.table.WildTile);
}

void RepictureHand(Client& c, int rel) {
  const SeatRecord& s = c.table.custom(rel);
  for (int k = s.HandStart; k < s.HandStart + s.HandCount; ++k) {
    SetTileSprite(c, s.mj(k).Sprite, static_cast<short>(HandTilePicture(rel, s.mj(k).value)));
  }
}

// Takes the given entries out of the local concealed run; the others close up from
// `newStart` on, keeping their order, and are redrawn.
void CloseLocalRun(Client& c, const std::vector<int>& taken, int newStart) {
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
}

// The first `n` entries of the local run with this value, or fewer when the hand lacks them.
std::vector<int> LocalTilesOf(const Client& c, int code, int n, int preferred = -1) {
  const SeatRecord& me = c.table.custom(0);
  const int end = me.HandStart + me.HandCount;
  std::vector<int> out;
  if (preferred >= me.HandStart && preferred < end && me.mj(preferred).value == code) {
    out.push_back(preferred);
  }
  for (int k = me.HandStart; k < end && static_cast<int>(out.size()) < n; ++k) {
    if (me.mj(k).value == code && (out.empty() || out[0] != k)) out.push_back(k);
  }
  return out;
}

bool InLocalRun(const Client& c, int k) {
  const SeatRecord& me = c.table.custom(0);
  return k >= me.HandStart && k < me.HandStart + me.HandCount;
}

void AddKongMark(Client& c, int sprite, int code, int rel) {
  auto& hs = c.hand;
  if (hs.KongMarkCount > 15) return;
  hs.KongMarkSprite(hs.KongMarkCount) = static_cast<short>(sprite);
  hs.KongMarkTile(hs.KongMarkCount) = static_cast<short>(code);
  hs.KongMarkSeat(hs.KongMarkCount) = static_cast<short>(rel);
  ++hs.KongMarkCount;
}

void ChowOrPungLocal(Client& c, int operation, const std::array<int, 3>& tiles) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  std::vector<int> used;
  if (operation == op::kChow) {
    const int a = t.ChowOptions(0), b = t.ChowOptions(1);
    if (InLocalRun(c, a) && InLocalRun(c, b) && a != b) {
      used = {a, b};
    } else {
      // No chooser pair to go by: take the two tiles the server names.
      for (int k = 0; k <= 1; ++k) {
        auto found = LocalTilesOf(c, tiles[static_cast<std::size_t>(k)], 1);
        if (!found.empty() && (used.empty() || used[0] != found[0])) used.push_back(found[0]);
      }
    }
  } else {
    used = LocalTilesOf(c, tiles[2], 2);
  }
  if (used.size() != 2) return;
  const int m = me.MeldEnd;
  const short typ = operation == op::kChow ? 2 : 3;
  me.mj(m - 2) = me.mj(used[0]);
  me.mj(m - 1) = me.mj(used[1]);
  me.mj(m).value = static_cast<short>(operation == op::kChow ? t.LastTile : tiles[2]);
  me.mj(m).Sprite = t.LastDiscardSprite;
  for (int k = m - 2; k <= m; ++k) me.mj(k).typ = typ;
  SetTileSizes(c, TileSizes::Set);
  for (int k = m - 2; k <= m; ++k) {
    const int code =
        operation == op::kChow ? me.mj(k).value : tiles[static_cast<std::size_t>(k - m + 2)];
    ShowSetTile(c, 0, k, me.mj(k).Sprite, TableTilePicture(0, code));
  }
  CloseLocalRun(c, used, me.HandStart + 3);
  me.MeldEnd = CheckedInt16(m + 3);
}

void KongLocal(Client& c, int operation, const std::array<int, 3>& tiles) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  const bool concealed = operation == op::kConcealedKong;
  const int need = concealed ? 4 : 3;
  const std::vector<int> used = LocalTilesOf(c, tiles[2], need, t.KongOptions(0));
  if (static_cast<int>(used.size()) != need) return;
  const int m = me.MeldEnd;
  for (int k = 0; k <= 2; ++k) {
    me.mj(m - 2 + k) = me.mj(used[static_cast<std::size_t>(k)]);
    me.mj(m - 2 + k).typ = concealed ? 5 : 4;
  }
  const short fourth = concealed ? me.mj(used[3]).Sprite : t.LastDiscardSprite;
  SetTileSizes(c, TileSizes::Set);
  for (int k = m - 2; k <= m; ++k)
    ShowSetTile(c, 0, k, me.mj(k).Sprite, TableTilePicture(0, tiles[2]));
  ShowKongTop(c, 0, m - 1, fourth, TableTilePicture(0, tiles[2]));
  CloseLocalRun(c, used, me.HandStart + 3);
  me.MeldEnd = CheckedInt16(m + 3);
}

void OneTileKong(Client& c, int rel, int code) {
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
    return;
  }
  const std::vector<int> used = LocalTilesOf(c, code, 1, t.KongOptions(0));
  if (used.empty()) return;
  const short sprite = s.mj(used[0]).Sprite;
  ShowOneTileKong(c, 0, sprite, code);
  CloseLocalRun(c, used, s.HandStart);
}

void LearnExposedTiles(Client& c, int operation, const std::array<int, 3>& tiles) {
  auto learn = [&](int code, int n) {
    if (tile::Rank(code) == 0) return;
    short& seen = c.table.SeenCount(BitPosition(static_cast<std::uint8_t>(tile::Suit(code))))(
        tile::Rank(code) - 1);
    seen = CheckedInt16(seen + n);
  };
  switch (operation) {
    case op::kChow:
    case op::kPung:
      learn(tiles[0], 1);
      learn(tiles[1], 1);
      break;
    case op::kKong:
      learn(tiles[2], 3);
      break;
    case op::kOneTileKong:
      learn(tiles[2], 1);
      break;
    default:
      break;
  }
}

// The next wall sprites nobody has drawn and no bird stands on, to show extra revealed tiles.
std::vector<int> SpareWallSprites(const Client& c, int wanted) {
  const auto& t = c.table;
  std::vector<int> out;
  const int left = (t.WallTail - t.WallHead + 120) % 120 - 1;  // stop before the tail's stack
  for (int d = 3; d < left && static_cast<int>(out.size()) < wanted; ++d) {
    out.push_back((t.WallHead + d) % 120);
  }
  return out;
}

void DrawRevealedHands(Client& c) {
  auto& hs = c.hand;
  SetTileSizes(c, TileSizes::Set);
  int extrasNeeded = 0;
  for (int u = 1; u <= 3; ++u) extrasNeeded += hs.RevealExtraCount(u);
  const std::vector<int> spare = SpareWallSprites(c, extrasNeeded);
  std::size_t nextSpare = 0;
  for (int u = 1; u <= 3; ++u) {
    const SeatRecord& s = c.table.custom(u);
    int n = 0;
    while (n <= 20 && hs.RevealTiles(u)(n) != 0) {
      const int k = s.HandStart + n;
      if (k > 20) break;
      ShowSetTile(c, u, k, s.mj(k).Sprite, TableTilePicture(u, hs.RevealTiles(u)(n)));
      ++n;
    }
    for (int e = 0; e < hs.RevealExtraCount(u) && nextSpare < spare.size(); ++e) {
      ShowSetTile(c, u, s.HandStart + n + 1 + e, spare[nextSpare++],
                  TableTilePicture(u, hs.RevealExtra(u)(e)));
    }
  }
  if (c.table.Spectating != 0) {
    SortHand(c, 0, c.table.custom(0).HandCount);
    LayHandRow(c, 0);
  }
}

void TakeBirdTiles(Client& c) {
  auto& hs = c.hand;
  auto& t = c.table;
  if (hs.BirdCount != 0) return;
  short count = 0;
  for (int i = 0; i <= 4; ++i) {
    hs.BirdTile(i) =
        c.framing.CurrentMessage[protocol::off::kPayload + static_cast<std::size_t>(i)];
    if (hs.BirdTile(i) != 0) ++count;
  }
  hs.BirdCount = count;
  hs.BirdSprite(0) = t.WallTail;
  hs.BirdSprite(1) =
      static_cast<short>(t.WallTail % 2 == 1 ? (t.WallTail + 117) % 120 : (t.WallTail + 1) % 120);
  for (int i = 2; i <= count - 1; ++i)
    hs.BirdSprite(i) = static_cast<short>((t.WallHead + i - 2) % 120);
}

}  // namespace

void ShowOneTileKong(Client& c, int rel, int sprite, int code) {
  SeatRecord& s = c.table.custom(rel);
  const int picture = TableTilePicture(rel, code);
  for (int k = s.MeldEnd - 5; k >= 1; k -= 3) {
    if (s.mj(k).typ == 3 && s.mj(k).value == code) {
      ShowKongTop(c, rel, k + 1, sprite, picture);
      return;
    }
  }
  if (IsLoneKongTile(c, code) && ShowLoneKongTile(c, rel, sprite, code)) return;
  ShowSetTile(c, rel, s.MeldEnd - 2, sprite, picture);
}

void ChowOrPungByOther(Client& c, int rel, int operation, const std::array<int, 3>& tiles) {
  auto& t = c.table;
  SeatRecord& s = t.custom(rel);
  if (s.HandCount < 2) return;
  const int h0 = s.HandStart, n0 = s.HandCount, m = s.MeldEnd;
  s.mj(m - 2) = s.mj(h0);
  s.mj(m - 1) = s.mj(h0 + 1);
  s.mj(m).Sprite = t.LastDiscardSprite;
  if (operation == op::kPung) {
    for (int k = 0; k <= 2; ++k) {
      s.mj(m - 2 + k).typ = 3;
      s.mj(m - 2 + k).value = static_cast<short>(tiles[static_cast<std::size_t>(k)]);
    }
  }
  s.mj(h0 + n0) = s.mj(h0 + 2);
  s.HandCount = static_cast<short>(n0 - 2);
  s.HandStart = CheckedInt16(h0 + 3);
  SetTileSizes(c, TileSizes::Set);
  for (int k = 0; k <= 2; ++k) {
    ShowSetTile(c, rel, m - 2 + k, s.mj(m - 2 + k).Sprite,
                TableTilePicture(rel, tiles[static_cast<std::size_t>(k)]));
  }
  s.MeldEnd = CheckedInt16(m + 3);
  LayHandRow(c, rel);
}

void KongByOther(Client& c, int rel, int operation, const std::array<int, 3>& tiles) {
  auto& t = c.table;
  SeatRecord& s = t.custom(rel);
  const bool concealed = operation == op::kConcealedKong;
  const int need = concealed ? 4 : 3;
  if (s.HandCount < need) return;
  const int h0 = s.HandStart, n0 = s.HandCount, m = s.MeldEnd;
  s.mj(m) = s.mj(h0);
  s.mj(m - 1) = s.mj(h0 + 1);
  s.mj(m - 2) = s.mj(h0 + 2);
  for (int k = 0; k <= 2; ++k) {
    s.mj(m - 2 + k).typ = concealed ? 5 : 4;
    s.mj(m - 2 + k).value = static_cast<short>(tiles[static_cast<std::size_t>(k)]);
  }
  // The fourth tile: the claimed discard of an exposed kong, the hand's last tile of a
  // concealed one (which then leaves the hand as well).
  short fourth = t.LastDiscardSprite;
  if (concealed) {
    fourth = s.mj(h0 + n0 - 1).Sprite;
    t.LastDiscardSprite = fourth;
  }
  AddKongMark(c, fourth, tiles[2], rel);
  s.HandCount = static_cast<short>(n0 - need);
  s.HandStart = CheckedInt16(h0 + 3);
  SetTileSizes(c, TileSizes::Set);
  for (int k = 0; k <= 2; ++k) {
    ShowSetTile(c, rel, m - 2 + k, s.mj(m - 2 + k).Sprite,
                TableTilePicture(rel, tiles[static_cast<std::size_t>(k)]));
  }
  ShowKongTop(c, rel, m - 1, fourth,
              concealed ? 36 * rel + kLyingBack : TableTilePicture(rel, tiles[2]));
  s.MeldEnd = CheckedInt16(m + 3);
  LayHandRow(c, rel);
}

void LayDownWinner(Client& c, int rel) {
  auto& t = c.table;
  SeatRecord& s = t.custom(rel);
  SetTileSizes(c, TileSizes::Set);
  const int end = s.HandStart + s.HandCount;
  for (int k = s.HandStart; k < end; ++k) {
    const int code = s.mj(k).value;
    ShowSetTile(c, rel, k, s.mj(k).Sprite,
                tile::Rank(code) == 0 ? 36 * rel + kLyingBack : TableTilePicture(rel, code));
  }
  if (!s.DiscardDue() && t.LastDiscardSprite >= 0 && t.LastTile >= 1) {
    ShowSetTile(c, rel, end, t.LastDiscardSprite, TableTilePicture(rel, t.LastTile));
    t.DiscardClaimed = -1;
  }
}

void HandleOperationResult(Client& c, int operation, int seatBit, int tile1, int tile2, int tile3) {
  auto& t = c.table;
  const Announcement* a = Find(operation);
  if (a == nullptr) return;
  const std::array<int, 3> tiles = {tile1, tile2, tile3};
  SetTileSizes(c, TileSizes::Set);
  const int rel = RelativeSeat(t.custom(0).SeatBit, seatBit);
  if (rel != 0) {
    PlayTableSound(c, kDiscardSound);
    // A 中 or a wild tile laid down alone is not announced.
    if (!(operation == op::kOneTileKong && IsLoneKongTile(c, tile3))) {
      ShowOperationBanner(c, rel, a->banner);
      PlayVoice(c, rel, a->voice);
    }
  }
  switch (operation) {
    case op::kChow:
    case op::kPung:
      if (rel == 0) {
        ChowOrPungLocal(c, operation, tiles);
      } else {
        ChowOrPungByOther(c, rel, operation, tiles);
      }
      break;
    case op::kKong:
    case op::kConcealedKong:
      t.WallHeadDraw = 0;
      t.DiscardClaimed = -1;
      if (rel == 0) {
        KongLocal(c, operation, tiles);
      } else {
        KongByOther(c, rel, operation, tiles);
      }
      break;
    case op::kOneTileKong:
      t.WallHeadDraw = 0;
      t.DiscardClaimed = -1;
      OneTileKong(c, rel, tile3);
      break;
    default:
      c.hand.WinnerRel = static_cast<short>(rel);
      LayDownWinner(c, rel);
      break;
  }
}

void OnOperationResult(Client& c, const protocol::Header& h) {
  const int operation = h.Value[0] & 0xFF;
  const std::array<int, 3> tiles = {h.Value[1] & 0xFF, h.Value[2] & 0xFF, h.Value[3] & 0xFF};
  if (c.session.RobotMode) LearnExposedTiles(c, operation, tiles);
  HandleOperationResult(c, operation, h.SeatMask & 0x0F, tiles[0], tiles[1], tiles[2]);
}

void HandleDragonSets(Client& c, int rel, int n) {
  auto& t = c.table;
  SeatRecord& s = t.custom(rel);
  SetTileSizes(c, TileSizes::Set);
  constexpr short kDragons[] = {tile::kRedDragon, tile::kGreenDragon, tile::kWhiteDragon};
  for (int rep = 0; rep < n; ++rep) {
    if (s.HandCount < 3) break;
    const int m = s.MeldEnd;
    if (rel == 0) {
      int pos = s.HandStart;
      for (short dragon : kDragons) {
        for (int k = s.HandStart; k < s.HandStart + s.HandCount; ++k) {
          if ((s.mj(k).value & 0xFF) == dragon && s.mj(k).Marked == 0) {
            std::swap(s.mj(k).value, s.mj(pos).value);
            break;
          }
        }
        s.mj(pos).value = dragon;
        s.mj(pos).Marked = -1;
        ++pos;
      }
    }
    for (int k = 0; k <= 2; ++k) {
      s.mj(m - 2 + k) = s.mj(s.HandStart + k);
      s.mj(m - 2 + k).typ = rel == 0 ? 2 : 3;
      s.mj(m - 2 + k).value = kDragons[k];
    }
    s.HandCount = static_cast<short>(s.HandCount - 3);
    s.HandStart = CheckedInt16(s.HandStart + 3);
    for (int k = 0; k <= 2; ++k) {
      ShowSetTile(c, rel, m - 2 + k, s.mj(m - 2 + k).Sprite, TableTilePicture(rel, kDragons[k]));
    }
    s.MeldEnd = CheckedInt16(m + 3);
  }
  SortHand(c, rel, s.HandCount);
  // Values moved between entries when the dragons were picked: every face is redrawn.
  RepictureHand(c, rel);
  LayHandRow(c, rel);
}

void OnDragonSetsShown(Client& c, const protocol::Header& h) {
  for (auto& e : c.table.custom(0).mj) e.Marked = 0;
  const int rel = RelativeSeat(c.table.custom(0).SeatBit, h.SeatMask & 0x0F);
  HandleDragonSets(c, rel, h.Value[0] & 0xFF);
}

void HandleReveal(Client& c, int seatBit, const std::array<std::int16_t, 4>& values) {
  auto& hs = c.hand;
  const int u = RelativeSeat(c.table.custom(0).SeatBit, seatBit);
  if (u == 0) return;
  SeatRecord& s = c.table.custom(u);
  for (std::int16_t v : values) {
    if (s.HandCount <= 0) break;
    const short code = static_cast<short>(v & 0xFF);
    if (code == 0) continue;
    if (((v >> 8) & 0x0F) == 8) {
      if (hs.RevealExtraCount(u) <= 20) {
        hs.RevealExtra(u)(hs.RevealExtraCount(u)) = code;
        ++hs.RevealExtraCount(u);
      }
      continue;
    }
    int n = 0;
    while (n <= 20 && hs.RevealTiles(u)(n) != 0) ++n;
    if (n > 20) break;
    s.mj(s.HandStart + n).value = code;
    hs.RevealTiles(u)(n) = code;
    --s.HandCount;
  }
  for (int w = 1; w <= 3; ++w) {
    if (c.table.custom(w).HandCount != 0) return;
  }
  DrawRevealedHands(c);
}

void OnTilesRevealed(Client& c, const protocol::Header& h) {
  HandleReveal(c, h.SeatMask & 0x0F, h.Value);
  TakeBirdTiles(c);
}

}  // namespace tallow
