// Four clients and the server's core at one table, in virtual time.
#include <gtest/gtest.h>

#include "base/tiles.h"
#include "doubles/table_harness.h"

namespace tallow::testing {
namespace {

TEST(WholeTable, FourSeatsLogInAndStartAHandWhereTheServerBreaksTheWall) {
  TableHarness t(7);
  int newHands = 0;
  t.check = [&](int seat, const SeatView& view, Client& c) {
    if (view.type != 4) return;
    ++newHands;
    if (c.table.WallHead != view.wallStart) {
      t.failures.push_back("seat " + std::to_string(seat) + " WallHead " +
                           std::to_string(c.table.WallHead) + " server " +
                           std::to_string(view.wallStart));
    }
  };
  t.StartAll();
  const bool started = t.Run(60'000, [&] { return newHands == 4; });
  for (const auto& f : t.failures) ADD_FAILURE() << f;
  ASSERT_TRUE(started) << "the hand did not start at every seat";
  for (auto& s : t.seats) {
    EXPECT_FALSE(s->ended.has_value());
    EXPECT_NE(s->client->session.TableActive, 0);
    EXPECT_EQ(s->hall.Posts().front(), 0x16u);
  }
}

TEST(WholeTable, EveryClientHoldsItsDealtHandSortedWhenTheHandBegins) {
  // A client sorts its hand at the end of the deal only while it knows of no wild tile; the
  // claim searches (a pung's pair, an exposed kong's three tiles) read equal tiles side by side.
  TableHarness t(11);
  int wildTold = 0;
  std::array<int, 4> dealt{};
  t.check = [&](int seat, const SeatView& view, Client& c) {
    if (view.type == 1 || view.type == 5) ++dealt[static_cast<std::size_t>(seat)];
    if (view.type != 14) return;
    ++wildTold;
    EXPECT_EQ(dealt[static_cast<std::size_t>(seat)], 17)
        << "seat " << seat << " learnt the wild tile during the deal";
    SeatRecord sorted = c.table.custom(0);
    SortHandValues(sorted, sorted.HandCount);
    const SeatRecord& me = c.table.custom(0);
    for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
      EXPECT_EQ(me.mj(k).value, sorted.mj(k).value) << "seat " << seat << " mj(" << k << ")";
    }
  };
  t.StartAll();
  ASSERT_TRUE(t.Run(60'000, [&] { return wildTold == 4; }));
  for (const auto& f : t.failures) ADD_FAILURE() << f;
}

}  // namespace
}  // namespace tallow::testing
