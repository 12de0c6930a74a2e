// Four clients and the server's core at one table, in virtual time.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tallow::testing
