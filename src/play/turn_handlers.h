// Draws, deals, discards and operation results of the seat in play.
#pragma once

#include <array>
#include <string>

#include "protocol/record.h"

namespace tallow {

class Client;

void OnDealTiles(Client& c, const protocol::Header& h);
void OnTileDiscarded(Client& c, const protocol::Header& h);
void OnTileDrawn(Client& c, const protocol::Header& h);
void OnOperationResult(Client& c, const protocol::Header& h);

// What every client does with a deal (type 1), discard (type 2) or draw (type 5) before the
// playing or watching handler runs: the deal and discard sounds, the end of the continue
// countdown on a draw, the seat reduced to its low nibble.
void BeforeTurnMessage(Client& c, int type, protocol::Header& h);

// Gives seat `seatBit` `count` tiles (4 on a deal, 1 on a draw, the tile in tiles[3]).
void HandleDraw(Client& c, int seatBit, int count, const std::array<short, 4>& tiles);
// Seat `seatBit` discarded `tile`.
void HandleDiscard(Client& c, int seatBit, int tile);

// The next wall sprite of a draw: from the wall's head, or from its tail while a kong's
// replacement tile is due (WallHeadDraw False); moves the pointers.
short TakeDrawSprite(Client& c);

}  // namespace tallow
