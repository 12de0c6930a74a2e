#include "core/tiles.h"

namespace tallow::server {

int KindOf(Tile t) {
  const int rank = t & 0x0F;
  switch (t >> 4) {
    case 0x2:
      return (rank >= 1 && rank <= 9) ? rank - 1 : -1;
    case 0x4:
      return (rank >= 1 && rank <= 9) ? 9 + rank - 1 : -1;
    case 0x8:
      return (rank >= 1 && rank <= 9) ? 18 + rank - 1 : -1;
    case 0x1:
      return (rank >= 5 && rank <= 7) ? 27 + rank - 5 : -1;
    default:
      return -1;
  }
}

Tile TileOf(int kind) {
  if (kind < 0 || kind >= kKinds) return 0;
  if (kind >= 27) return static_cast<Tile>(0x15 + (kind - 27));
  static constexpr Tile kSuit[3] = {0x20, 0x40, 0x80};
  return static_cast<Tile>(kSuit[kind / 9] | (kind % 9 + 1));
}

bool IsValidTile(Tile t) {
  return KindOf(t) >= 0;
}

bool IsSuited(Tile t) {
  const int k = KindOf(t);
  return k >= 0 && k < 27;
}

Tile WildFromIndicator(Tile indicator) {
  const int k = KindOf(indicator);
  if (k < 0) return 0;
  if (k >= 27) return TileOf(27 + (k - 27 + 1) % 3);
  return TileOf(k / 9 * 9 + (k % 9 + 1) % 9);
}

std::array<Tile, kWallSize> FullSet() {
  std::array<Tile, kWallSize> out{};
  for (int k = 0; k < kKinds; ++k) {
    for (int c = 0; c < 4; ++c) out[static_cast<std::size_t>(k * 4 + c)] = TileOf(k);
  }
  return out;
}

}  // namespace tallow::server
