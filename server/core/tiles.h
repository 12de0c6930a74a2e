// Tile codes of the 120-tile set and the compact kind index the rules work with.
#pragma once

#include <array>
#include <cstdint>

namespace tallow::server {

using Tile = std::uint8_t;  // wire code: high nibble one-hot suit, low nibble rank; 0 = none

inline constexpr Tile kRed = 0x15;    // 中
inline constexpr Tile kGreen = 0x16;  // 发
inline constexpr Tile kWhite = 0x17;  // 白

// 27 suited kinds (bamboo, characters, dots; ranks 1..9) and the three dragons.
inline constexpr int kKinds = 30;
inline constexpr int kWallSize = 120;

// Kind index 0..29 of a valid tile code, or -1.
int KindOf(Tile t);
// Tile code of a kind index 0..29.
Tile TileOf(int kind);
bool IsValidTile(Tile t);
bool IsSuited(Tile t);
inline bool IsDragon(Tile t) {
  return t == kRed || t == kGreen || t == kWhite;
}
inline int Rank(Tile t) {
  return t & 0x0F;
}
inline int SuitBit(Tile t) {
  return t >> 4;
}

// The wild tile that an indicator names: the next rank of the same suit (9 wraps to 1),
// and for the dragons 中 → 发 → 白 → 中.
Tile WildFromIndicator(Tile indicator);

// All 120 tiles in kind order (four of each kind).
std::array<Tile, kWallSize> FullSet();

using Counts = std::array<std::uint8_t, kKinds>;

}  // namespace tallow::server
