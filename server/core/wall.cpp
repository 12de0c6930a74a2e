#include "core/wall.h"

namespace tallow::server {

Tile Wall::DrawHead() {
  while (headPos_ < kWallSize && takenAt_[static_cast<std::size_t>(headPos_)]) ++headPos_;
  if (headPos_ >= kWallSize) return 0;
  const auto p = static_cast<std::size_t>(headPos_++);
  takenAt_[p] = true;
  ++taken_;
  ++headDrawn_;
  return tiles_[p];
}

Tile Wall::DrawTail() {
  while (tailStep_ < kWallSize) {
    const auto p = static_cast<std::size_t>(TailPosition(tailStep_++));
    if (takenAt_[p]) continue;
    takenAt_[p] = true;
    ++taken_;
    ++tailDrawn_;
    return tiles_[p];
  }
  return 0;
}

std::vector<Tile> Wall::PeekTail(int n) const {
  std::vector<Tile> out;
  for (int k = tailStep_; k < kWallSize && static_cast<int>(out.size()) < n; ++k) {
    const auto p = static_cast<std::size_t>(TailPosition(k));
    if (!takenAt_[p]) out.push_back(tiles_[p]);
  }
  return out;
}

}  // namespace tallow::server
