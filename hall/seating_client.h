// The game server's seating interface: one text command per line over TCP, one reply line each
// ("ok …" or "error …"). Every call is bounded in time; nothing the server sends can hang it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tallow::hall {

inline constexpr int kSeatingTimeoutMs = 3000;

struct SeatingReply {
  bool ok = false;   // the server answered with a line starting with "ok"
  std::string text;  // the reply line, or why there is none
};

// Connects, sends `command`, reads one reply line and closes.
SeatingReply SeatingCommand(const std::string& host, int port, const std::string& command,
                            int timeoutMs = kSeatingTimeoutMs);

// The commands. Accounts are checked by the caller (CheckAccount): they hold no blanks.
std::string SeatCommand(const std::string& account, int table, int seat);
std::string RobotCommand(int table, int seat);
std::string WatchCommand(const std::string& account, const std::string& target);
std::string UserIdCommand(const std::string& account);
inline constexpr const char* kTablesCommand = "tables";

// One table of the `tables` reply: the account at each seat, empty for a free seat.
struct TableSeats {
  int table = 0;
  std::array<std::string, 4> accounts;
  bool playing = false;
};

// Reads "ok 0:a,b,-,d:waiting 3:…"; entries that do not parse are skipped.
std::vector<TableSeats> ParseTables(const std::string& reply);
// Reads "ok N" with N > 0.
std::optional<long long> ParseUserId(const std::string& reply);

}  // namespace tallow::hall
