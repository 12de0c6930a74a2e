// Which seats of a table the hall fills with robots, and the names robots go by.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "seating_client.h"

namespace tallow::hall {

// The seats of `table` to fill, lowest first, at most `count`: seats nobody holds on the server,
// other than the player's own seat and the seats whose robots this hall already runs.
std::vector<int> RobotSeats(const std::vector<TableSeats>& tables, int table,
                            std::optional<int> playerSeat, const std::set<int>& running, int count);

// Robot n (1-based, one number per seat of the server: table * 4 + seat + 1).
int RobotNumber(int table, int seat);
std::string RobotAccount(int n);       // "robotN"
std::string RobotHallCaption(int n);   // the invisible hall window robot n reports to
std::string RobotTableCaption(int n);  // robot n's own window caption

}  // namespace tallow::hall
