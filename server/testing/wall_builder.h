// Test support: a wall that deals chosen hands and draws.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/tiles.h"

namespace tallow::server::testing {

// hands[k] are the 13 tiles of the seat k places after the dealer (k = 0 is the dealer, who
// also gets dealerExtra as his fourteenth); headDraws follow from the head in order and
// tailDraws are the replacement tiles after kongs. The rest of the 120 tiles fill the other
// positions in kind order; an empty hand is filled the same way. Returns nothing when a kind would
// be used more than four times.
std::optional<std::array<Tile, kWallSize>> BuildWall(const std::array<std::vector<Tile>, 4>& hands,
                                                     Tile dealerExtra,
                                                     const std::vector<Tile>& headDraws,
                                                     const std::vector<Tile>& tailDraws = {});

}  // namespace tallow::server::testing
