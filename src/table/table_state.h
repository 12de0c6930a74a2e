// Tile codes, seat records and the table globals every subsystem reads.
#pragma once

#include <cstdint>
#include <string>

#include "platform/checked_array.h"

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

struct TileEntry {
  short typ = 0;      // 0 empty, 1 concealed, 2 own chow/dragon set, 3 pung, 4/5 kongs
  short value = 0;    // tile code
  short Sprite = -1;  // MJ_Image index, -1 none
  short Marked = 0;   // -1 while picked for a set being laid down
};

struct SeatRecord {
  std::string Account;
  std::int32_t HandScore = 0;
  std::uint8_t SeatBit = 0;
  short IsDealer = 0;
  short DiscardX = 0, DiscardY = 0;
  short DiscardRowX = 0, DiscardRowY = 0;
  short HandX = 0, HandY = 0;
  CheckedArray<TileEntry, 0, 20> mj;
  short MeldEnd = 3;
  short HandStart = 4;
  short HandCount = 0;
  short WildCount = 0;
  short RedKongCount = 0, WildKongCount = 0;

  // A discard is due while the hand holds 3n + 2 tiles (the seat drew, or claimed a set).
  bool DiscardDue() const { return (HandCount - 2) % 3 == 0; }
};

struct TableState {
  CheckedArray<SeatRecord, 0, 3> custom;
  short WildTile = -1;
  int WildIndicator = 0;
  CheckedArray<short, 0, 3> TileWidth;
  CheckedArray<short, 0, 3> TileHeight;
  short WallHead = 0;
  short WallTail = 0;
  short WallHeadDraw = -1;
  short LastTile = 0;
  short LastDiscardSprite = -1;
  std::uint8_t LastDiscarderRel = 0;
  short DiscardClaimed = 0;
  short OperationFlags = 0;
  CheckedArray<short, 0, 4> OperationState;
  // The concrete forms of an offered chow (mj index pairs) and kong (first mj index of each).
  CheckedArray<short, 0, 5> ChowOptions;
  short ChowCount = 0;
  CheckedArray<short, 0, 9> KongOptions;
  short KongCount = 0;
  short KongKind = 0;  // of the first option: 2 one-tile, 3 exposed, 4 concealed
  // 0 after an offer, 1 after a button action, 2 after the player acted, 3 after a timeout.
  short PanelState = 0;
  short MustDiscard = 0;
  short ActionSent = 0;
  short TurnCountdown = 0;
  short TurnSeconds = 8;
  short Spectating = 0;
  CheckedArray<CheckedArray<short, 0, 8>, 0, 3> SeenCount;
  short TableReadyForNext = 0;
  short TimeoutCount = 0;

  bool HasWildTile() const { return WildTile >= 1; }
};

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
