#include "core/scoring.h"

#include <gtest/gtest.h>

namespace tallow::server {
namespace {

// Byte b (16..44) of a seat's settlement record.
int At(const Settlement& s, int seat, int b) {
  return s.bytes[static_cast<std::size_t>(seat)][static_cast<std::size_t>(b - 16)];
}

std::uint64_t Amount(const Settlement& s, int seat) {
  std::uint64_t v = 0;
  for (int k = 7; k >= 0; --k) v = v * 256 + static_cast<std::uint64_t>(At(s, seat, 36 + k));
  return v;
}

// Winner 0 (not dealer); seat 1 open; seat 2 closed; seat 3 closed and dealer: with a
// self-drawn win the payers have 1, 2 and 3 fans.
std::array<SeatFacts, 4> Table() {
  std::array<SeatFacts, 4> f{};
  f[0].open = true;
  f[1].open = true;
  f[3].dealer = true;
  return f;
}

TEST(Settle, SelfDrawnWinEachSeatPaysItsOwnFans) {
  WinFacts w;
  w.winner = 0;
  const auto s = Settle(w, Table(), 2);
  EXPECT_EQ(s.fans[1], 1);
  EXPECT_EQ(s.fans[2], 2);
  EXPECT_EQ(s.fans[3], 3);
  EXPECT_EQ(s.handScore, (std::array<std::int64_t, 4>{28, -4, -8, -16}));
  EXPECT_EQ(s.amount, s.handScore);
  EXPECT_EQ(At(s, 0, 24), 1);
  EXPECT_EQ(At(s, 0, 20), 2);  // 自摸
  for (int p = 1; p < 4; ++p) {
    EXPECT_EQ(At(s, p, 24), 2);
    EXPECT_EQ(At(s, p, 25), s.fans[static_cast<std::size_t>(p)]);
    EXPECT_EQ(At(s, p, 20), 0);
  }
  EXPECT_EQ(At(s, 2, 27), 0);  // 闭门
  EXPECT_EQ(At(s, 1, 27), 1);
  EXPECT_EQ(At(s, 3, 28), 1);  // dealer
  EXPECT_EQ(Amount(s, 0), 28u);
  EXPECT_EQ(At(s, 0, 44), 0);
  EXPECT_EQ(Amount(s, 3), 16u);
  EXPECT_EQ(At(s, 3, 44), 2);
}

TEST(Settle, DiscarderPaysForEveryone) {
  WinFacts w;
  w.winner = 0;
  w.discarder = 1;
  const auto s = Settle(w, Table(), 2);
  EXPECT_EQ(s.fans[1], 2);  // 点炮 adds one fan to the discarder
  EXPECT_EQ(s.handScore, (std::array<std::int64_t, 4>{32, -32, 0, 0}));
  EXPECT_EQ(At(s, 1, 20), 1);
  EXPECT_EQ(At(s, 0, 20), 1);
  EXPECT_EQ(At(s, 2, 20), 0);
}

TEST(Settle, WinnerFansAreEncodedAndCounted) {
  auto seats = Table();
  seats[0].dragonSets = 2;
  WinFacts w;
  w.winner = 0;
  w.closedWait = true;
  w.allPungs = true;
  w.kongDraw = true;
  w.lastTile = true;
  w.othersClosed = true;
  // 自摸 1 + 夹胡 1 + 三家立 2 + 飘胡 2 + 喜儿 2 + 杠开 1 + 海捞 1 = 10
  EXPECT_EQ(WinnerFans(w, seats), 10);
  const auto s = Settle(w, seats, 1);
  EXPECT_EQ(At(s, 0, 17), 1);
  EXPECT_EQ(At(s, 0, 18), 0x11);
  EXPECT_EQ(At(s, 0, 19), 0x22);
  EXPECT_EQ(At(s, 0, 29), 1);
  EXPECT_EQ(s.fans[3], kMaxFans);  // 10 + dealer + closed, capped
  EXPECT_EQ(s.handScore[3], -(1 << kMaxFans));

  w = WinFacts{};
  w.singleWait = true;
  w.robbedKong = true;
  w.discarder = 2;
  const auto r = Settle(w, seats, 1);
  EXPECT_EQ(At(r, 0, 18), 0x22);
}

TEST(Settle, KongFedBeforeAKongDrawCostsTheFeederAFan) {
  WinFacts w;
  w.winner = 0;
  w.kongDraw = true;
  w.kongFeeder = 2;
  const auto s = Settle(w, Table(), 1);
  EXPECT_EQ(s.fans[2], 1 + 1 + 1 + 1);  // 自摸, 杠开, 闭门, 杠点
  EXPECT_EQ(At(s, 2, 26), 1);
  EXPECT_EQ(At(s, 1, 26), 0);
}

TEST(Settle, KongScoresJoinTheFinalAmount) {
  auto seats = Table();
  seats[2].kongUnits = 3;  // one exposed kong: +1 stake from each other seat
  seats[2].exposedKongs = 1;
  seats[0].kongUnits = -1;
  seats[1].kongUnits = -1;
  seats[1].kongFeeds = 1;
  seats[3].kongUnits = -1;
  WinFacts w;
  w.winner = 0;
  const auto s = Settle(w, seats, 5);
  EXPECT_EQ(s.amount[2], s.handScore[2] + 15);
  EXPECT_EQ(s.amount[0], s.handScore[0] - 5);
  EXPECT_EQ(At(s, 2, 21), 1);
  EXPECT_EQ(At(s, 2, 31), 1);
  EXPECT_EQ(At(s, 2, 32), 3);
  EXPECT_EQ(At(s, 1, 31), 2);
  EXPECT_EQ(At(s, 1, 32), 1);
  EXPECT_EQ(At(s, 1, 30), 1);
  std::int64_t sum = 0;
  for (auto a : s.amount) sum += a;
  EXPECT_EQ(sum, 0);
}

}  // namespace
}  // namespace tallow::server
