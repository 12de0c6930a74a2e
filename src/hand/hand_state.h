// Per-hand bookkeeping that the table reset clears and the hand's handlers fill.
#pragma once

#include <cstdint>
#include <string>

#include "platform/checked_array.h"
#include "platform/ini_memo.h"

namespace tallow {

struct HandState {
  // Discard pools.
  CheckedArray<short, 0, 23> RightPool;  // sprites pooled by the seat at rel 3
  short RightPoolCount = 0;
  short DiscardBlinkCount = 0;
  short BlinkSprite = -1;
  short LastPoolX = 0, LastPoolY = 0;  // where the last discard was pooled
  // Set when the last discard has gone into its pool, so that it is never pooled twice.
  bool DiscardPooled = false;
  // The speech bubble shown last (index into Speak/tsSpeak), hidden by scheduler slot 9.
  short BubbleIndex = 0;
  // Operation results.
  short WinnerRel = -1;
  CheckedArray<short, 0, 15> KongMarkSprite;
  CheckedArray<short, 0, 15> KongMarkTile;
  CheckedArray<short, 0, 15> KongMarkSeat;
  short KongMarkCount = 0;
  CheckedArray<CheckedArray<short, 0, 20>, 1, 3> RevealTiles;
  CheckedArray<CheckedArray<short, 0, 20>, 0, 3> RevealExtra;
  CheckedArray<short, 0, 3> RevealExtraCount;
  // Per relative seat: slots 0..3 red-dragon one-tile kongs, 4..7 wild-tile ones.
  CheckedArray<CheckedArray<short, 0, 7>, 0, 3> OneTileKongSprites;
  // Bird tiles of the hand's first reveal and the wall sprites standing for them.
  CheckedArray<short, 0, 4> BirdTile;
  CheckedArray<short, 0, 4> BirdSprite;
  short BirdCount = 0;
  // Settlement.
  CheckedArray<CheckedArray<short, 0, 3>, 0, 47> SettleData;  // SettleData(k, seat)
  CheckedArray<double, 0, 3> HandAmount;
  CheckedArray<double, 0, 3> TotalAmount;
  short ResultCount = 0;
  short ScoreCount = 0;
  short ExtraLine = 0;  // the last settlement's extra-line flag
  // Seating.
  short SeatsNamed = 0;
  short SeatDrawPending = 0;
  // Table restore (snapshots, message 40). A restore round opens with the table-cleared message
  // and closes after the fourth snapshot; SnapshotSeats holds the seat bits described so far.
  bool RestoreOpen = false;
  std::uint8_t SnapshotSeats = 0;
  short SnapshotSprites = 0;  // sprites handed out by the restore so far
  short SnapshotMaxDrawn = 0;
  short SnapshotMinDrawn = 0;
  CheckedArray<short, 0, 3> SnapshotDiscards;  // pooled discards per relative seat
  short IndicatorSprite = -1;  // the wall sprite showing the wild-tile indicator, -1 none
  // The two values of the table-cleared message kept for the profile handling.
  std::uint8_t ClearedSeatMask = 0;
  short ClearedValue0 = 0;
  short ClearedValue1 = 0;
  // The record file as this client last left it (see IniFileMemo).
  IniFileMemo RecordMemo;
};

}  // namespace tallow
