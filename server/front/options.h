// Command line of tallow-server.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/config.h"

namespace tallow::server {

struct Options {
  std::string bind = "127.0.0.1";
  int port = 7000;
  int seatPort = -1;  // -1: port + 1; 0: no seating interface
  std::uint64_t seed = 0;
  bool seedGiven = false;
  std::string usersFile;
  // How long news of the others' moves may wait for the seat's next answer; -1: the front's
  // default (FrontLimits::informHoldMs).
  std::int64_t newsHoldMs = -1;
  Config config;
};

// Parses argv (without the program name). On failure returns false and sets error; "--help"
// returns false with an empty error.
bool ParseOptions(const std::vector<std::string>& args, Options& out, std::string& error);
std::string Usage();

}  // namespace tallow::server
