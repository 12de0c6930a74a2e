// Per-hand bookkeeping that the table reset clears and the hand's handlers fill.
#pragma once

#include <string>

#include "platform/checked_array.h"

namespace tallow {

struct HandState {
  // Discard pools.
  CheckedArray<short, 0, 23> RightPool;  // sprites pooled by the seat at rel 3
  short RightPoolCount = 0;
  short DiscardBlinkCount = 0;
  short BlinkSprite = -1;
  // Operation results.
  short WinnerRel = -1;
  CheckedArray<short, 0, 15> KongMarkSprite;
  CheckedArray<short, 0, 15> KongMarkTile;
  CheckedArray<short, 0, 15> KongMarkSeat;
  short KongMarkCount = 0;
  CheckedArray<CheckedArray<short, 0, 20>, 1, 3> RevealTiles;
  CheckedArray<CheckedArray<short, 0, 20>, 0, 3> RevealExtra;
  CheckedArray<short, 0, 3> RevealExtraCount;
  CheckedArray<short, 0, 23> OneTileKongSprites;
  // Settlement.
  CheckedArray<CheckedArray<short, 0, 3>, 0, 47> SettleData;  // SettleData(k, seat)
  CheckedArray<double, 0, 3> HandAmount;
  CheckedArray<double, 0, 3> TotalAmount;
  short ResultCount = 0;
  short ScoreCount = 0;
  // Seating.
  short SeatsNamed = 0;
  short SeatDrawPending = 0;
  // The two values of the table-cleared message kept for the profile handling.
  std::uint8_t ClearedSeatMask = 0;
  short ClearedValue0 = 0;
  short ClearedValue1 = 0;
};

}  // namespace tallow
