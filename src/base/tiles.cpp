#include "base/tiles.h"

#include "base/general.h"

namespace tallow {

int RelativeSeat(int localSeatBit, int seatBit) {
  return (BitPosition(static_cast<std::uint8_t>(localSeatBit)) -
          BitPosition(static_cast<std::uint8_t>(seatBit)) + 4) &
         3;
}

short StepWallTail(short tail) {
  if (tail % 2 == 0) return static_cast<short>(tail + 1);
  return static_cast<short>((tail + 117) % 120);
}

namespace {
// Sort key: suit bit descending, then rank ascending.
bool Before(int a, int b) {
  const int sa = tile::Suit(a), sb = tile::Suit(b);
  if (sa != sb) return sa > sb;
  return tile::Rank(a) < tile::Rank(b);
}
}  // namespace

std::uint32_t SortHandValues(SeatRecord& seat, int count) {
  const int start = seat.HandStart;
  std::uint32_t changed = 0;
  CheckedArray<short, 0, 20> before;
  for (int i = 0; i < count; ++i) before(i) = seat.mj(start + i).value;
  // Exchange sort over the values only; every entry keeps its typ, Sprite and Marked.
  for (int i = 0; i < count - 1; ++i) {
    for (int j = i + 1; j < count; ++j) {
      auto& a = seat.mj(start + i).value;
      auto& b = seat.mj(start + j).value;
      if (Before(b, a)) std::swap(a, b);
    }
  }
  for (int i = 0; i < count; ++i) {
    if (seat.mj(start + i).value != before(i)) changed |= 1u << i;
  }
  return changed;
}

int TilePictureIndex(int group, int code) {
  return 36 * group + 9 * BitPosition(static_cast<std::uint8_t>(tile::Suit(code))) +
         tile::Rank(code) - 1;
}

}  // namespace tallow
