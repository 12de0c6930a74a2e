// Shape tests of the ruleset: complete hands with wild tiles, the wait of a win, claim checks.
#pragma once

#include <span>
#include <vector>

#include "core/tiles.h"

namespace tallow::server {

// Counts of the natural tiles of a concealed hand and the number of wild tiles in it.
// A tile equal to the wild tile counts as wild; 0 or invalid codes are ignored.
struct SplitHand {
  Counts counts{};
  int wilds = 0;
  int total = 0;  // naturals + wilds
};
SplitHand Split(std::span<const Tile> tiles, Tile wild);

// True when the naturals and wilds together form sets only (needPair false) or sets and
// exactly one pair (needPair true). Wild tiles stand for any tile.
bool FormsSets(const Counts& naturals, int wilds, bool needPair);

// A concealed hand of 3n + 2 tiles (melds already laid down elsewhere) that wins.
bool IsWinningHand(std::span<const Tile> concealed, Tile wild);

// True when the complete hand can be read with pungs and one pair only (no chow).
bool IsAllPungs(const Counts& naturals, int wilds);

// The wait that a win used. hand13 is the concealed hand without the winning tile.
// Closed wait (夹胡): the winning tile is the middle of a chow whose outer tiles are natural.
bool IsClosedWait(std::span<const Tile> hand13, Tile winning, Tile wild);
// Single wait (单砸): the winning tile completes the pair with a natural tile of its kind.
bool IsSingleWait(std::span<const Tile> hand13, Tile winning, Tile wild);

// Claim checks on a discarded tile, counting natural tiles only (never the wild tile).
int CountNatural(std::span<const Tile> concealed, Tile t, Tile wild);
bool CanPung(std::span<const Tile> concealed, Tile t, Tile wild);
bool CanExposedKong(std::span<const Tile> concealed, Tile t, Tile wild);
// The chow made of the discard and the hand tiles a and b (any order), all natural.
bool IsChow(Tile discard, Tile a, Tile b);
bool CanChowWith(std::span<const Tile> concealed, Tile discard, Tile a, Tile b, Tile wild);
bool CanChow(std::span<const Tile> concealed, Tile discard, Tile wild);

}  // namespace tallow::server
