// The command line with which the hall starts a table client: "$"-separated fields, passed as one
// argument. A player's line ends with "$"; a spectator's line has five fields and then the
// watched player's user id without a final "$".
#pragma once

#include <string>

namespace tallow::hall {

struct ProxySettings {
  std::string host;  // empty: a direct connection
  int port = 1080;
  std::string user;
  std::string password;
  bool Enabled() const { return !host.empty(); }
};

struct SeatLine {
  std::string account;
  std::string password;
  std::string host;
  int port = 0;
  std::string room;
  ProxySettings proxy;
  bool robot = false;
  std::string hallCaption;   // the hall window a robot reports to
  std::string tableCaption;  // a robot's own window caption
};

// A built line, or why it cannot be built (then `line` is empty).
struct Built {
  std::string line;
  std::string error;
  bool ok() const { return error.empty(); }
};

Built PlayerLine(const SeatLine& s);
Built SpectatorLine(const SeatLine& s, long long watchedUserId);

// Checks of single fields; each returns an empty text when the value is fine.
// An account is 1..16 printable ASCII characters without blanks, "$" or "/": it is written into a
// 16-byte login field, sent in whitespace-separated seating commands and names a directory.
std::string CheckAccount(const std::string& account);
std::string CheckPort(int port);

// The room caption the client shows for a table (tables count from 0 on the server).
std::string RoomName(int table);

}  // namespace tallow::hall
