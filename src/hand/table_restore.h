// Rebuilding a running hand from the server's snapshots (message 40). The table-cleared message
// (41) has reset the table and named the dealer and the wall's start; then one snapshot per seat
// gives its laid-down tiles, its concealed tiles and the size of its pool, and after the fourth
// the wall, the pools and the wild tile are rebuilt. A watcher who joins a hand late and a player
// who comes back into one are both restored this way.
#pragma once

#include <vector>

#include "protocol/record.h"

namespace tallow {

class Client;

// Handler of message type 40.
void TableSnapshot(Client& c, const protocol::Header& h);

// Sorts the first n tile codes: suit bit descending (dots, characters, bamboo, honours), then
// rank ascending.
void SortTiles(std::vector<short>& tiles, int n);

// One seat's laid-down tiles told apart: its sets of three (chow, pung, 中发白) or four (kong)
// and the 中 and wild tiles it laid beside the hand alone.
struct LaidDownTiles {
  std::vector<std::vector<short>> sets;
  std::vector<short> lone;
};
// A snapshot names the laid-down tiles, not the sets. The sorted tiles are split into sets and
// lone 中 or wild tiles; of the ways to split them the first with `expectedSets` sets is taken,
// else the first at all, trying kongs before pungs before chows before 中发白 before a lone tile.
// Tiles that make no sets at all (a malformed snapshot) are laid in threes.
LaidDownTiles SplitLaidDown(std::vector<short> tiles, int wildTile, int expectedSets);

// Shows the wild-tile indicator's face on the given wall sprite (the tail's next tile).
void ShowIndicatorTile(Client& c, int sprite);
// Lays the four discard pools face down with the sprites the restore has left.
void RestorePools(Client& c);

// The dealer and the hand's wall start from what the table-cleared message kept, seen from the
// seat at position 0: IsDealer, WallHead and WallTail. Nothing when no seat is the dealer's.
void StartWallFromTableCleared(Client& c);

}  // namespace tallow
