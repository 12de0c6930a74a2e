// Tiles written the short way in tests: "123b 456c 789d 55d ZFB" is digits then the suit
// (b bamboo, c characters, d dots); Z 中, F 发, B 白. Spaces are for the reader only.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallow::testing {

// Wire codes of the notation's tiles, in the order written.
inline std::vector<std::uint8_t> Tiles(std::string_view s) {
  std::vector<std::uint8_t> out;
  std::vector<int> ranks;
  for (char ch : s) {
    if (ch >= '1' && ch <= '9') {
      ranks.push_back(ch - '0');
    } else if (ch == 'b' || ch == 'c' || ch == 'd') {
      const int suit = ch == 'b' ? 0x20 : ch == 'c' ? 0x40 : 0x80;
      for (int r : ranks) out.push_back(static_cast<std::uint8_t>(suit | r));
      ranks.clear();
    } else if (ch == 'Z') {
      out.push_back(0x15);
    } else if (ch == 'F') {
      out.push_back(0x16);
    } else if (ch == 'B') {
      out.push_back(0x17);
    }
  }
  return out;
}

inline std::uint8_t T(std::string_view s) {
  return Tiles(s).at(0);
}

// The notation of a row of tiles, runs of one suit together ("1223b Z 5d"); codes outside the
// notation as hex in brackets, so a failure message shows what it got.
inline std::string TileNames(std::span<const std::uint8_t> tiles) {
  std::string out;
  char openSuit = 0;
  auto close = [&] {
    if (openSuit != 0) out += openSuit;
    openSuit = 0;
  };
  for (std::uint8_t t : tiles) {
    const int suit = t & 0xF0, rank = t & 0x0F;
    const char suitChar = suit == 0x20 ? 'b' : suit == 0x40 ? 'c' : suit == 0x80 ? 'd' : 0;
    if (suitChar != 0 && rank >= 1 && rank <= 9) {
      if (openSuit != suitChar) {
        close();
        if (!out.empty()) out += ' ';
        openSuit = suitChar;
      }
      out += static_cast<char>('0' + rank);
      continue;
    }
    close();
    if (!out.empty()) out += ' ';
    static const char kHex[] = "0123456789abcdef";
    if (t == 0x15 || t == 0x16 || t == 0x17) {
      out += t == 0x15 ? 'Z' : t == 0x16 ? 'F' : 'B';
    } else {
      out += std::string("[") + kHex[t >> 4] + kHex[t & 15] + "]";
    }
  }
  close();
  return out;
}

}  // namespace tallow::testing
