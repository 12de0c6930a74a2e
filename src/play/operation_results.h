// What the server confirms: chows, pungs, kongs and wins (type 7, in turn_handlers.h), dragon
// sets (type 8) and revealed hands with the bird tiles (type 15).
#pragma once

#include <array>
#include <cstdint>

#include "protocol/record.h"

namespace tallow {

class Client;

void OnDragonSetsShown(Client& c, const protocol::Header& h);
void OnTilesRevealed(Client& c, const protocol::Header& h);

// Seat `seatBit` carried out operation `op` with the three tiles of the message.
void HandleOperationResult(Client& c, int op, int seatBit, int tile1, int tile2, int tile3);
// Seat rel laid down n sets of 中 发 白.
void HandleDragonSets(Client& c, int rel, int n);
// Up to four concealed tiles of a seat revealed (full 16-bit values).
void HandleReveal(Client& c, int seatBit, const std::array<std::int16_t, 4>& values);

// The routines for the claims of another seat (rel 1..3), shared with the spectator's twins.
// A chow or pung: two concealed entries and the claimed discard (LastDiscardSprite) make the set.
void ChowOrPungByOther(Client& c, int rel, int operation, const std::array<int, 3>& tiles);
// An exposed or concealed kong: the fourth tile is the claimed discard or the hand's last tile.
void KongByOther(Client& c, int rel, int operation, const std::array<int, 3>& tiles);
// Where a one-tile kong of seat rel goes: onto the seat's pung of that tile, beside the hand for
// a lone 中 or wild tile, else at the seat's next set slot.
void ShowOneTileKong(Client& c, int rel, int sprite, int code);
// Lays the winner's concealed tiles face up along its set row; a win on a discard puts the
// claimed tile after them.
void LayDownWinner(Client& c, int rel);

}  // namespace tallow
