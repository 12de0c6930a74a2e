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

}  // namespace tallow
