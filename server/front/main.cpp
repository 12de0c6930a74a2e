// tallow-server: the reference game server.
#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>

#include "core/users.h"
#include "front/options.h"
#include "front/tcp_front.h"

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) {
  g_stop.store(true);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tallow::server;
  Options opt;
  std::string error;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), opt, error)) {
    if (error.empty()) {
      std::cout << Usage();
      return 0;
    }
    std::cerr << "tallow-server: " << error << "\n" << Usage();
    return 2;
  }
  if (!opt.usersFile.empty()) {
    std::ifstream in(opt.usersFile);
    if (!in) {
      std::cerr << "tallow-server: cannot read " << opt.usersFile << "\n";
      return 2;
    }
    opt.config.users = ReadUsers(in);
    opt.config.openMode = false;
  }
  if (!opt.seedGiven) {
    opt.seed =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  }
  RaiseOpenFileLimit();  // every connection is a descriptor
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);

  Server core(opt.config, opt.seed);
  FrontLimits limits;
  if (opt.newsHoldMs >= 0) limits.informHoldMs = opt.newsHoldMs;
  TcpFront front(core, limits);
  const int seatPort = opt.seatPort < 0 ? (opt.port == 0 ? -1 : opt.port + 1) : opt.seatPort;
  if (!front.Listen(opt.bind, opt.port, seatPort, error)) {
    std::cerr << "tallow-server: " << error << "\n";
    return 1;
  }
  std::cout << "tallow-server listening on " << opt.bind << ":" << front.port();
  if (front.seatPort() != 0) std::cout << ", seating on " << opt.bind << ":" << front.seatPort();
  std::cout << ", seed " << opt.seed << std::endl;
  front.Run(g_stop);
  return 0;
}
