// The hall's command-line options (for scripts and tests; everything can also be set in the
// window).
#pragma once

#include <string>
#include <vector>

#include "seat_line.h"

namespace tallow::hall {

inline constexpr const char* kDefaultCaption = "锦程山庄";

struct HallOptions {
  std::string caption = kDefaultCaption;
  std::string host = "127.0.0.1";
  int port = 7000;
  int seatPort = 0;  // 0: the game port + 1
  std::string account = "player";
  std::string password;
  ProxySettings proxy;
  int table = 0;
  int seat = 0;
  int robots = 0;      // robot seats to fill at start-up
  bool sit = false;    // sit down at start-up
  std::string watch;   // watch this player at start-up
  std::string client;  // the tallow program; empty: the one beside the hall or built with it
  std::string data;    // the seats' directories live under DATA/seats; empty: the user's data dir
  std::string grab;    // save a picture of the window here when the hall closes
  int SeatingPort() const { return seatPort != 0 ? seatPort : port + 1; }
};

struct ParsedOptions {
  HallOptions options;
  std::string error;  // non-empty: the options are wrong
  bool help = false;
};

ParsedOptions ParseHallOptions(const std::vector<std::string>& args);
std::string HallUsage();

}  // namespace tallow::hall
