#include "session/startup.h"

#include <gtest/gtest.h>

#include "doubles/client_harness.h"
#include "session/command_line.h"
#include "session/login.h"

namespace tallow::testing {
namespace {

TEST(CommandLine, FormsOfTheHallLine) {
  auto full = ParseCommandLine("u$p$h$6000$room$0$ph$1080$pu$pp$0$H$R$");
  ASSERT_TRUE(full.line);
  EXPECT_FALSE(full.line->Spectating);
  EXPECT_EQ(full.line->ServerPort, 6000);
  EXPECT_EQ(full.line->ProxyPort, 1080);
  EXPECT_EQ(full.line->ProxyUserLength, 2);
  EXPECT_FALSE(full.line->RobotMode);

  auto watcher = ParseCommandLine("u$p$h$6000$room$12345");
  ASSERT_TRUE(watcher.line);
  EXPECT_TRUE(watcher.line->Spectating);
  EXPECT_EQ(watcher.line->WatchedUserId, 12345);
  EXPECT_EQ(watcher.line->RoomName, "room");
  EXPECT_EQ(watcher.line->ProxyKind, 0);

  auto four = ParseCommandLine("u$p$h$6000$");
  ASSERT_TRUE(four.line);
  EXPECT_FALSE(four.line->Spectating);
  EXPECT_EQ(four.line->RoomName, "");
  EXPECT_EQ(four.line->ProxyKind, 0);

  auto none = ParseCommandLine("nothing here");
  ASSERT_TRUE(none.line);
  EXPECT_TRUE(none.line->Spectating);
  EXPECT_EQ(none.line->UserName, "");
  EXPECT_EQ(none.line->ServerPort, 0);
}

TEST(CommandLine, RobotFlagIsNumeric) {
  const std::pair<const char*, bool> flags[] = {{"1", true},  {"1.0", true}, {"01", true},
                                                {"2", false}, {"x", false},  {"", false}};
  for (auto [flag, robot] : flags) {
    auto r = ParseCommandLine(std::string("u$p$h$1$r$0$$0$$$") + flag + "$X$Y$");
    ASSERT_TRUE(r.line);
    EXPECT_EQ(r.line->RobotMode, robot) << flag;
    EXPECT_EQ(r.line->HallCaption, "X");
    EXPECT_EQ(r.line->RobotCaption, "Y");
  }
}

TEST(CommandLine, NonNumericPortIsAnError) {
  for (const char* line :
       {"u$p$h$60a0$", "u$p$h$65536$", "u$p$h$-1$", "u$p$h$1$r$zz$", "u$p$h$1$r$5$ph$p$"}) {
    auto r = ParseCommandLine(line);
    EXPECT_FALSE(r.line) << line;
    EXPECT_TRUE(r.error) << line;
  }
  // Ports above the 16-bit signed range are real ports and must work.
  EXPECT_EQ(ParseCommandLine("u$p$h$40000$").line->ServerPort, 40000);
  EXPECT_EQ(*ToInt16(" 12 "), 12);
  EXPECT_EQ(*ToInt16("2.5"), 2);  // halves go to the even neighbour
  EXPECT_EQ(*ToInt16("3.5"), 4);
}

TEST(Startup, PlayerLineConnectsAndLogsIn) {
  ClientHarness h("alice$secret$127.0.0.1$6000$Room One$0$$0$$$0$$$  ");
  ASSERT_FALSE(h.Start());
  Client& c = h.c();
  EXPECT_EQ(c.mainForm.Caption, "tallow");
  EXPECT_EQ(c.session.HallCaption, "锦程山庄");
  EXPECT_EQ(c.table.TurnSeconds, 8);
  EXPECT_EQ(c.mainForm.Location.Caption, "Room One");
  EXPECT_EQ(c.mainForm.Sysmsg(0).lines, std::vector<std::string>{"正在连接服务器..."});
  EXPECT_EQ(h.p.socket.remoteHost, "127.0.0.1");
  EXPECT_EQ(h.p.socket.remotePort, 6000);
  EXPECT_EQ(h.p.hall.listeningAs, "tallow");
  EXPECT_TRUE(c.mainForm.Visible);

  h.Run(250);  // the login slot runs on the fourth tick
  EXPECT_EQ(h.p.hall.Posts(), std::vector<std::uint32_t>{0x16});
  auto sent = h.p.socket.SentRecords();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 18);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sent[0][16])), "alice");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sent[0][32])), "secret");
  EXPECT_TRUE(c.session.LoginPending);
  EXPECT_TRUE(c.scheduler[TickScheduler::kLinkWatch].enabled);
  EXPECT_FALSE(c.scheduler[TickScheduler::kLogin].enabled);
}

