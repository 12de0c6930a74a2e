#include "robot_plan.h"

#include <gtest/gtest.h>

#include <set>

namespace tallow::hall {
namespace {

TableSeats Table(int n, std::array<std::string, 4> accounts) {
  return {n, accounts, false};
}

struct Plan {
  const char* name;
  std::vector<TableSeats> tables;
  std::optional<int> playerSeat;
  std::set<int> running;
  int count;
  std::vector<int> want;
};

class RobotSeatsCase : public testing::TestWithParam<Plan> {};

TEST_P(RobotSeatsCase, ChoosesFreeSeats) {
  const Plan& p = GetParam();
  EXPECT_EQ(RobotSeats(p.tables, 0, p.playerSeat, p.running, p.count), p.want);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, RobotSeatsCase,
    testing::Values(
        Plan{"UnknownTableAllButPlayer", {}, 1, {}, 3, {0, 2, 3}},
        Plan{"NoPlayerSeat", {}, std::nullopt, {}, 4, {0, 1, 2, 3}},
        Plan{"TakenSeatsSkipped", {Table(0, {"", "bob", "", ""})}, 0, {}, 3, {2, 3}},
        Plan{"RunningRobotsSkipped", {}, 0, {2}, 3, {1, 3}}, Plan{"CountLimits", {}, 0, {}, 1, {1}},
        Plan{"OtherTablesIgnored", {Table(1, {"a", "b", "c", "d"})}, 3, {}, 3, {0, 1, 2}},
        Plan{"FullTable", {Table(0, {"a", "b", "c", "d"})}, std::nullopt, {}, 3, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RobotNames, EverySeatOfTheServerHasItsOwnNamesAndCaptions) {
  std::set<std::string> seen;
  for (int t = 0; t < 64; ++t) {
    for (int k = 0; k < 4; ++k) {
      const int n = RobotNumber(t, k);
      EXPECT_TRUE(seen.insert(RobotAccount(n)).second);
      EXPECT_TRUE(seen.insert(RobotHallCaption(n)).second);
      EXPECT_TRUE(seen.insert(RobotTableCaption(n)).second);
    }
  }
  EXPECT_EQ(seen.count("tallow"), 0u);
}

}  // namespace
}  // namespace tallow::hall
