// The hall's seating commands: reservations, the table list and the hand count.
#include <gtest/gtest.h>

#include <chrono>

#include "core/server.h"
#include "protocol/record_builder.h"
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

TEST(SeatingInterface, AReservationIsUsedUpByItsLogin) {
  Config c;
  c.maxTables = 4096;
  Server core(c, 1);
  ASSERT_EQ(core.Command("seat alice 0 0"), "ok");
  EXPECT_EQ(LogIn(core, 1, "alice"), std::make_pair(0, 0));
  core.Receive(1, protocol::BuildRecord(protocol::ClientCode::SeatState, 1, {0, 0, 0, 0}));
  core.Disconnect(1);
  ASSERT_EQ(core.SeatOf("alice"), std::nullopt);
  EXPECT_EQ(LogIn(core, 2, "bob"), std::make_pair(0, 0));    // the seat is no longer held
  EXPECT_EQ(LogIn(core, 3, "alice"), std::make_pair(0, 1));  // nor is alice bound to it

  // Many reservations do not slow a login down (one took most of a second with 16,000).
  for (int t = 1; t < 4096; ++t) {
    for (int k = 0; k < 4; ++k)
      core.Command("seat r" + std::to_string(t * 4 + k) + " " + std::to_string(t) + " " +
                   std::to_string(k));
  }
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(LogIn(core, 4, "carol"), std::make_pair(0, 2));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}

TEST(Profiles, AnAccountWithoutASessionIsForgottenAfterAnHourInOpenMode) {
  Config c;
  c.users["kept"].password = "pw";
  c.openMode = true;
  Server core(c, 1);
  for (const char* a : {"ghost", "kept", "seated"}) LogIn(core, a[0], a);
  for (const char* a : {"ghost", "kept"}) {
    core.Receive(a[0], protocol::BuildRecord(protocol::ClientCode::SeatState, 0, {0, 0, 0, 0}));
    core.Disconnect(a[0]);
  }
  // The core looks once a minute.
  for (int minute = 0; minute < 60; ++minute) core.Advance(60'000);
  EXPECT_NE(core.ProfileOf("ghost"), nullptr);
  core.Advance(60'000);
  EXPECT_EQ(core.ProfileOf("ghost"), nullptr);
  EXPECT_NE(core.ProfileOf("kept"), nullptr);    // in the users file
  EXPECT_NE(core.ProfileOf("seated"), nullptr);  // still at the table
}

}  // namespace
}  // namespace tallow::server
