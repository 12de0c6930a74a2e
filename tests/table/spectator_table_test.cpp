// Four robot clients play while a fifth client watches one seat: a spectator joins at a chosen
// moment of a hand (during the deal, after a kong, after a chow, near the end of the wall, at
// any record, between hands), watches to the hand's end and leaves; the next joins later. After
// its restore and after every record it handles, its table agrees with the watched player's and
// shows no face it cannot know.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <random>

#include "doubles/spectator_visits.h"
#include "doubles/table_harness.h"

namespace tallow::testing {
namespace {

namespace op = protocol::op;

enum class Join { Deal, Kong, Chow, WallEnd, Anytime, BetweenHands };
constexpr Join kJoins[] = {Join::Deal,    Join::Kong,    Join::Chow,
                           Join::WallEnd, Join::Anytime, Join::BetweenHands};
const char* Name(Join j) {
  switch (j) {
    case Join::Deal:
      return "during the deal";
    case Join::Kong:
      return "after a kong";
    case Join::Chow:
      return "after a chow";
    case Join::WallEnd:
      return "near the end of the wall";
    case Join::Anytime:
      return "at any record";
    case Join::BetweenHands:
      return "between hands";
  }
  return "?";
}

// A table with a spectator that joins when `when` says (given each record sent to seat 0) and
// leaves once it has seen the hand's result.
struct WatchedTable {
  using When = std::function<std::optional<Join>(int type, int operation, const server::Hand*)>;

  WatchedTable(std::uint64_t seed, server::Config config, bool robotClients, When when)
      : t(seed, true, config),
        visits(
            t, static_cast<std::uint32_t>(seed),
            [when = std::move(when)](int type, int operation,
                                     const server::Hand* hand) -> std::optional<std::string> {
              if (const auto j = when(type, operation, hand)) return Name(*j);
              return std::nullopt;
            },
            robotClients),
        watch(visits.watch),
        joins(visits.joins) {
    t.StartAll(robotClients);
  }

  void Play(int wanted) {
    const auto started = std::chrono::steady_clock::now();
    const bool done = t.Run(
        static_cast<std::int64_t>(wanted) * 600'000,
        [&] { return t.core.FinishedHandsAt(0) >= wanted; }, 50);
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
    for (const auto& f : t.failures) ADD_FAILURE() << f;
    EXPECT_TRUE(done) << "finished " << t.core.FinishedHandsAt(0) << " of " << wanted << " hands";
    for (const auto& [kind, n] : joins) std::printf("joins %s: %d\n", kind.c_str(), n);
    std::printf("spectator views compared with the player's: %llu, checked: %llu\n",
                static_cast<unsigned long long>(watch.compared),
                static_cast<unsigned long long>(watch.checked));
    std::printf("%d hands with a spectator in %.2f s: %.0f hands a second\n",
                t.core.FinishedHandsAt(0), spent.count(),
                t.core.FinishedHandsAt(0) / spent.count());
  }

  TableHarness t;
  SpectatorVisits visits;
  SpectatorChecker& watch;
  std::map<std::string, int>& joins;
};

server::Config Rich() {
  server::Config config;
  config.startCoins = 1'000'000'000;  // nobody runs out of coins in a long game
  return config;
}

TEST(SpectatorTable, AWatcherJoiningAnywhereAgreesWithTheWatchedPlayer) {
  std::mt19937 draw(77);
  Join next = Join::Deal;
  int countdown = 0;  // records of seat 0 before an "any record" or deal join
  // The next join's moment is drawn afresh for every hand. Kongs and long hands are rare: a
  // join that waits for a kong also takes the wall's last third, and every hand that gets that
  // far without a spectator gets one.
  auto arm = [&] {
    next = kJoins[draw() % 6];
    countdown = static_cast<int>(draw() % (next == Join::Deal ? 16 : 150));
  };
  arm();
  WatchedTable w(77, Rich(), true,
                 [&](int type, int operation, const server::Hand* hand) -> std::optional<Join> {
                   if (type == 4) arm();
                   if (type == 9) {
                     if (next == Join::BetweenHands) return Join::BetweenHands;
                     return std::nullopt;
                   }
                   const bool kong =
                       type == 7 && (operation == op::kKong || operation == op::kConcealedKong ||
                                     operation == op::kOneTileKong);
                   // Robots seldom leave a hand undecided with fewer than 28 tiles left.
                   if (hand != nullptr && type == 5 && hand->wall().Remaining() <= 28) {
                     return Join::WallEnd;
                   }
                   if ((next == Join::Kong || next == Join::WallEnd) && kong) return Join::Kong;
                   if (next == Join::Deal && type == 1 && --countdown < 0) return Join::Deal;
                   if (next == Join::Chow && type == 7 && operation == op::kChow) {
                     return Join::Chow;
                   }
                   if (next == Join::Anytime && hand != nullptr && --countdown < 0) {
                     return Join::Anytime;
                   }
                   return std::nullopt;
                 });
  w.Play(HandsFromEnvironment("TALLOW_SPECTATOR_HANDS", 300));
  for (Join j : kJoins) EXPECT_GT(w.joins[Name(j)], 0) << "no join " << Name(j);
  EXPECT_GT(w.watch.compared, 1000u);
}

// Clients that never answer: the server plays for them after a moment, nobody wins, and every
// wall runs out. The spectator joins with 2 to 12 tiles left and is checked against the server.
TEST(SpectatorTable, AWatcherJoiningAsTheWallRunsOutAgreesWithTheServer) {
  server::Config config = Rich();
  config.actLimitMs = 300;
  std::mt19937 draw(5);
  int left = 2;
  WatchedTable w(5, config, false,
                 [&](int type, int, const server::Hand* hand) -> std::optional<Join> {
                   if (type == 4) left = 2 + static_cast<int>(draw() % 11);
                   if (hand != nullptr && type == 5 && hand->wall().Remaining() <= left) {
                     return Join::WallEnd;
                   }
                   return std::nullopt;
                 });
  w.Play(HandsFromEnvironment("TALLOW_SPECTATOR_DRAWN_HANDS", 12));
  EXPECT_GE(w.joins[Name(Join::WallEnd)], 5);
  EXPECT_GT(w.watch.checked, 20u);
}

}  // namespace
}  // namespace tallow::testing
