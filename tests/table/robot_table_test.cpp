// Four robot clients and the server's core play whole games in virtual time; every client's
// view is compared with the server's after every message it handles.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "doubles/table_harness.h"

namespace tallow::testing {
namespace {

// Hands finished at table 0, from the seating interface.
int FinishedHands(server::Server& core) {
  std::istringstream in(core.Command("hands 0"));
  std::string ok;
  int started = 0, finished = 0;
  in >> ok >> started >> finished;
  return finished;
}

// The local concealed tiles must be the server's for that seat whenever a hand is in play.
void CheckConcealed(TableHarness& t, int seat, const SeatView& view, Client& c) {
  if (!view.inHand || view.type == 4 || view.type == 41) return;
  const auto mine = ClientConcealed(c);
  if (mine != view.concealed && t.failures.size() < 20) {
    std::ostringstream msg;
    msg << "hand " << FinishedHands(t.core) + 1 << ", seat " << seat << " after type " << view.type
        << " (" << view.detail << "): client holds " << mine.size() << " tiles, server "
        << view.concealed.size();
    t.failures.push_back(msg.str());
  }
}

int HandsFromEnvironment(int fallback) {
  const char* v = std::getenv("TALLOW_ROBOT_HANDS");
  return v != nullptr ? std::atoi(v) : fallback;
}

TEST(RobotTable, RobotsPlayHandsToTheirResultsAndAgreeWithTheServer) {
  const int wanted = HandsFromEnvironment(20);
  server::Config config;
  config.startCoins = 1'000'000'000;  // nobody runs out of coins in a long game
  TableHarness t(2024, true, config);
  t.check = [&](int seat, const SeatView& v, Client& c) { CheckConcealed(t, seat, v, c); };
  t.StartAll(/*robotClients=*/true);
  const bool done = t.Run(
      static_cast<std::int64_t>(wanted) * 600'000, [&] { return FinishedHands(t.core) >= wanted; },
      50);
  for (const auto& f : t.failures) ADD_FAILURE() << f;
  EXPECT_TRUE(done) << "finished " << FinishedHands(t.core) << " of " << wanted << " hands";
  for (auto& s : t.seats) EXPECT_FALSE(s->ended.has_value());
  RecordProperty("virtual_seconds", static_cast<int>(t.clock.NowMs() / 1000));
  std::printf("virtual time: %lld s for %d hands\n", static_cast<long long>(t.clock.NowMs() / 1000),
              wanted);
}

}  // namespace
}  // namespace tallow::testing
