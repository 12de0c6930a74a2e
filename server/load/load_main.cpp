// tallow-server-load: scripted players for many tables of a tallow-server, and abusive clients
// beside them; prints what it measured and exits 1 when a check failed.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "load/load_run.h"

namespace {

using tallow::server::load::Abuse;
using tallow::server::load::LoadOptions;

const char* kUsage =
    "usage: tallow-server-load (--server PATH | --port N --seat-port N [--pid N]) [options]\n"
    "  --server PATH       start this tallow-server on free ports (and stop it at the end)\n"
    "  --server-arg ARG    one more option for that server (repeatable)\n"
    "  --host ADDR         the server's address when attaching (default 127.0.0.1)\n"
    "  --port N, --seat-port N, --pid N   a running server, its seating port and process\n"
    "  --tables N          tables of four scripted players (default 100)\n"
    "  --warmup S          seconds of play before the measurement (default 2)\n"
    "  --seconds S         seconds measured (default 10)\n"
    "  --abuse LIST        comma list of half-record, no-read, idle, garbage, login-flood, all\n"
    "  --idle N            idle connections of the idle abuse (default 1000)\n"
    "  --bound-ms X        an answer within X ms is in time (default 5)\n"
    "  --max-p99-ms X      fail when the 99th percentile is above X ms\n"
    "  --max-wait-ms X     fail when any answer took more than X ms\n"
    "  --seed N            seed of the players and the spawned server (default 1)\n";

bool ParseAbuse(const std::string& list, std::vector<Abuse>& out) {
  std::istringstream in(list);
  std::string name;
  while (std::getline(in, name, ',')) {
    if (name == "half-record" || name == "all") out.push_back(Abuse::HalfRecord);
    if (name == "no-read" || name == "all") out.push_back(Abuse::NoRead);
    if (name == "idle" || name == "all") out.push_back(Abuse::Idle);
    if (name == "garbage" || name == "all") out.push_back(Abuse::Garbage);
    if (name == "login-flood" || name == "all") out.push_back(Abuse::LoginFlood);
    if (name != "half-record" && name != "no-read" && name != "idle" && name != "garbage" &&
        name != "login-flood" && name != "all") {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  LoadOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (i + 1 >= argc) {
      std::cerr << "tallow-server-load: missing value for " << a << "\n" << kUsage;
      return 2;
    }
    const std::string v = argv[++i];
    char* end = nullptr;
    const double num = std::strtod(v.c_str(), &end);
    const bool isNum = end && *end == 0 && !v.empty() && num >= 0;
    auto bad = [&] {
      std::cerr << "tallow-server-load: bad value for " << a << ": " << v << "\n" << kUsage;
      return 2;
    };
    if (a == "--server") {
      o.serverPath = v;
    } else if (a == "--server-arg") {
      o.serverArgs.push_back(v);
    } else if (a == "--host") {
      o.host = v;
    } else if (a == "--abuse") {
      if (!ParseAbuse(v, o.abuse)) return bad();
    } else if (!isNum) {
      return bad();
    } else if (a == "--port") {
      o.port = static_cast<int>(num);
    } else if (a == "--seat-port") {
      o.seatPort = static_cast<int>(num);
    } else if (a == "--pid") {
      o.pid = static_cast<int>(num);
    } else if (a == "--tables") {
      o.tables = static_cast<int>(num);
    } else if (a == "--warmup") {
      o.warmupSeconds = num;
    } else if (a == "--seconds") {
      o.seconds = num;
    } else if (a == "--idle") {
      o.idleConnections = static_cast<int>(num);
    } else if (a == "--bound-ms") {
      o.boundMs = num;
    } else if (a == "--max-p99-ms") {
      o.maxP99Ms = num;
    } else if (a == "--max-wait-ms") {
      o.maxWaitMs = num;
    } else if (a == "--seed") {
      o.seed = static_cast<std::uint64_t>(num);
    } else {
      return bad();
    }
  }
  if (o.tables < 1 || (o.serverPath.empty() && (o.port <= 0 || o.seatPort <= 0))) {
    std::cerr << kUsage;
    return 2;
  }
  const auto report = tallow::server::load::RunLoad(o);
  std::cout << tallow::server::load::FormatReport(report, o);
  return report.failures.empty() ? 0 : 1;
}
