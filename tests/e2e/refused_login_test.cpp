// A wrong password against the real server: the client tells the hall, restores it and ends.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "process_fixture.h"

namespace tallow::e2e {
namespace {

// A free loopback port pair (game port and the seating port after it).
int FreePortPair() {
  for (int tries = 0; tries < 20; ++tries) {
    LoopbackListener a;
    const int p = a.Port();
    if (p < 65535) return p;
  }
  return 47000;
}

TEST(ServerAndClient, WrongPasswordEndsTheClientAfterTellingTheHall) {
  TempDir dir;
  ::setenv("TALLOW_RUNTIME_DIR", dir.Path().c_str(), 1);
  const std::string users = dir.Path() + "/users.txt";
  std::ofstream(users) << "alice right\n";
  const int port = FreePortPair();
  Child server(TALLOW_SERVER_BINARY,
               {"--port", std::to_string(port), "--seat-port", "0", "--users", users}, {});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  HallWindow hall("锦程山庄");
  const std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "TALLOW_APP_DIR=" + dir.Path(),
                                        "TALLOW_RUNTIME_DIR=" + dir.Path(),
                                        "XDG_RUNTIME_DIR=" + dir.Path()};
  Child client(TALLOW_BINARY,
               {"alice$wrong$127.0.0.1$" + std::to_string(port) + "$Room$0$$0$$$0$$$"}, env);

  EXPECT_TRUE(hall.WaitFor(platform::hall_link::kPost, 0x16, 20000).has_value());
  // Keep answering the client (it minimises the hall when its window comes up) until it ends.
  std::optional<int> exit;
  for (int i = 0; i < 200 && !exit; ++i) {
    hall.WaitFor(platform::hall_link::kPost, 0xFFFF, 100);
    exit = client.Wait(1);
  }
  ASSERT_TRUE(exit.has_value()) << "the client did not end";
  bool restored = false;
  for (const auto& f : hall.frames) {
    restored =
        restored || (f.kind == platform::hall_link::kSend && f.msg == 0x0112 && f.wParam == 0xF120);
  }
  EXPECT_TRUE(restored) << "the hall was never restored";
}

}  // namespace
}  // namespace tallow::e2e
