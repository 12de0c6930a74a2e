// Hands written the short way in tests: "123b 456c 789d 55d ZFB": digits then the suit
// (b bamboo, c characters, d dots); Z 中, F 发, B 白.
#pragma once

#include <string_view>
#include <vector>

#include "core/tiles.h"

namespace tallow::server::testing {

inline std::vector<Tile> Tiles(std::string_view s) {
  std::vector<Tile> out;
  std::vector<int> ranks;
  for (char ch : s) {
    if (ch >= '1' && ch <= '9') {
      ranks.push_back(ch - '0');
    } else if (ch == 'b' || ch == 'c' || ch == 'd') {
      const int suit = ch == 'b' ? 0x20 : ch == 'c' ? 0x40 : 0x80;
      for (int r : ranks) out.push_back(static_cast<Tile>(suit | r));
      ranks.clear();
    } else if (ch == 'Z') {
      out.push_back(kRed);
    } else if (ch == 'F') {
      out.push_back(kGreen);
    } else if (ch == 'B') {
      out.push_back(kWhite);
    }
  }
  return out;
}

inline Tile T(std::string_view s) {
  return Tiles(s).at(0);
}

}  // namespace tallow::server::testing
