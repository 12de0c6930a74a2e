// Seat records and the table globals every subsystem reads.
#pragma once

#include <cstdint>
#include <string>

#include "platform/checked_array.h"

namespace tallow {

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

}  // namespace tallow