TEST(Startup, RobotLineTakesCaptionsAndFastTimer) {
  ClientHarness h("r1$pw$127.0.0.1$6000$Room$0$$0$$$1.0$X$Y$");
  h.p.hall.hallCaption = "X";
  ASSERT_FALSE(h.Start());
  EXPECT_EQ(h.c().mainForm.Caption, "Y");
  EXPECT_EQ(h.c().session.HallCaption, "X");
  EXPECT_EQ(h.c().table.TurnSeconds, 2);
  EXPECT_EQ(h.p.hall.listeningAs, "Y");
}

TEST(Startup, RoomNameFontShrinksPastTenCharacters) {
  ClientHarness ten("a$b$h$1$0123456789$");
  ClientHarness eleven("a$b$h$1$0123456789A$");
  ten.Start();
  eleven.Start();
  EXPECT_EQ(ten.c().mainForm.Location.FontSize - eleven.c().mainForm.Location.FontSize, 2);
}

TEST(Startup, RefusalsEndWithAMessageBox) {
  struct Case {
    const char* line;
    bool otherInstance;
    const char* text;
  };
  const Case cases[] = {
      {"", false, "本游戏需从游戏大厅中启动！"},
      {"   ", false, "本游戏需从游戏大厅中启动！"},
      {kPlayerLine, true, "松竹麻将游戏已经运行！"},
  };
  for (const auto& k : cases) {
    ClientHarness h(k.line);
    h.p.process.otherInstance = k.otherInstance;
    auto ended = h.Start();
    ASSERT_TRUE(ended) << k.line;
    ASSERT_EQ(h.p.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.p.dialogs.boxes[0].text, k.text);
    EXPECT_EQ(h.p.dialogs.boxes[0].title, "警告");
    EXPECT_EQ(h.p.socket.connects, 0);
  }
}

TEST(Startup, BadPortNeverConnects) {
  ClientHarness h("alice$pw$127.0.0.1$6x00$Room$");
  auto ended = h.Start();
  ASSERT_TRUE(ended);
  ASSERT_EQ(h.p.dialogs.boxes.size(), 1u);
  EXPECT_NE(h.p.dialogs.boxes[0].text.find("6x00"), std::string::npos);
  EXPECT_EQ(h.p.socket.connects, 0);
}

TEST(Startup, WindowSizeAndScale) {
  struct Case {
    int w, h;
    double width, height, scale;
  };
  const Case cases[] = {{1280, 1024, 15600, 11940, 1.0},
                        {1024, 768, 15360, 11520, 1.0},
                        {800, 600, 12000, 9000, 0.78125}};
  for (const auto& k : cases) {
    ClientHarness h;
    h.p.process.screenWidth = k.w;
    h.p.process.screenHeight = k.h;
    h.Start();
    EXPECT_EQ(h.c().mainForm.Width, k.width);
    EXPECT_EQ(h.c().mainForm.Height, k.height);
    EXPECT_EQ(h.c().layout.ScaleX, k.scale);
    EXPECT_EQ(h.c().layout.ScaleY, k.scale);
  }
}

TEST(Startup, ConnectWaitIsBounded) {
  ClientHarness h;
  h.p.socket.accept = false;
  ASSERT_FALSE(h.Start());
  h.Run(h.c().framing.ConnectWaitLimitMs + 1000);
  EXPECT_EQ(h.c().mainForm.Sysmsg(0).lines, std::vector<std::string>{kConnectTimedOutLine});
  EXPECT_FALSE(h.c().scheduler[TickScheduler::kLogin].enabled);
  EXPECT_FALSE(h.c().session.LoginPending);
  EXPECT_TRUE(h.p.socket.SentRecords().empty());
}

}  // namespace
}  // namespace tallow::testing
