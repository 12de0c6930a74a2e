// The hall's seating commands: reservations, the table list and the hand count.
#include <gtest/gtest.h>

#include "core/server.h"
#include "testing/table_driver.h"

namespace tallow::server {
namespace {

using testing::LoginRecord;

// Logs an account in on a fresh connection; returns where it sits.
std::optional<std::pair<int, int>> LogIn(Server& core, int conn, const std::string& account) {
  core.Connect(conn);
  core.Receive(conn, LoginRecord(account, "pw"));
  return core.SeatOf(account);
}

TEST(SeatingInterface, ReservedSeatsGoToTheirAccountsAndNobodyElse) {
  Server core(Config{}, 1);
  ASSERT_EQ(core.Command("seat alice 0 0"), "ok");
  ASSERT_EQ(core.Command("seat bob 2 3"), "ok");
  ASSERT_EQ(core.Command("seat gone 0 1"), "ok");
  ASSERT_EQ(core.Command("unseat gone"), "ok");
  // Free placement skips the seat still reserved for alice; the one given up is free again.
  EXPECT_EQ(LogIn(core, 1, "carol"), std::make_pair(0, 1));
  EXPECT_EQ(LogIn(core, 2, "dave"), std::make_pair(0, 2));
  EXPECT_EQ(LogIn(core, 3, "bob"), std::make_pair(2, 3));
  EXPECT_EQ(LogIn(core, 4, "alice"), std::make_pair(0, 0));
  EXPECT_EQ(core.Command("tables"), "ok 0:alice,carol,dave,-:waiting 2:-,-,-,bob:waiting");
  EXPECT_EQ(core.Command("hands 0"), "ok 0 0");
  EXPECT_EQ(core.Command("hands 7"), "ok 0 0");
}

TEST(SeatingInterface, ASeatTakenBySomeoneElseRefusesItsReservation) {
  Server core(Config{}, 1);
  EXPECT_EQ(LogIn(core, 1, "carol"), std::make_pair(0, 0));
  ASSERT_EQ(core.Command("seat alice 0 0"), "ok");
  EXPECT_EQ(LogIn(core, 2, "alice"), std::nullopt);
}

}  // namespace
}  // namespace tallow::server
