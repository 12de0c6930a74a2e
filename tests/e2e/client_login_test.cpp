// The real tallow binary against a loopback listener and a hall window.
#include <gtest/gtest.h>

#include <string>

#include "process_fixture.h"

namespace tallow::e2e {
namespace {

struct Seat {
  TempDir dir;
  std::vector<std::string> Env() const {
    return {"QT_QPA_PLATFORM=offscreen", "TALLOW_APP_DIR=" + dir.Path(),
            "TALLOW_RUNTIME_DIR=" + dir.Path(), "XDG_RUNTIME_DIR=" + dir.Path()};
  }
};

TEST(ClientProcess, LogsInThroughLoopbackAndTellsTheHall) {
  Seat seat;
  ::setenv("TALLOW_RUNTIME_DIR", seat.dir.Path().c_str(), 1);
  LoopbackListener server;
  HallWindow hall("锦程山庄");
  const std::string line =
      "alice$secret$127.0.0.1$" + std::to_string(server.Port()) + "$Room$0$$0$$$0$$$";
  Child client(TALLOW_BINARY, {line}, seat.Env());

  ASSERT_TRUE(server.Accept(20000)) << "the client never connected";
  auto login = server.Read(272, 20000);
  ASSERT_EQ(login.size(), 272u);
  EXPECT_EQ(login[3], 18);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&login[16])), "alice");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&login[32])), "secret");
  EXPECT_TRUE(hall.WaitFor(platform::hall_link::kPost, 0x16, 5000).has_value());
  // The table window answers the hall under its caption: a game question while no hand runs
  // is answered with a post of 0x400.
  auto result = platform::hall_link::SendMessage("tallow", 0x465, 0, 0);
  ASSERT_TRUE(result.has_value());
  EXPECT_TRUE(hall.WaitFor(platform::hall_link::kPost, 0x400, 5000).has_value());
  client.Kill();
}

TEST(ClientProcess, NoCommandLineEndsTheClient) {
  Seat seat;
  // Without a display-less message box there is nobody to close it; offscreen boxes return at
  // once, so the client ends by itself.
  Child client(TALLOW_BINARY, {}, seat.Env());
  EXPECT_TRUE(client.Wait(20000).has_value());
}

}  // namespace
}  // namespace tallow::e2e
