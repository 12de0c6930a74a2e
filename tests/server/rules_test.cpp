#include "core/rules.h"

#include <gtest/gtest.h>

#include "support/tile_notation.h"

namespace tallow::server {
namespace {

using tallow::testing::T;
using tallow::testing::Tiles;

TEST(Tiles, KindsAndCodesRoundTrip) {
  int seen = 0;
  for (int k = 0; k < kKinds; ++k) {
    EXPECT_EQ(KindOf(TileOf(k)), k);
    ++seen;
  }
  EXPECT_EQ(seen, 30);
  for (Tile bad : {Tile{0}, Tile{0x11}, Tile{0x14}, Tile{0x18}, Tile{0x20}, Tile{0x2A}, Tile{0x30},
                   Tile{0x95}, Tile{0xFF}}) {
    EXPECT_EQ(KindOf(bad), -1) << int(bad);
  }
  const auto all = FullSet();
  EXPECT_EQ(std::count(all.begin(), all.end(), kRed), 4);
  EXPECT_EQ(std::count(all.begin(), all.end(), Tile{0x89}), 4);
}

TEST(Tiles, WildFollowsItsIndicator) {
  EXPECT_EQ(WildFromIndicator(0x23), 0x24);
  EXPECT_EQ(WildFromIndicator(0x49), 0x41);  // 9 wraps to 1
  EXPECT_EQ(WildFromIndicator(kRed), kGreen);
  EXPECT_EQ(WildFromIndicator(kWhite), kRed);
  EXPECT_EQ(WildFromIndicator(0x00), 0);
}

struct WinCase {
  const char* hand;
  Tile wild;
  bool wins;
};

class WinningHand : public ::testing::TestWithParam<WinCase> {};

TEST_P(WinningHand, Decides) {
  const auto& c = GetParam();
  EXPECT_EQ(IsWinningHand(Tiles(c.hand), c.wild), c.wins) << c.hand;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinningHand,
    ::testing::Values(
        // Natural hands.
        WinCase{"123b 456b 789c 111d 55d", 0, true}, WinCase{"123b 456b 789c 111d 56d", 0, false},
        WinCase{"111222333b 44c ZZZ", 0, true},
        WinCase{"1112345678999b 5b", 0, true},  // nine gates shape
        WinCase{"11b", 0, true},                // only the pair left after melds
        WinCase{"12b", 0, false},
        WinCase{"123b 456b 789c 11d ZFB", 0, false},  // dragons never make a chow
        WinCase{"789b 123c 11d", 0, true}, WinCase{"891b 11d", 0, false},  // no wrap-around chows
        WinCase{"1b", 0, false},                                           // wrong count
        // With wild tiles (the wild here is 5d).
        WinCase{"123b 456b 789c 111d 5d 9c", 0x85, true},  // wild pairs the 9c
        WinCase{"13b 456b 789c 111d 22c 5d", 0x85, true},  // wild is the 2b of a chow
        WinCase{"5d 5d 5d 5d 5d", 0x85, true},             // wild tiles alone
        WinCase{"5d 5d", 0x85, true},                      // a pair of wilds
        WinCase{"19b 19c 5d 5d", 0x85, false},
        WinCase{"9b 5d 5d 123c 456c 789c 11d", 0x85, true},    // 9b with two wilds: pung or 789
        WinCase{"1b 9b 5d 5d 5d 123c 456c 11d", 0x85, false},  // two lone tiles need 4
        WinCase{"ZF 5d 123c 456c 789c 22d", 0x85, false},      // wild cannot finish a dragon chow
        WinCase{"ZZ 5d 123c 456c 789c 22d", 0x85, true},
        WinCase{"8b 5d 5d 5d 5d", 0x85, true},  // 8b W W + W W pair
        WinCase{"14b 5d 22c", 0x85, false}));

TEST(Rules, AllPungsReading) {
  auto check = [](const char* hand, Tile wild) {
    auto h = Split(Tiles(hand), wild);
    return IsAllPungs(h.counts, h.wilds);
  };
  EXPECT_TRUE(check("111b 222c 333d ZZZ 44d", 0));
  EXPECT_FALSE(check("123b 222c 333d ZZZ 44d", 0));
  EXPECT_TRUE(check("11b 222c 333d ZZZ 44d 5d", 0x85));  // wild completes the 1b pung
  EXPECT_TRUE(check("1b 222c 333d ZZZ 44d 5d 5d", 0x85));
  EXPECT_FALSE(check("1b 2c 3d 4d 5d", 0x85));
}

TEST(Rules, WaitsOfAWin) {
  // Closed wait: 4b between 3b and 5b.
  EXPECT_TRUE(IsClosedWait(Tiles("35b 111c 222c 333d 99d"), T("4b"), 0));
  EXPECT_FALSE(IsClosedWait(Tiles("23b 111c 222c 333d 99d"), T("4b"), 0));  // open wait
  EXPECT_FALSE(IsClosedWait(Tiles("35b 111c 222c 333d 99d"), T("4c"), 0));
  // Single wait on the pair.
  EXPECT_TRUE(IsSingleWait(Tiles("123b 111c 222c 333d 9d"), T("9d"), 0));
  EXPECT_FALSE(IsSingleWait(Tiles("123b 111c 222c 333d 99d"), T("9d"), 0));
}

TEST(Rules, ClaimsCountNaturalTilesOnly) {
  const auto hand = Tiles("55b 5d 5d 46c 1d");
  EXPECT_TRUE(CanPung(hand, T("5b"), 0x85));
  EXPECT_FALSE(CanPung(hand, T("5d"), 0x85));  // 5d is wild: never claimed
  EXPECT_FALSE(CanExposedKong(hand, T("5b"), 0x85));
  EXPECT_TRUE(CanChow(hand, T("5c"), 0x85));
  EXPECT_FALSE(CanChow(hand, T("7c"), 0x85));
  EXPECT_FALSE(CanChow(Tiles("ZF"), kWhite, 0));  // dragons are not chowed
  EXPECT_TRUE(CanChowWith(hand, T("5c"), T("4c"), T("6c"), 0x85));
  EXPECT_FALSE(CanChowWith(hand, T("5c"), T("4c"), T("4c"), 0x85));
  EXPECT_FALSE(CanChowWith(hand, T("5c"), T("6c"), T("7c"), 0x85));  // 7c not in hand
  EXPECT_FALSE(CanChowWith(hand, T("3d"), T("4d"), T("5d"), 0x85));  // wild 5d cannot chow
}

}  // namespace
}  // namespace tallow::server
