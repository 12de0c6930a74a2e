// The wall of one hand, counted from where it was broken: the head hands out positions
// 0, 1, 2, ...; the tail (replacement draws after kongs) hands out the stack before the break,
// upper tile first: 118, 119, 116, 117, ...
#pragma once

#include <array>
#include <vector>

#include "core/tiles.h"

namespace tallow::server {

class Wall {
 public:
  Wall() = default;
  explicit Wall(const std::array<Tile, kWallSize>& tiles) : tiles_(tiles) {}

  // Tiles still in the wall.
  int Remaining() const { return kWallSize - taken_; }
  int HeadDrawn() const { return headDrawn_; }
  int TailDrawn() const { return tailDrawn_; }

  // Takes the next tile from the head or the tail; 0 when the wall is empty.
  Tile DrawHead();
  Tile DrawTail();

  // The next n tiles the tail would hand out, without taking them (bird tiles).
  std::vector<Tile> PeekTail(int n) const;

  // The tile at a position counted from the break, and whether it has been taken.
  Tile At(int pos) const { return tiles_.at(static_cast<std::size_t>(pos)); }
  bool Taken(int pos) const { return takenAt_.at(static_cast<std::size_t>(pos)); }

  // Position of the k-th tail draw (k = 0, 1, ...).
  static int TailPosition(int k) { return 118 - 2 * (k / 2) + k % 2; }

 private:
  std::array<Tile, kWallSize> tiles_{};
  std::array<bool, kWallSize> takenAt_{};
  int taken_ = 0;
  int headPos_ = 0;
  int headDrawn_ = 0;
  int tailStep_ = 0;
  int tailDrawn_ = 0;
};

}  // namespace tallow::server
