// The real programs over loopback: tallow-server, tallow-hall and the tallow clients it starts,
// all offscreen and in a private runtime directory.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "hall_processes.h"
#include "platform/hall_link_contract.h"
#include "platform/platform.h"
#include "seating_client.h"

namespace tallow::hall {
namespace {

using namespace std::chrono_literals;
using test::Child;
using test::ReadFile;
using test::TempDir;
using test::WaitUntil;
namespace link = platform::hall_link;

constexpr std::uint32_t kWmClose = 0x0010;

class HallTable : public testing::Test {
 protected:
  void SetUp() override {
    run_ = dir_.Sub("run");
    data_ = dir_.Sub("data");
    // This process talks to the hall's windows too.
    ::setenv("TALLOW_RUNTIME_DIR", run_.c_str(), 1);
  }

  // A hall in another runtime directory is a hall on another machine.
  std::vector<std::string> Env(const std::string& run = {}) const {
    const std::string r = run.empty() ? run_ : run;
    return {"QT_QPA_PLATFORM=offscreen", "TALLOW_RUNTIME_DIR=" + r, "XDG_RUNTIME_DIR=" + r};
  }

  void StartServer() {
    const std::string out = dir_.Path() + "/server.out";
    const auto ports = hall::test::StartServer(TALLOW_SERVER_BINARY, 7, Env(), out, server_);
    ASSERT_TRUE(ports.has_value()) << ReadFile(out);
    port_ = ports->game;
    seatPort_ = ports->seating;
  }

  std::unique_ptr<Child> StartHall(std::vector<std::string> args, const std::string& log,
                                   const std::string& run = {}) {
    for (std::string a : {"--host", "127.0.0.1", "--port"}) args.push_back(a);
    args.push_back(std::to_string(port_));
    args.push_back("--seat-port");
    args.push_back(std::to_string(seatPort_));
    args.push_back("--data");
    args.push_back(data_);
    return std::make_unique<Child>(TALLOW_HALL_BINARY, args, Env(run), log);
  }

  std::array<std::string, 4> SeatsOfTable0() const {
    const auto reply = SeatingCommand("127.0.0.1", seatPort_, kTablesCommand, 2000);
    for (const auto& t : ParseTables(reply.text)) {
      if (t.table == 0) return t.accounts;
    }
    return {};
  }

