// The turn messages drawn for a spectator: twins of the playing handlers that keep the watched
// seat's hand face down, show every discard in the middle for a second and then pool it, take a
// claimed discard back out of its pool, and announce every claim. Until the table is complete
// (TableRestored) they keep the seat records and the wall pointers but show nothing.
#pragma once

#include <array>

#include "protocol/record.h"

namespace tallow {

class Client;

// Gives seat `seatBit` `count` tiles (4 on a deal, 1 on a draw, the tile in tiles[3]).
void SpectatorDraw(Client& c, int seatBit, int count, const std::array<short, 4>& tiles);
// Seat `seatBit` discarded `tile`.
void SpectatorDiscard(Client& c, int seatBit, int tile);
// Seat `seatBit` carried out operation `operation` with the three tiles of the message.
void SpectatorResult(Client& c, int operation, int seatBit, int tile1, int tile2, int tile3);

// The dispatcher's entries for message types 1, 5, 2, 7 and 8.
void OnSpectatorDeal(Client& c, const protocol::Header& h);
void OnSpectatorDraw(Client& c, const protocol::Header& h);
void OnSpectatorDiscard(Client& c, const protocol::Header& h);
void OnSpectatorResult(Client& c, const protocol::Header& h);
// Dragon sets as a player's client lays them, with the watched hand kept face down.
void OnSpectatorDragonSets(Client& c, const protocol::Header& h);

}  // namespace tallow
