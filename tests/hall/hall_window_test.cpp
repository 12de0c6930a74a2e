// The hall window in this process, driven through its buttons, against the real server and the
// real clients it starts: leaving between hands and during a hand, sitting down again and
// elsewhere with the client that is still running, and closing while seated.
#include "hall_window.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <memory>

#include "hall_processes.h"
#include "platform/hall_link_contract.h"
#include "seating_client.h"

namespace tallow::hall {
namespace {

using namespace std::chrono_literals;
using test::Child;
using test::ReadFile;
using test::TempDir;
using test::WaitUntil;

class HallWindowTable : public testing::Test {
 protected:
  void SetUp() override {
    run_ = dir_.Sub("run");
    // The hall, this test and the clients the hall starts share this runtime directory.
    ::setenv("TALLOW_RUNTIME_DIR", run_.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", run_.c_str(), 1);
    const std::string out = dir_.Path() + "/server.out";
    const auto ports = hall::test::StartServer(TALLOW_SERVER_BINARY, 11, {}, out, server_);
    ASSERT_TRUE(ports.has_value()) << ReadFile(out);
    options_.port = ports->game;
    options_.seatPort = ports->seating;
    options_.account = "alice";
  }

  // Handles the window's events until `done` holds or the time is up.
  static bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return WaitUntil(
        [&] {
          QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
          return done();
        },
        limit);
  }

  static int Count(const HallWindow& w, const QString& part) {
    int n = 0;
    for (const QString& line : w.LogLines()) n += line.contains(part) ? 1 : 0;
    return n;
  }

  std::string SeatAt(int table, int seat) const {
    const auto reply = SeatingCommand("127.0.0.1", options_.seatPort, kTablesCommand, 2000);
    for (const auto& t : ParseTables(reply.text)) {
      if (t.table == table) return t.accounts[static_cast<std::size_t>(seat)];
    }
    return {};
  }
  std::string Seat0() const { return SeatAt(0, 0); }

  // Waits for the hall's question to the player and answers it with the button `text`.
  static bool Answer(HallWindow& w, const char* text) {
    QMessageBox* box = nullptr;
    const bool shown = PumpUntil(
        [&] {
          for (QMessageBox* b : w.findChildren<QMessageBox*>()) {
            if (b->isVisible()) box = b;
          }
          return box != nullptr;
        },
        10s);
    if (!shown) return false;
    for (QAbstractButton* b : box->buttons()) {
      if (b->text() == QString::fromUtf8(text)) {
        b->click();
        return true;
      }
    }
    return false;
  }

  static void Click(HallWindow& w, const char* text) {
    for (QPushButton* b : w.findChildren<QPushButton*>()) {
      if (b->text() == QString::fromUtf8(text)) return b->click();
    }
    ADD_FAILURE() << "no button " << text;
  }

  TempDir dir_;
  std::string run_;
  std::unique_ptr<Child> server_;
  HallOptions options_;
};

TEST_F(HallWindowTable, LeaveThenSitDownAgainReusesTheRunningClient) {
  HallWindow w(options_, TALLOW_CLIENT_BINARY, QString::fromStdString(dir_.Sub("data")));
  ASSERT_TRUE(w.Listen());
  w.show();
  Click(w, "入座");
  ASSERT_TRUE(PumpUntil([&] { return Count(w, "tallow: 0x303") == 1; }, 30s))
      << w.LogLines().join("\n").toStdString();
  EXPECT_EQ(Seat0(), "alice");

  // No hand runs (alice never said she is ready): the client leaves and answers 0x400.
  Click(w, "离开");
  EXPECT_TRUE(PumpUntil([&] { return Count(w, "tallow: 0x400") == 1; }, 10s))
      << w.LogLines().join("\n").toStdString();
  EXPECT_TRUE(PumpUntil([&] { return Count(w, "sent 0x303") == 1; }, 5s));
  EXPECT_EQ(Count(w, "sent 0x303 may the player leave? 离开: answered 0"), 1);
  EXPECT_TRUE(PumpUntil([&] { return Seat0().empty(); }, 10s)) << Seat0();

  // Sitting down again asks the idle client to connect instead of starting another one.
  Click(w, "入座");
  EXPECT_TRUE(PumpUntil([&] { return Count(w, "sent 0x16 connect 连接: answered 0") == 1; }, 10s))
      << w.LogLines().join("\n").toStdString();
  EXPECT_TRUE(PumpUntil([&] { return Seat0() == "alice"; }, 20s)) << Seat0();
  EXPECT_EQ(Count(w, "tallow (alice) started"), 1);

  // Closing the hall lets the player leave the table first, then ends the client.
  w.close();
  EXPECT_TRUE(PumpUntil([&] { return !platform::hall_link::WindowExists("tallow"); }, 10s));
}

// In a robot hall the own seat is a robot, ready by itself: with three more robots a hand starts.
TEST_F(HallWindowTable, DuringAHandOnlyTheLeaveOrderLetsThePlayerLeave) {
  options_.caption = "robot-hall-leaving";
  HallWindow w(options_, TALLOW_CLIENT_BINARY, QString::fromStdString(dir_.Sub("data")));
  ASSERT_TRUE(w.Listen());
  w.show();
  const auto log = [&] { return w.LogLines().join("\n").toStdString(); };
  Click(w, "入座");
  ASSERT_TRUE(PumpUntil([&] { return Count(w, "tallow: 0x303") == 1; }, 30s)) << log();
  Click(w, "机器人");
  ASSERT_TRUE(PumpUntil([&] { return Count(w, "tallow: 0x455") == 1; }, 60s)) << log();

  // A game is running: the player is told so and may stay ...
  Click(w, "离开");
  ASSERT_TRUE(Answer(w, "取消")) << log();
  EXPECT_EQ(Count(w, "tallow: 0x465"), 1);
  EXPECT_EQ(Seat0(), "alice");
  // ... or give the hand up with the leave order.
  Click(w, "离开");
  ASSERT_TRUE(Answer(w, "强制离开")) << log();
  EXPECT_TRUE(PumpUntil([&] { return Count(w, "left the table") == 1; }, 10s)) << log();
  EXPECT_EQ(Count(w, "sent 0x400 leave now: answered 0"), 1);
  EXPECT_EQ(Seat0(), "");

  // Sitting down elsewhere asks first whether a game runs; the idle client then connects.
  w.findChild<QSpinBox*>("table")->setValue(1);
  Click(w, "入座");
  EXPECT_TRUE(PumpUntil([&] { return SeatAt(1, 0) == "alice"; }, 20s)) << log();
  EXPECT_EQ(Count(w, "sent 0x465 is a game running?: answered 0"), 1);
  EXPECT_EQ(Count(w, "tallow (alice) started"), 1);

  // Closing the hall while seated: the player leaves the table, then the hall closes.
  w.close();
  EXPECT_TRUE(PumpUntil([&] { return !w.isVisible(); }, 10s)) << log();
  EXPECT_TRUE(SeatAt(1, 0).empty());
}

}  // namespace
}  // namespace tallow::hall

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
