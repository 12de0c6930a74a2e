#include "table/hand_evaluation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "base/general.h"
#include "doubles/client_harness.h"

namespace tallow::testing {
namespace {

// Tile codes used below.
constexpr int B(int r) {
  return 0x20 + r;
}  // bamboo
constexpr int W(int r) {
  return 0x40 + r;
}  // characters
constexpr int D(int r) {
  return 0x80 + r;
}  // dots
constexpr int kEast = 0x11, kNorth = 0x14, kRed = 0x15;

// Puts `tiles` into custom(0)'s concealed run from mj(start).
void SetHand(Client& c, const std::vector<int>& tiles, int start = 4) {
  auto& me = c.table.custom(0);
  me.HandStart = static_cast<short>(start);
  me.HandCount = static_cast<short>(tiles.size());
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    me.mj(start + static_cast<int>(i)).value = static_cast<short>(tiles[i]);
    me.mj(start + static_cast<int>(i)).typ = 1;
  }
}

struct SuitCase {
  const char* name;
  std::vector<int> hand;
  int mode;
  int tile;
  int seenRank;  // rank whose SeenCount is set in the suit of `tile`, 0 none
  short seen;
  short expected;
};

TEST(HandEvaluation, EvaluateSuitScoresSetsAndLeftovers) {
  const SuitCase cases[] = {
      {"run 1-2-3 of bamboo", {B(1), B(2), B(3)}, 0, B(1), 0, 0, 1000},
      {"run 1-2-3 without the set bonus", {B(1), B(2), B(3)}, 4, B(1), 0, 0, 0},
      {"three honours", {kEast, kEast, kEast}, 0, kEast, 0, 0, 1000},
      {"four honours: the fourth earns its companions",
       {kEast, kEast, kEast, kEast},
       0,
       kEast,
       0,
       0,
       1050},
      {"lone honour", {kNorth}, 0, kNorth, 0, 0, -100},
      {"lone honour, three seen", {kNorth}, 0, kNorth, 4, 3, -106},
      {"pair of honours", {kRed, kRed}, 0, kRed, 0, 0, -30},
      {"pair of 5s", {D(5), D(5)}, 0, D(5), 0, 0, 28},
      {"pair of 5s, two seen", {D(5), D(5)}, 0, D(5), 5, 2, 24},
      {"lone 5: only tile of 2-5-8", {B(5)}, 0, B(5), 0, 0, -23},
      {"lowest score picks the run before the triplet",
       {B(1), B(1), B(1), B(2), B(3)},
       0,
       B(1),
       0,
       0,
       983},
      {"ties between kinds keep the lower rank",
       {B(1), B(2), B(3), B(4), B(5)},
       0,
       B(1),
       0,
       0,
       973},
      {"the pair left beside an extracted run", {W(1), W(2), W(3), W(3), W(3)}, 0, W(1), 0, 0, 985},
      {"a run with a far leftover", {B(1), B(2), B(3), B(9)}, 0, B(9), 0, 0, 955},
      {"leftovers only", {B(1), B(2), B(3), B(9)}, 4, B(9), 0, 0, -45},
      {"as if the 2 had left the hand", {B(1), B(2), B(3)}, 1, B(2), 0, 0, -80},
      {"other suits do not count", {D(5), D(5), kEast}, 0, B(1), 0, 0, 0},
  };
  for (const auto& k : cases) {
    ClientHarness h;
    Client& c = h.c();
    SetHand(c, k.hand);
    if (k.seenRank > 0) c.table.SeenCount(BitPosition(k.tile >> 4))(k.seenRank - 1) = k.seen;
    CountHand(c);
    EXPECT_EQ(EvaluateSuit(c, k.mode, k.tile), k.expected) << k.name;
  }
}

TEST(HandEvaluation, ExtractionMovesTilesIntoSetsAndModeOneRestoresTheTile) {
  ClientHarness h;
  Client& c = h.c();
  auto& e = c.evaluation;
  SetHand(c, {B(1), B(2), B(3), B(9)});
  CountHand(c);
  EvaluateSuit(c, 0, B(1));
  for (int r = 1; r <= 3; ++r) {
    EXPECT_EQ(e.KindCount(1)(r), 0) << r;
    EXPECT_EQ(e.SetTileCount(1)(r), 1) << r;
  }
  EXPECT_EQ(e.KindCount(1)(9), 1);

  SetHand(c, {B(1), B(2), B(3)});
  CountHand(c);
  EvaluateSuit(c, 1, B(2));
  EXPECT_EQ(e.KindCount(1)(2), 1);
  EXPECT_EQ(e.SetTileCount(1)(2), 0);
}

TEST(HandEvaluation, CountHandCutsValuesToTheLowByte) {
  ClientHarness h;
  Client& c = h.c();
  SetHand(c, {0x2000 | D(4), D(4), 0x1A, 0});  // a claim-coded tile, an odd rank, no tile
  CountHand(c);
  EXPECT_EQ(c.table.custom(0).mj(4).value, D(4));
  EXPECT_EQ(c.evaluation.KindCount(3)(4), 2);
  EXPECT_EQ(c.evaluation.KindCount(0)(10), 0);
}

TEST(HandEvaluation, SixteenBitOverflowFails) {
  ClientHarness h;
  Client& c = h.c();
  SetHand(c, {B(1)});
  c.table.SeenCount(1)(0) = 20000;  // twice that does not fit
  CountHand(c);
  EXPECT_THROW(EvaluateSuit(c, 0, B(1)), RuntimeFailure);
}

struct ClaimCase {
  const char* name;
  std::vector<int> hand;
  int kind;
  int tile;
  bool expected;
  short first, second;  // ClaimFirst and ClaimSecond afterwards
};

TEST(HandEvaluation, ShouldClaimWeighsTheGain) {
  // The hand lies at mj(4..); the chow result names mj indexes.
  const ClaimCase cases[] = {
      {"chow forming nothing", {D(1), D(9), B(1), B(9), kEast}, 1, B(5), false, 0, 0},
      {"chow completing 3-4-5", {D(1), D(2), B(3), B(4), kEast}, 1, B(5), true, 6, 7},
      {"chow that only breaks a run", {D(7), B(3), B(4), B(5)}, 1, B(6), false, 6, 7},
      {"chow on 1 of characters: only 2-3", {W(2), W(3), kRed}, 1, W(1), true, 4, 5},
      {"chow on 1 that only moves a run", {W(2), W(3), W(4), kRed}, 1, W(1), false, 4, 5},
      {"chow takes the better of two ways", {B(2), B(3), B(3), B(5)}, 1, B(4), true, 5, 7},
      {"pung of a pair of dragons", {kRed, kRed, D(9)}, 2, kRed, true, kRed, 0},
      {"pung breaking a run", {D(4), D(5), D(5), D(6)}, 2, D(5), false, D(5), 0},
  };
  for (const auto& k : cases) {
    ClientHarness h;
    Client& c = h.c();
    SetHand(c, k.hand);
    EXPECT_EQ(ShouldClaim(c, k.kind, k.tile), k.expected) << k.name;
    EXPECT_EQ(c.evaluation.ClaimFirst, k.first) << k.name;
    EXPECT_EQ(c.evaluation.ClaimSecond, k.second) << k.name;
  }
}

TEST(HandEvaluation, ChooseDiscardPicksTheBestTileUnlessALoneTileWasChosen) {
  struct Case {
    const char* name;
    std::vector<int> hand;
    short seenEast;
    int expected;
  };
  const Case cases[] = {
      {"the lone honour goes", {D(1), D(2), D(3), kNorth, D(7), D(8), D(9)}, 0, kNorth},
      {"the last tile, alone in its suit, stays chosen", {D(1), D(2), D(3), kNorth, B(5)}, 0, B(5)},
      // Throwing the bamboo 5 is judged first; once chosen, the lone bamboo is kept although
      // throwing the well-seen east later scores higher.
      {"a lone tile once chosen is kept", {B(5), D(1), D(2), D(3), kEast, D(9)}, 10, B(5)},
  };
  for (const auto& k : cases) {
    ClientHarness h;
    Client& c = h.c();
    SetHand(c, k.hand);
    c.table.SeenCount(0)(0) = k.seenEast;
    EXPECT_EQ(ChooseDiscard(c), k.expected) << k.name;
  }
}

// The discard choice judged tile by tile from freshly counted tables, in the plainest way.
int PlainDiscardChoice(Client& c) {
  const auto& me = c.table.custom(0);
  const int first = me.HandStart, last = me.HandStart + me.HandCount - 1;
  int best = -20000, choice = last;
  for (int i = first; i <= last; ++i) {
    const int s = BitPosition((me.mj(i).value & 0xFF) >> 4);
    int total = 0;
    for (int k = 0; k <= 3; ++k) {
      if (k == s) continue;
      CountHand(c);
      total += EvaluateSuit(c, 0, (1 << k) * 16 + 1);
    }
    CountHand(c);
    total += EvaluateSuit(c, 1, me.mj(i).value);
    if (total <= best) continue;
    best = total;
    int sameSuit = 0;
    for (int j = first; j <= last; ++j) {
      sameSuit += ((me.mj(j).value ^ me.mj(choice).value) & 0xF0) == 0;
    }
    if (sameSuit >= 2) choice = i;
  }
  return me.mj(choice).value;
}

TEST(HandEvaluation, ChooseDiscardReturnsAHandTileAsTileByTileJudgementDoes) {
  std::mt19937 rng(20261209);
  std::vector<int> kinds;
  for (int r = 1; r <= 7; ++r) kinds.push_back(0x10 + r);
  for (int suit : {0x20, 0x40, 0x80}) {
    for (int r = 1; r <= 9; ++r) kinds.push_back(suit + r);
  }
  ClientHarness h;
  Client& c = h.c();
  for (int round = 0; round < 2000; ++round) {
    std::vector<int> wall;
    for (int k : kinds) wall.insert(wall.end(), 4, k);
    std::shuffle(wall.begin(), wall.end(), rng);
    const int start = 4 + 3 * static_cast<int>(rng() % 3);  // after 0, 1 or 2 sets
    const int count = 1 + static_cast<int>(rng() % static_cast<unsigned>(21 - start));
    std::vector<int> hand(wall.begin(), wall.begin() + count);
    if (rng() % 2 == 0) std::sort(hand.begin(), hand.end(), std::greater<>());
    SetHand(c, hand, start);
    for (auto& row : c.table.SeenCount) {
      for (auto& s : row) s = static_cast<short>(rng() % 5);
    }
    const int t = ChooseDiscard(c);
    EXPECT_EQ(t, PlainDiscardChoice(c)) << "round " << round;
    EXPECT_NE(std::find(hand.begin(), hand.end(), t), hand.end()) << "round " << round;
    const int last = hand.back();
    if (std::count_if(hand.begin(), hand.end(),
                      [&](int v) { return (v & 0xF0) == (last & 0xF0); }) == 1) {
      EXPECT_EQ(t, last) << "round " << round;
    }
  }
}

TEST(HandEvaluation, HandNearlyCompleteAllowsAtMost99Lost) {
  struct Case {
    std::vector<int> hand;
    bool expected;
  };
  const Case cases[] = {
      {{B(1), B(2), B(3), D(4), D(5), D(6), W(7), W(8), W(9), kEast, kEast, kEast, D(5), D(5)},
       true},
      {{B(1), B(2), B(3), kNorth}, false},             // exactly -100
      {{B(1), B(2), B(3), kNorth, D(5), D(5)}, true},  // -100 + 28
      {{B(1), B(2), B(3), kNorth, B(5)}, false},       // -100 - 19
      {{kRed, kRed}, true},                            // -30
  };
  for (const auto& k : cases) {
    ClientHarness h;
    SetHand(h.c(), k.hand);
    EXPECT_EQ(HandNearlyComplete(h.c()), k.expected) << ::testing::PrintToString(k.hand);
  }
}

}  // namespace
}  // namespace tallow::testing
