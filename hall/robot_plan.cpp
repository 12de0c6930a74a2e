#include "robot_plan.h"

namespace tallow::hall {

std::vector<int> RobotSeats(const std::vector<TableSeats>& tables, int table,
                            std::optional<int> playerSeat, const std::set<int>& running,
                            int count) {
  std::vector<int> seats;
  const TableSeats* held = nullptr;
  for (const auto& t : tables) {
    if (t.table == table) held = &t;
  }
  for (int k = 0; k < 4 && static_cast<int>(seats.size()) < count; ++k) {
    if (held != nullptr && !held->accounts[static_cast<std::size_t>(k)].empty()) continue;
    if (playerSeat == k || running.count(k) != 0) continue;
    seats.push_back(k);
  }
  return seats;
}

int RobotNumber(int table, int seat) {
  return table * 4 + seat + 1;
}

std::string RobotAccount(int n) {
  return "robot" + std::to_string(n);
}

std::string RobotHallCaption(int n) {
  return "tallow-robot-hall-" + std::to_string(n);
}

std::string RobotTableCaption(int n) {
  return "tallow-robot-" + std::to_string(n);
}

}  // namespace tallow::hall
