// Four robot clients and the server's core in virtual time; seats lose their links at random
// points of the hands (during the deal, while a claim is offered, on their own turn, anywhere)
// and reconnect by themselves. Every hand must reach its result, and every client's view must
// equal the server's after every message it handles, the restored hands' too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "doubles/link_breaker.h"
#include "doubles/table_checks.h"
#include "doubles/table_harness.h"

namespace tallow::testing {
namespace {

TEST(LinkLoss, SeatsLoseTheirLinksAndEveryHandEndsAsTheServerHasIt) {
  const int wanted = HandsFromEnvironment("TALLOW_LINK_LOSS_HANDS", 300);
  server::Config config;
  config.startCoins = 1'000'000'000;
  TableHarness t(77, true, config);
  TableChecker checker;
  t.check = [&](int, const SeatView& v, Client& c) { checker.Check(v, c, t.failures); };
  LinkBreaker links(t, 77);
  t.StartAll(/*robotClients=*/true);
  const bool done = t.Run(
      static_cast<std::int64_t>(wanted) * 600'000,
      [&] { return t.core.FinishedHandsAt(0) >= wanted; }, 50);
  for (const auto& f : t.failures) ADD_FAILURE() << f;
  EXPECT_TRUE(done) << "finished " << t.core.FinishedHandsAt(0) << " of " << wanted << " hands";
  for (auto& s : t.seats) EXPECT_FALSE(s->ended.has_value()) << s->ended->reason;
  EXPECT_GT(links.handsWithBreak, wanted / 3);
  EXPECT_GE(links.endsSeen,
            links.handsWithBreak - 1);  // the last hand's result may still be on its way
  EXPECT_GT(links.checkedAfterRestore, links.handsWithBreak * 10);
  // A returning player answers what he is offered again: no offer is left to the server.
  for (const auto& s : t.silences) ADD_FAILURE() << s;
  for (int n : links.byMoment) EXPECT_GT(n, 0);
  auto& ms = links.restoreMs;
  ASSERT_FALSE(ms.empty());
  std::sort(ms.begin(), ms.end());
  const auto& m = links.byMoment;
  std::printf(
      "hands %d, with a lost link %d (%d breaks: deal %d, claim %d, own turn %d, anywhere %d; "
      "the hand's result seen after %d); %d records compared after restores; link back to "
      "restored table: median %lld ms, max %lld ms\n",
      t.core.FinishedHandsAt(0), links.handsWithBreak, links.breaks, m[0], m[1], m[2], m[3],
      links.endsSeen, links.checkedAfterRestore, static_cast<long long>(ms[ms.size() / 2]),
      static_cast<long long>(ms.back()));
}

}  // namespace
}  // namespace tallow::testing
