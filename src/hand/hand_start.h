// The start of a hand: dealer, dice and wall; the seat draw and the compass.
#pragma once

#include <array>
#include <cstdint>

#include "protocol/record.h"

namespace tallow {

class Client;

inline constexpr const char* kPlayerLeftBox = "有玩家退出，游戏结束！";

void OnNewHand(Client& c, const protocol::Header& h);

// Throws the dealer's two pairs of dice on the table; a die of 0 is shown, and kept, as 1.
void RollDice(Client& c, int dealer, std::array<short, 4>& values);
// Builds the four walls stack by stack and clears the per-hand bookkeeping.
void BuildWall(Client& c);
// The sprite the deal starts from: picked by the first throw counted from the dealer's
// relative seat, moved along by all four dice.
short WallStart(int dealer, const std::array<short, 4>& dice);
// Four tiles face down in the middle, one of them turned to the local seat's wind.
void ShowSeatDraw(Client& c, std::uint8_t seatIndex);
// The compass turned to the local seat (seat bit 1 when it is not known yet).
void ShowCompass(Client& c);

// A modulo whose result is never negative.
inline int FloorMod(int a, int m) {
  const int r = a % m;
  return r < 0 ? r + m : r;
}

}  // namespace tallow
