#include "testing/wall_builder.h"

#include "core/wall.h"

namespace tallow::server::testing {

std::optional<std::array<Tile, kWallSize>> BuildWall(const std::array<std::vector<Tile>, 4>& hands,
                                                     Tile dealerExtra,
                                                     const std::vector<Tile>& headDraws,
                                                     const std::vector<Tile>& tailDraws) {
  std::array<Tile, kWallSize> w{};
  std::array<int, kKinds> left{};
  left.fill(4);
  auto put = [&](int pos, Tile t) {
    const int k = KindOf(t);
    if (pos < 0 || pos >= kWallSize || k < 0 || left[static_cast<std::size_t>(k)] == 0 ||
        w[static_cast<std::size_t>(pos)] != 0) {
      return false;
    }
    --left[static_cast<std::size_t>(k)];
    w[static_cast<std::size_t>(pos)] = t;
    return true;
  };
  for (int k = 0; k < 4; ++k) {
    const auto& h = hands[static_cast<std::size_t>(k)];
    if (h.empty()) continue;  // filled from the rest
    if (h.size() != 13) return std::nullopt;
    for (int r = 0; r < 3; ++r) {
      for (int i = 0; i < 4; ++i) {
        if (!put(16 * r + 4 * k + i, h[static_cast<std::size_t>(4 * r + i)])) return std::nullopt;
      }
    }
    if (!put(48 + k, h[12])) return std::nullopt;
  }
  if (!put(52, dealerExtra)) return std::nullopt;
  for (std::size_t i = 0; i < headDraws.size(); ++i) {
    if (!put(53 + static_cast<int>(i), headDraws[i])) return std::nullopt;
  }
  for (std::size_t i = 0; i < tailDraws.size(); ++i) {
    if (!put(Wall::TailPosition(static_cast<int>(i)), tailDraws[i])) return std::nullopt;
  }
  int kind = 0;
  for (auto& t : w) {
    if (t != 0) continue;
    while (kind < kKinds && left[static_cast<std::size_t>(kind)] == 0) ++kind;
    if (kind == kKinds) return std::nullopt;
    t = TileOf(kind);
    --left[static_cast<std::size_t>(kind)];
  }
  return w;
}

}  // namespace tallow::server::testing