  TempDir dir_;
  std::string run_, data_;
  std::unique_ptr<Child> server_;
  int port_ = 0;
  int seatPort_ = 0;
};

TEST_F(HallTable, SitsDownWithThreeRobotsAndClosesWithItsClients) {
  ASSERT_NO_FATAL_FAILURE(StartServer());
  const std::string log = dir_.Path() + "/hall.out";
  const std::string png = dir_.Path() + "/hall.png";
  auto hall = StartHall({"--account", "alice", "--password", "pw", "--table", "0", "--seat", "0",
                         "--sit", "--robots", "3", "--grab", png},
                        log);

  // The seating interface reserves the four seats and the four clients log in to them.
  const std::array<std::string, 4> full{"alice", "robot2", "robot3", "robot4"};
  EXPECT_TRUE(WaitUntil([&] { return SeatsOfTable0() == full; }, 60s))
      << "table 0: " << SeatsOfTable0()[0] << "," << SeatsOfTable0()[1] << "," << SeatsOfTable0()[2]
      << "," << SeatsOfTable0()[3] << "\n"
      << ReadFile(log);
  // The player's client tells the hall it is connecting and that its login was accepted.
  EXPECT_TRUE(
      WaitUntil([&] { return ReadFile(log).find("tallow: 0x303") != std::string::npos; }, 30s))
      << ReadFile(log);
  const std::string text = ReadFile(log);
  EXPECT_NE(text.find("seating: seat alice 0 0 → ok"), std::string::npos) << text;
  // Every seat finds the generated sounds beside its directory and a phrase file in it.
  for (const std::string account : {"alice", "robot2"}) {
    const std::string seat = data_ + "/seats/" + account;
    EXPECT_TRUE(std::filesystem::is_regular_file(seat + "/../common/mj/v00101302.wav")) << seat;
    EXPECT_TRUE(std::filesystem::is_regular_file(seat + "/../common/music/majiang.wav")) << seat;
    EXPECT_TRUE(std::filesystem::is_regular_file(seat + "/chat.ini")) << seat;
  }
  EXPECT_NE(text.find("tallow: 0x16"), std::string::npos) << text;
  for (int n : {2, 3, 4}) {
    const std::string robot = "robot" + std::to_string(n);
    EXPECT_NE(text.find("seating: seat " + robot + " 0 " + std::to_string(n - 1) + " → ok"),
              std::string::npos)
        << text;
    EXPECT_TRUE(link::WindowExists("tallow-robot-hall-" + std::to_string(n)));
  }

  // The hall answers restore and minimise like a window: with 0.
  using namespace platform::wm;
  EXPECT_EQ(link::SendMessage("锦程山庄", kSysCommand, kScMinimize, 0), 0);
  EXPECT_EQ(link::SendMessage("锦程山庄", kSysCommand, kScRestore, 0), 0);

  // A second hall watches alice: it asks for her user id and starts a spectator.
  const std::string watchLog = dir_.Path() + "/watch.out";
  auto watcher = StartHall({"--account", "bob", "--watch", "alice"}, watchLog, dir_.Sub("run2"));
  EXPECT_TRUE(
      WaitUntil([&] { return ReadFile(watchLog).find("tallow: 0x303") != std::string::npos; }, 30s))
      << ReadFile(watchLog);
  const std::string watched = ReadFile(watchLog);
  EXPECT_NE(watched.find("seating: watch bob alice → ok"), std::string::npos) << watched;
  EXPECT_NE(watched.find("seating: userid alice → ok 1000"), std::string::npos) << watched;
  EXPECT_NE(watched.find("tallow 旁观 (bob) started"), std::string::npos) << watched;
  watcher->Signal(SIGTERM);
  EXPECT_EQ(watcher->Wait(15000), 0);

  // Closing the hall lets the player leave the table first, ends its clients and leaves a
  // picture of the window.
  EXPECT_EQ(link::SendMessage("锦程山庄", kWmClose, 0, 0), 0);
  EXPECT_EQ(hall->Wait(15000), 0);
  // The client's leave notice (0x400) can reach the hall before its answer to the question,
  // and the hall then ends it: the answer may be lost, the question must have been asked.
  EXPECT_NE(ReadFile(log).find("sent 0x303 may the player leave? 离开: "), std::string::npos)
      << ReadFile(log);
  EXPECT_NE(ReadFile(log).find("tallow: 0x400 left the table"), std::string::npos) << ReadFile(log);
  EXPECT_EQ(ReadFile(png).substr(0, 4), "\x89PNG");
  EXPECT_FALSE(link::WindowExists("锦程山庄"));
  EXPECT_FALSE(link::WindowExists("tallow"));
  EXPECT_FALSE(link::WindowExists("tallow-robot-2"));
  EXPECT_TRUE(WaitUntil([&] { return SeatsOfTable0()[0].empty(); }, 10s))
      << "the player's connection outlived the hall";
}

TEST_F(HallTable, RefusedSeatStartsNoClientAndASecondHallDoesNotStart) {
  port_ = 1;  // nobody listens on port 1 and 2 of loopback
  seatPort_ = 2;
  const std::string log = dir_.Path() + "/hall.out";
  auto hall = StartHall({"--account", "alice", "--sit", "--robots", "3"}, log);
  ASSERT_TRUE(WaitUntil([&] { return ReadFile(log).find("tables →") != std::string::npos; }, 20s))
      << ReadFile(log);
  ASSERT_TRUE(
      WaitUntil([&] { return ReadFile(log).find("seat alice") != std::string::npos; }, 10s));
  const std::string text = ReadFile(log);
  EXPECT_EQ(text.find("started"), std::string::npos) << text;
  EXPECT_FALSE(link::WindowExists("tallow"));

  auto second = StartHall({}, dir_.Path() + "/second.out");
  EXPECT_EQ(second->Wait(15000), 1);
  EXPECT_TRUE(link::WindowExists("锦程山庄")) << "the second hall took the first one's window";

  hall->Signal(SIGTERM);
  EXPECT_EQ(hall->Wait(15000), 0);
}

}  // namespace
}  // namespace tallow::hall

namespace tallow::hall {
namespace {

using namespace std::chrono_literals;

// Four real robot clients over TCP play a whole hand: a robot hall seats itself and three more.
// A second hall's spectator joins the first hand in play, sees it to its end and the next hand
// from its deal.
TEST_F(HallTable, FourRobotsPlayAWholeHandOverTcpWithASpectator) {
  ASSERT_NO_FATAL_FAILURE(StartServer());
  const std::string log = dir_.Path() + "/robots.out";
  auto hall = StartHall({"--caption", "robot-table-hall", "--account", "robot1", "--table", "0",
                         "--seat", "0", "--sit", "--robots", "3"},
                        log);
  auto hands = [&](int started, int done) {
    return [this, started, done] {
      const auto reply = SeatingCommand("127.0.0.1", seatPort_, "hands 0", 2000);
      std::istringstream in(reply.text);
      std::string ok;
      int s = 0, d = 0;
      in >> ok >> s >> d;
      return ok == "ok" && s >= started && d >= done;
    };
  };
  ASSERT_TRUE(WaitUntil(hands(1, 0), 120s)) << ReadFile(log);
  const std::string watchLog = dir_.Path() + "/watch.out";
  auto watcher = StartHall({"--account", "fan", "--watch", "robot1"}, watchLog, dir_.Sub("run2"));
  EXPECT_TRUE(WaitUntil(hands(2, 2), 480s)) << ReadFile(log);
  const std::string watched = ReadFile(watchLog);
  EXPECT_NE(watched.find("tallow 旁观 (fan) started"), std::string::npos) << watched;
  EXPECT_NE(watched.find("tallow: 0x303"), std::string::npos) << watched;  // logged in
  EXPECT_NE(watched.find("tallow: 0x455"), std::string::npos) << watched;  // saw a hand start
  EXPECT_EQ(watched.find("旁观 (fan) ended"), std::string::npos) << watched;
  watcher->Signal(SIGTERM);
  EXPECT_EQ(watcher->Wait(15000), 0);
}

}  // namespace
}  // namespace tallow::hall
