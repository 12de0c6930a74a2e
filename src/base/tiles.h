// Tile codes, seats relative to the local one, the wall's tail and the hand sort.
#pragma once

#include <cstdint>

#include "base/table_state.h"

namespace tallow {

// A tile is one byte: a one-hot suit bit in the high nibble, the rank in the low nibble.
namespace tile {
inline constexpr int kHonours = 0x10;
inline constexpr int kBamboo = 0x20;
inline constexpr int kCharacters = 0x40;
inline constexpr int kDots = 0x80;
inline constexpr int kRedDragon = 0x15;    // 中
inline constexpr int kGreenDragon = 0x16;  // 发
inline constexpr int kWhiteDragon = 0x17;  // 白

inline int Suit(int code) {
  return (code & 0xF0) >> 4;
}  // the one-hot suit bit, 1..8
inline int Rank(int code) {
  return code & 0x0F;
}
}  // namespace tile

// True for the number of one of the 120 tile sprites MJ_Image(0..119).
inline bool IsSprite(int sprite) {
  return sprite >= 0 && sprite <= 119;
}

// The relative position (0 local, 1 previous, 2 opposite, 3 next) of a seat bit, seen from
// the local seat bit.
int RelativeSeat(int localSeatBit, int seatBit);

// Steps WallTail backwards through the two-layer wall: from an even sprite to the one below
// it, from an odd sprite to the upper tile of the previous stack.
short StepWallTail(short tail);

// Sorts the first `count` concealed tiles of seat `seat` by suit bit descending (dots first,
// honours last), then rank ascending; only the values move. Returns, for each sorted index
// (relative to HandStart), whether its value changed, so the caller can re-picture entries.
std::uint32_t SortHandValues(SeatRecord& seat, int count);

// Picture index of a tile for a group (0..3 relative seat on the table, 4 the local hand).
int TilePictureIndex(int group, int code);

}  // namespace tallow
