#include "front/options.h"

#include <charconv>

namespace tallow::server {

namespace {

bool ToInt64(const std::string& s, std::int64_t lo, std::int64_t hi, std::int64_t& out) {
  std::int64_t v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

std::string Usage() {
  return "usage: tallow-server [options]\n"
         "  --bind ADDR            address to listen on (default 127.0.0.1)\n"
         "  --port N               game port (default 7000; 0 picks a free port)\n"
         "  --seat-port N          seating interface port (default game port + 1; 0 off)\n"
         "  --seed N               fixes every wall and die (default: from the clock)\n"
         "  --users FILE           accounts file (\"account password [coins] [nickname]\");\n"
         "                         without it any account and password are accepted\n"
         "  --turn-seconds N       turn timer sent to clients, 0..15 (default 15)\n"
         "  --timeout-limit N      turn timeouts before a client hides its table (default 3)\n"
         "  --web URL              web address sent in the login result, at most 99 bytes\n"
         "                         (default none)\n"
         "  --stake N              stake of every payment (default 10)\n"
         "  --start-coins N        coins of a new account (default 10000)\n"
         "  --act-seconds N        the server acts for a silent seat after N s (default 30)\n"
         "  --keep-seat-seconds N  a dropped player keeps the seat N s (default 120)\n"
         "  --idle-seconds N       a silent connection is closed after N s (default 600)\n"
         "  --max-tables N         tables (default 64)\n"
         "  --news-hold-ms N       news of the others' moves waits up to N ms for a seat's\n"
         "                         next answer, 0..50 (default 10)\n";
}

bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      error.clear();
      return false;
    }
    if (i + 1 >= args.size()) {
      error = "missing value for " + a;
      return false;
    }
    const std::string& v = args[++i];
    std::int64_t n = 0;
    auto num = [&](std::int64_t lo, std::int64_t hi) {
      if (ToInt64(v, lo, hi, n)) return true;
      error = "bad value for " + a + ": " + v;
      return false;
    };
    if (a == "--bind") {
      o.bind = v;
    } else if (a == "--port") {
      if (!num(0, 65535)) return false;
      o.port = static_cast<int>(n);
    } else if (a == "--seat-port") {
      if (!num(0, 65535)) return false;
      o.seatPort = static_cast<int>(n);
    } else if (a == "--seed") {
      if (!num(0, INT64_MAX)) return false;
      o.seed = static_cast<std::uint64_t>(n);
      o.seedGiven = true;
    } else if (a == "--users") {
      o.usersFile = v;
    } else if (a == "--turn-seconds") {
      if (!num(0, 15)) return false;
      o.config.turnSeconds = static_cast<int>(n);
    } else if (a == "--timeout-limit") {
      if (!num(0, 255)) return false;
      o.config.timeoutLimit = static_cast<int>(n);
    } else if (a == "--web") {
      // The login result carries at most 99 bytes of it; a cut address would name another page.
      if (v.size() > 99) {
        error = "--web: the address is longer than 99 bytes";
        return false;
      }
      o.config.webAddress = v;
    } else if (a == "--stake") {
      if (!num(1, 32767)) return false;
      o.config.stake = static_cast<int>(n);
    } else if (a == "--start-coins") {
      if (!num(0, INT64_C(1) << 40)) return false;
      o.config.startCoins = n;
    } else if (a == "--act-seconds") {
      if (!num(1, 86400)) return false;
      o.config.actLimitMs = n * 1000;
    } else if (a == "--keep-seat-seconds") {
      if (!num(60, 86400)) return false;
      o.config.keepSeatMs = n * 1000;
    } else if (a == "--idle-seconds") {
      if (!num(10, 86400)) return false;
      o.config.idleDropMs = n * 1000;
    } else if (a == "--max-tables") {
      if (!num(1, 4096)) return false;
      o.config.maxTables = static_cast<int>(n);
    } else if (a == "--news-hold-ms") {
      if (!num(0, 50)) return false;
      o.newsHoldMs = n;
    } else {
      error = "unknown option " + a;
      return false;
    }
  }
  return true;
}

}  // namespace tallow::server
