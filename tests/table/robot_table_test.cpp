// Four robot clients and the server's core play whole games in virtual time; every client's
// view is compared with the server's after every message it handles.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "doubles/table_checks.h"
#include "doubles/table_harness.h"
#include "support/digest.h"

namespace tallow::testing {
namespace {

// The golden record of the first hundred hands at seed 2024: the FNV-1a digest of every record
// the server sent, each preceded by the receiving seat's index, from the first login to the
// first moment the table has finished a hundred hands, and what seat 0 saw of claims and fans
// by then. A change of the robots' or the server's play changes it, and is then updated here on
// purpose.
constexpr int kGoldenHands = 100;
struct Golden {
  std::uint64_t digest = 0;
  int won = 0, drawn = 0;
  std::map<std::string, int> claims, fans;
};
const Golden kGolden = {
    0xF983EAD492B9C155ULL,
    99,
    0,
    {{"chow", 174},
     {"concealed kong", 4},
     {"exposed kong", 15},
     {"one-tile kong", 3},
     {"pung", 209},
     {"win", 99}},
    {{"三家立", 10}, {"单砸", 13}, {"夹胡", 11}, {"杠开", 1}, {"飘喜儿", 3}, {"飘胡", 2}}};

TEST(RobotTable, RobotsPlayHandsToTheirResultsAndAgreeWithTheServer) {
  const int wanted = HandsFromEnvironment("TALLOW_ROBOT_HANDS", 1000);
  server::Config config;
  config.startCoins = 1'000'000'000;  // nobody runs out of coins in a long game
  TableHarness t(2024, true, config);
  // What the robots did, seen from seat 0: every operation result, and each hand's end.
  std::map<std::string, int> claims, fans;
  int won = 0, drawn = 0, selfDrawn = 0;
  // Tiles left in the wall when each won hand ended (a drawn hand leaves the reserve of two).
  int leftAtWin = 0, fewestLeft = 1000;
  const server::Hand* lastHand = nullptr;
  TableChecker checker;
  t.check = [&](int seat, const SeatView& v, Client& c) {
    checker.Check(v, c, t.failures);
    if (seat != 0) return;
    if (v.type == 7) {
      static const std::map<int, std::string> kOps = {{4, "chow"},           {8, "pung"},
                                                      {16, "exposed kong"},  {32, "concealed kong"},
                                                      {64, "one-tile kong"}, {128, "win"}};
      if (auto it = kOps.find(v.value[0] & 0xFF); it != kOps.end()) ++claims[it->second];
    }
    const server::Hand* hand = t.core.HandAt(0);
    if (v.type == 9 && hand != nullptr && hand != lastHand && hand->Over()) {
      lastHand = hand;
      if (hand->winner() < 0 || !hand->settlement()) {
        ++drawn;
        return;
      }
      ++won;
      leftAtWin += hand->wall().Remaining();
      fewestLeft = std::min(fewestLeft, hand->wall().Remaining());
      const auto& b = hand->settlement()->bytes[static_cast<std::size_t>(hand->winner())];
      auto at = [&](int byte) { return static_cast<int>(b[static_cast<std::size_t>(byte - 16)]); };
      if (at(20) == 2) ++selfDrawn;
      if ((at(17) & 15) == 1) ++fans["三家立"];
      if ((at(18) & 15) == 1) ++fans["夹胡"];
      if ((at(18) & 15) == 2) ++fans["单砸"];
      if ((at(18) >> 4) == 1) ++fans["杠开"];
      if ((at(18) >> 4) == 2) ++fans["抢杠"];
      if ((at(19) & 15) == 2) ++fans["飘胡"];
      if ((at(19) >> 4) >= 1) ++fans["飘喜儿"];
      if (at(29) == 1) ++fans["海捞"];
    }
  };
  Fnv1a64 digest;
  std::optional<Golden> golden;  // taken once the golden hands are done
  t.onSend = [&](int seat, const protocol::Record& rec) {
    if (golden) return;
    digest.Add(static_cast<std::uint8_t>(seat));
    digest.Add(rec);
  };
  t.StartAll(/*robotClients=*/true);
  const auto started = std::chrono::steady_clock::now();
  const bool done = t.Run(
      static_cast<std::int64_t>(wanted) * 600'000,
      [&] {
        const int finished = t.core.FinishedHandsAt(0);
        if (!golden && finished >= kGoldenHands) {
          golden = Golden{digest.value(), won, drawn, claims, fans};
        }
        return finished >= wanted;
      },
      50);
  for (const auto& f : t.failures) ADD_FAILURE() << f;
  EXPECT_TRUE(done) << "finished " << t.core.FinishedHandsAt(0) << " of " << wanted << " hands";
  for (auto& s : t.seats) EXPECT_FALSE(s->ended.has_value());
  // The robots must play, not only time out: they win, and they claim.
  EXPECT_GT(won, 0);
  EXPECT_GT(claims["pung"] + claims["chow"], 0);
  std::printf("hands %d: won %d (self-drawn %d), drawn %d\n", won + drawn, won, selfDrawn, drawn);
  if (won > 0) {
    std::printf("wall left at a win: %.1f tiles on average, %d at the least\n",
                static_cast<double>(leftAtWin) / won, fewestLeft);
  }
  if (golden) {
    std::printf("golden digest of %d hands: 0x%016llX\n", kGoldenHands,
                static_cast<unsigned long long>(golden->digest));
    EXPECT_EQ(golden->digest, kGolden.digest) << std::hex << golden->digest;
    EXPECT_EQ(golden->won, kGolden.won);
    EXPECT_EQ(golden->drawn, kGolden.drawn);
    EXPECT_EQ(golden->claims, kGolden.claims);
    EXPECT_EQ(golden->fans, kGolden.fans);
  }
  for (const auto& [k, n] : claims) std::printf("claim %s: %d\n", k.c_str(), n);
  for (const auto& [k, n] : fans) std::printf("fan %s: %d\n", k.c_str(), n);
  std::printf("records compared: %llu\n", static_cast<unsigned long long>(checker.checks));
  for (int s = 0; s < 4; ++s) {
    if (t.silent[static_cast<std::size_t>(s)] > 0) {
      std::printf("seat %d left %d offers unanswered for 20 s\n", s,
                  t.silent[static_cast<std::size_t>(s)]);
    }
  }
  for (const auto& [bits, n] : t.silentOffers) std::printf("  after offer %d: %d\n", bits, n);
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
  std::printf("%d hands in %.2f s: %.0f hands a second\n", t.core.FinishedHandsAt(0), spent.count(),
              t.core.FinishedHandsAt(0) / spent.count());
  std::printf("virtual time: %lld s for %d hands\n", static_cast<long long>(t.clock.NowMs() / 1000),
              wanted);
}

}  // namespace
}  // namespace tallow::testing
