#include "session/session_messages.h"

#include <gtest/gtest.h>

#include "forms/notice_window.h"
#include "hand/table_reset.h"
#include "seating_support.h"
#include "session/players.h"

namespace tallow::testing {
namespace {

using namespace platform::wm;

// Seats the local player at seat bit 1: seat bit 8 sits at position 1, 4 at 2, 2 at 3.
void SeatEveryone(Client& c) {
  const char* nicks[] = {"我", "上家", "对家", "下家"};
  c.forms.Hero.ID(1).Caption = "上家";
  const std::uint8_t bits[] = {1, 8, 4, 2};
  for (int i = 0; i <= 3; ++i) {
    c.table.custom(i).SeatBit = bits[i];
    c.players.PlayerInfo(i).Nickname = nicks[i];
    if (i > 0) {
      c.table.custom(i).Account = std::string("acct") + std::to_string(i);
      c.mainForm.Nid(i).Caption = nicks[i];
      c.mainForm.OK(i).Visible = true;
    }
  }
  c.players.SeatedCount = 3;
  c.table.TableReadyForNext = -1;
}

class Session : public ::testing::Test {
 protected:
  void SetUp() override {
    h.StartAndLogIn();
    h.p.hall.received.clear();
  }
  void SeatEveryone() { testing::SeatEveryone(c()); }
  ClientHarness h;
  Client& c() { return h.c(); }
};

TEST_F(Session, AcceptedFirstLoginTakesTheServersSettings) {
  struct Case {
    bool robot;
    short firstHand;
    std::vector<std::uint32_t> posts;
    short turnSeconds, timeoutLimit;
    std::string url;
  };
  const Case cases[] = {
      {false, 0, {kLeaveQuestion}, 5, 7, "http://example.org/panel"},
      {true, 0, {kLeaveQuestion}, 1, 7, "http://example.org/panel"},
      {false, 1, {}, 8, 0, ""},  // a re-seat after hands keeps the first login's settings
  };
  for (const auto& k : cases) {
    ClientHarness g;
    g.StartAndLogIn();
    Client& cl = g.c();
    g.p.hall.received.clear();
    cl.session.RobotMode = k.robot;
    cl.session.FirstHandStarted = k.firstHand;
    cl.session.HandNumber = 4;
    cl.session.StartNotPressed = false;
    auto r = Named(18, 0, "http://example.org/panel", {7, 0x35, 0, 1});
    ASSERT_FALSE(Deliver(g, r));
    EXPECT_EQ(g.p.hall.Posts(), k.posts);
    EXPECT_EQ(cl.table.TurnSeconds, k.turnSeconds);
    EXPECT_EQ(cl.players.TimeoutLimit, k.timeoutLimit);
    EXPECT_EQ(cl.players.WebPageUrl, k.url);
    EXPECT_EQ(cl.mainForm.WebBrowser1.Visible, !k.url.empty());
    EXPECT_EQ(cl.mainForm.Sysmsg(0).lines, std::vector<std::string>{kLoginAcceptedLine});
    ASSERT_EQ(cl.mainForm.Sysmsg(1).ListCount(), 1);
    EXPECT_EQ(cl.mainForm.Sysmsg(1).lines[0].rfind(kWelcomeLine, 0), 0u);
    EXPECT_EQ(cl.play.TurnTimerAllowed, -1);
    EXPECT_TRUE(cl.TimerKeepAlive->Enabled());
    EXPECT_FALSE(cl.session.LoginPending);
    EXPECT_EQ(cl.session.HandNumber, 0);
    EXPECT_TRUE(cl.session.StartNotPressed);
  }
}

TEST_F(Session, RefusedLoginTellsAndRestoresTheHallThenEnds) {
  const std::pair<int, const char*> cases[] = {
      {2, kStartFailedLine}, {0, kVerifyFailedLine}, {3, kVerifyFailedLine}};
  for (auto [value, line] : cases) {
    ClientHarness g;
    g.StartAndLogIn();
    g.p.hall.received.clear();
    ShowNotice(g.c(), "旧的通知");
    auto ended = Deliver(g, ClientHarness::ServerRecord(18, 0, {0, 0, 0, value}));
    ASSERT_TRUE(ended);
    EXPECT_EQ(g.p.hall.Posts(), std::vector<std::uint32_t>{kConnect});
    EXPECT_EQ(g.p.hall.SysCommands(), std::vector<std::uint32_t>{kScRestore});
    EXPECT_EQ(g.c().mainForm.Sysmsg(0).lines, std::vector<std::string>{line});
    EXPECT_FALSE(g.c().forms.frmOtherExit.Visible);
    EXPECT_TRUE(g.c().TimerKeepAlive->Enabled());
  }
}

TEST(Portraits, PictureIndexRules) {
  const std::pair<const char*, int> table[] = {{"m1", 0},  {"w12", 10}, {"m3", 2}, {"w3", 12},
                                               {"m10", 9}, {"w9", 18},  {"x", 0},  {"w", 10}};
  for (auto [avatar, index] : table) EXPECT_EQ(AvatarPictureIndex(avatar), index) << avatar;
  const std::pair<const char*, int> watched[] = {{"w3", 7}, {"m1", 0}, {"m5", 4}, {"w12", 5}};
  for (auto [avatar, index] : watched) {
    EXPECT_EQ(SpectatorAvatarPictureIndex(avatar), index) << avatar;
  }
  EXPECT_THROW(AvatarPictureIndex("mx"), RuntimeFailure);
  EXPECT_THROW(SpectatorAvatarPictureIndex("m"), RuntimeFailure);
}

TEST(Portraits, ProfileFieldsAndAnEmptyAvatar) {
  ProfileFields fields{.seatMask = 15, .account = "alice", .nickname = "张三abc", .avatar = ""};
  auto r = Profile(fields);
  PutLittleEndian(r, 152, 0x7FFFFFFF, 4);
  PutLittleEndian(r, 164, 3, 4);
  const PlayerRecord p = ParseProfile(r);
  EXPECT_EQ(p.Nickname, "张三abc");
  EXPECT_EQ(p.Avatar, "m1");
  EXPECT_EQ(p.Region, "本地");
  EXPECT_EQ(p.LevelTitle, "新手");
  EXPECT_EQ(p.Tag, "玩家");
  EXPECT_EQ(p.Coins, 1000);
  EXPECT_EQ(p.Logins, 0x7FFFFFFF);
  EXPECT_EQ(p.Losses, 3);
  EXPECT_EQ(p.ProfileAccount, "alice");
  EXPECT_EQ(p.VoiceNumber, "10");
  // A two-byte character may not start in the name's last byte; it stands alone there.
  r.fill(0);
  std::fill(r.begin() + 16, r.begin() + 47, 'a');
  r[47] = 0xD5;
  EXPECT_EQ(protocol::CharCount(ParseProfile(r).Nickname), 32u);
  r[155] = 0x80;
  EXPECT_THROW(ParseProfile(r), RuntimeFailure);
}

TEST_F(Session, ProfilesOfUnseatedPlayersFillTheTable) {
  c().mainForm.State = ui::WindowState::Minimized;
  const char* names[] = {"bob", "carol", "dave"};
  for (int k = 0; k < 3; ++k) {
    ASSERT_FALSE(Deliver(h, Profile({.account = names[k], .nickname = names[k]})));
    EXPECT_EQ(c().players.SeatedCount, k + 1);
    EXPECT_EQ(c().table.custom(k + 1).Account, names[k]);
    EXPECT_EQ(c().mainForm.Nid(k + 1).Caption, std::string("[玩家] ") + names[k]);
    if (k < 2) {
      EXPECT_EQ(c().mainForm.State, ui::WindowState::Minimized);
    }
  }
  auto& f = c().mainForm;
  EXPECT_EQ(f.Cash(3).Caption, "1000金币");
  EXPECT_EQ(f.Level(3).Caption, "新手");
  EXPECT_EQ(f.Tou(3).picture.id, 191);
  EXPECT_EQ(c().forms.Hero.ID(3).Caption, "dave");
  EXPECT_EQ(c().forms.Score.Tou(3).picture.id, 191);
  EXPECT_EQ(f.State, ui::WindowState::Normal);
  EXPECT_EQ(h.p.hall.SysCommands(), std::vector<std::uint32_t>{kScMinimize});
  EXPECT_EQ(c().table.TableReadyForNext, -1);
  EXPECT_EQ(f.Sysmsg(0).lines, std::vector<std::string>{kStartsSoonLine});

  // The same player again changes nothing; a player leaving frees a position for the next.
  ASSERT_FALSE(Deliver(h, Profile({.account = "carol", .nickname = "other"})));
  EXPECT_EQ(c().players.SeatedCount, 3);
  EXPECT_EQ(f.Nid(2).Caption, "[玩家] carol");
  ASSERT_FALSE(Deliver(h, Profile({.account = "frank", .nickname = "frank"})));  // no room
  EXPECT_EQ(c().players.SeatedCount, 3);
  EXPECT_EQ(f.Nid(1).Caption, "[玩家] bob");
  ASSERT_FALSE(Deliver(h, Named(21, 0, "carol")));
  EXPECT_EQ(c().players.SeatedCount, 2);
  ASSERT_FALSE(Deliver(h, Profile({.account = "erin", .nickname = "erin", .avatar = "w3"})));
  EXPECT_EQ(c().table.custom(2).Account, "erin");
  EXPECT_EQ(f.Tou(2).picture.id, 401 + 2);  // portrait 12
}

TEST_F(Session, ProfilesWithSeatBits) {
  c().table.custom(0).SeatBit = 4;
  c().toolbar.ToolbarLock(2) = -1;
  ASSERT_FALSE(Deliver(h, Profile({.seatMask = 4, .account = "self", .nickname = "self"})));
  EXPECT_TRUE(c().mainForm.Nid(0).Caption.empty());
  EXPECT_EQ(c().toolbar.ToolbarLock(2), -1);
  ASSERT_FALSE(
      Deliver(h, Profile({.seatMask = 8, .account = "east", .nickname = "东", .ready = true})));
  EXPECT_EQ(c().table.custom(3).Account, "east");  // seat bit 8 is next after seat bit 4
  EXPECT_TRUE(c().mainForm.OK(3).Visible);
  EXPECT_EQ(c().players.SeatedCount, 0);
  ASSERT_FALSE(Deliver(h, Profile({.seatMask = 15, .account = "alice", .nickname = "爱丽丝"})));
  EXPECT_EQ(c().mainForm.Nid(0).Caption, "[玩家] 爱丽丝");
  EXPECT_EQ(c().toolbar.ToolbarLock(2), 0);

  // A counter that does not fit 32 signed bits is a failure: hall restored, process ended.
  auto r = Profile({.seatMask = 2, .account = "x"});
  r[159] = 0x80;
  h.p.hall.received.clear();
  auto ended = Deliver(h, r);
  ASSERT_TRUE(ended);
  EXPECT_EQ(h.p.hall.SysCommands(), std::vector<std::uint32_t>{kScRestore});
}

TEST_F(Session, FourthNamedProfileRunsTheSeatDrawOnce) {
  c().table.custom(0).SeatBit = 2;
  c().hand.SeatDrawPending = -1;
  c().hand.SeatsNamed = 2;
  c().toolbar.ToolbarLock(5) = c().toolbar.ToolbarLock(6) = -1;
  const int sleeps = h.p.clock.Sleeps();
  ASSERT_FALSE(Deliver(h, Profile({.seatMask = 1, .account = "n"})));
  EXPECT_EQ(h.p.clock.Sleeps(), sleeps);
  ASSERT_FALSE(Deliver(h, Profile({.seatMask = 2, .account = "alice"})));  // own seat: draw
  EXPECT_EQ(c().hand.SeatsNamed, 5);
  EXPECT_EQ(c().hand.SeatDrawPending, 0);
  EXPECT_EQ(h.p.clock.Sleeps(), sleeps + 2);
  EXPECT_TRUE(c().mainForm.ZhiNan.Visible);
  EXPECT_EQ(c().mainForm.ZhiNan.picture.id, 127);
  EXPECT_EQ(c().toolbar.ToolbarLock(5), 0);
  EXPECT_EQ(c().toolbar.ToolbarLock(6), 0);
  ASSERT_FALSE(Deliver(h, Profile({.seatMask = 4, .account = "s"})));
  EXPECT_EQ(h.p.clock.Sleeps(), sleeps + 2);
}

TEST_F(Session, TwoPlayersLeavingAtOnce) {
  SeatEveryone();
  c().scheduler.Enable(TickScheduler::kContinue);
  c().session.HandNumber = 3;
  const auto before = h.p.clock.NowMs();
  // Seats 1 and 8 remain: seat bits 2 (下家) and 4 (对家) have left.
  ASSERT_FALSE(Deliver(h, ClientHarness::ServerRecord(16, 9, {0, 0, 0, 1})));
  EXPECT_EQ(c().players.SeatedCount, 1);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_TRUE(c().mainForm.Nid(i).Caption.empty());
    EXPECT_FALSE(c().mainForm.OK(i).Visible);
    EXPECT_TRUE(c().table.custom(i).Account.empty());
  }
  EXPECT_EQ(c().mainForm.Sysmsg(0).lines,
            std::vector<std::string>{"下家,对家,退出了游戏！ 10:0:0"});
  EXPECT_EQ(c().mainForm.Sysmsg(1).lines,
            std::vector<std::string>{"下家,对家,请退出重新开始游戏."});
  const auto& notice = c().forms.frmOtherExit;
  EXPECT_TRUE(notice.Visible);
  EXPECT_TRUE(notice.TopMost);
  EXPECT_EQ(notice.Label1.Caption, "玩家下家,对家,退出了游戏！游戏结束！");
  EXPECT_EQ(notice.Left, c().mainForm.Left + (c().mainForm.Width - notice.Width) / 2);
  EXPECT_EQ(c().players.GameOverSeen, -1);
  EXPECT_EQ(c().forms.frmOtherExit.NoticeShown, -1);
  EXPECT_TRUE(c().forms.Hero.Visible);
  EXPECT_FALSE(c().scheduler[TickScheduler::kContinue].enabled);
  EXPECT_EQ(c().session.HandNumber, 0);
  EXPECT_EQ(c().table.TableReadyForNext, 0);
  EXPECT_GE(h.p.clock.NowMs() - before, 2000);
}

TEST_F(Session, SeatEventsThatChangeNothingOrEndTheClient) {
  SeatEveryone();
  ASSERT_FALSE(Deliver(h, ClientHarness::ServerRecord(16, 15, {0, 0, 0, 1})));
  ASSERT_FALSE(Deliver(h, ClientHarness::ServerRecord(16, 3, {0, 0, 0, 0})));
  EXPECT_EQ(c().players.SeatedCount, 3);
  EXPECT_FALSE(c().forms.frmOtherExit.Visible);
  // Only the local seat bit 1 is missing: the local player has left.
  auto ended = Deliver(h, ClientHarness::ServerRecord(16, 14, {0, 0, 0, 1}));
  ASSERT_TRUE(ended);
  EXPECT_EQ(h.p.socket.State(), platform::ISocket::kClosed);
}

TEST_F(Session, DealerSeatEvent) {
  SeatEveryone();
  ASSERT_FALSE(Deliver(h, ClientHarness::ServerRecord(16, 4, {0, 0, 0, 2})));
  EXPECT_EQ(c().mainForm.Zhuang.Caption, "南");
  EXPECT_EQ(c().table.custom(2).IsDealer, -1);
  EXPECT_EQ(c().table.custom(0).IsDealer, 0);
}

TEST_F(Session, PlayersOutOfCoins) {
  struct Case {
    int withCoins;
    const char* line;
    const char* notice;
    int seated;
  };
  const Case cases[] = {
      {14, "玩家，alice金币不够，退出游戏！", "您的金币不够，退出游戏！游戏结束！", 3},
      {12, "玩家下家，alice金币不够，退出游戏！", "玩家下家以及您的金币不够，退出游戏！游戏结束！",
       2},
      {3, "玩家对家，上家金币不够，退出游戏！", "玩家对家，上家的金币不够，退出游戏！游戏结束！",
       1},
  };
  for (const auto& k : cases) {
    ClientHarness g;
    g.StartAndLogIn();
    Client& cl = g.c();
    testing::SeatEveryone(cl);
    cl.table.custom(0).Account = "alice";
    ASSERT_FALSE(Deliver(g, ClientHarness::ServerRecord(16, k.withCoins, {0, 0, 0, 3})));
    EXPECT_EQ(cl.mainForm.Sysmsg(0).lines, std::vector<std::string>{k.line});
    EXPECT_EQ(cl.forms.frmOtherExit.Label1.Caption, k.notice);
    EXPECT_EQ(cl.players.SeatedCount, k.seated);
    EXPECT_EQ(g.p.socket.State(), platform::ISocket::kClosed);
    EXPECT_FALSE(cl.scheduler[TickScheduler::kLinkWatch].enabled);
    EXPECT_TRUE(cl.forms.Score.Visible);
    EXPECT_EQ(cl.forms.frmOtherExit.NoticeShown, -1);
  }
}

TEST_F(Session, PlayerQuit) {
  SeatEveryone();
  c().scheduler.Enable(TickScheduler::kContinue);
  ASSERT_FALSE(Deliver(h, Named(21, 0, "stranger")));
  EXPECT_FALSE(c().scheduler[TickScheduler::kContinue].enabled);
  EXPECT_EQ(c().players.SeatedCount, 3);
  EXPECT_EQ(c().table.TableReadyForNext, -1);

  ASSERT_FALSE(Deliver(h, Named(21, 0, "acct2")));
  EXPECT_EQ(c().players.SeatedCount, 2);
  EXPECT_EQ(c().table.TableReadyForNext, 0);
  EXPECT_TRUE(c().mainForm.Nid(2).Caption.empty());
  EXPECT_TRUE(c().players.PlayerInfo(2).Nickname.empty());
  EXPECT_EQ(c().mainForm.Sysmsg(0).lines, std::vector<std::string>{"对家退出了游戏 10:0:0"});
  EXPECT_EQ(c().mainForm.Nid(1).Caption, "上家");

  auto ended = Deliver(h, Named(21, 0, "alice"));
  ASSERT_TRUE(ended);
  EXPECT_TRUE(h.p.dialogs.boxes.empty());
}

TEST_F(Session, WildTileKeepsTheLowBytes) {
  auto r = ClientHarness::ServerRecord(14, 0, {0, 0, 0x1FF, 0x318});
  ASSERT_FALSE(Deliver(h, r));
  EXPECT_EQ(c().table.WildTile, 0xFF);
  EXPECT_EQ(c().table.WildIndicator, 0x18);
}

// The wild tile stands in the 混儿 frame, as its large upright face, until the table is cleared;
// a value that names no tile leaves the frame empty.
TEST_F(Session, WildTileIsShownInItsFrameUntilTheReset) {
  struct Case {
    int wild, picture;  // picture 0: the frame stays empty
  };
  const Case cases[] = {{0x49, 201 + 144 + 18 + 8},
                        {0x11, 201 + 144},
                        {0x17, 201 + 144 + 6},
                        {0x89, 201 + 144 + 27 + 8},
                        {0, 0},
                        {0x18, 0},
                        {0x30, 0},
                        {0x40, 0}};
  auto& jk = c().mainForm.JK_Image;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.wild);
    ASSERT_FALSE(Deliver(h, ClientHarness::ServerRecord(14, 0, {0, 0, k.wild, 0x48})));
    EXPECT_EQ(jk.Visible, k.picture != 0);
    if (k.picture != 0) {
      EXPECT_EQ(jk.picture.id, k.picture);
    }
    ClearHandDisplay(c());
    EXPECT_FALSE(jk.Visible);
  }
}

TEST_F(Session, NoticeButtons) {
  SeatEveryone();
  ShowNotice(c(), "结束");
  c().scheduler.Enable(TickScheduler::kLinkWatch);
  c().session.TableActive = -1;
  auto& notice = c().forms.frmOtherExit;
  notice.OnInput({ui::InputKind::Click, &notice.imgCancel});
  EXPECT_FALSE(notice.Visible);
  EXPECT_EQ(c().session.TableActive, 0);
  EXPECT_FALSE(c().scheduler[TickScheduler::kLinkWatch].enabled);
  EXPECT_EQ(c().mainForm.Nid(1).Caption, "上家");  // the table stays on screen

  ShowNotice(c(), "结束");
  try {
    notice.OnInput({ui::InputKind::Click, &notice.imgOK});
  } catch (const ProcessEnded&) {
    FAIL() << "the hall exists";
  }
  EXPECT_FALSE(notice.Visible);
  EXPECT_EQ(c().mainForm.State, ui::WindowState::Minimized);
  EXPECT_EQ(h.p.hall.SysCommands(), std::vector<std::uint32_t>{kScRestore});
  // The way back to the hall resets the session: seats, profiles and result windows empty.
  EXPECT_TRUE(c().mainForm.Nid(1).Caption.empty());
  EXPECT_EQ(c().players.SeatedCount, 0);
  EXPECT_TRUE(c().players.PlayerInfo(1).Nickname.empty());
  EXPECT_EQ(c().toolbar.ToolbarLock(2), -1);
  EXPECT_TRUE(c().forms.Hero.ID(1).Caption.empty());
  h.p.hall.exists = false;
  ShowNotice(c(), "结束");
  EXPECT_THROW(notice.OnInput({ui::InputKind::Click, &notice.imgOK}), ProcessEnded);
}

class Spectator : public ::testing::Test {
 protected:
  void SetUp() override { h.StartAndLogIn(); }
  ClientHarness h{"bob$pw$127.0.0.1$6000$Room$4242"};
  Client& c() { return h.c(); }
};

TEST_F(Spectator, TableAssembledFromTheFourthProfile) {
  ASSERT_NE(c().table.Spectating, 0);
  c().hand.ClearedSeatMask = 2;  // the dealer is the watched player
  c().hand.ClearedValue0 = 3;
  c().hand.ClearedValue1 = 4;
  ASSERT_FALSE(Deliver(h, Profile({.seatMask = 1, .account = "one", .userId = 1})));
  ASSERT_FALSE(
      Deliver(h, Profile({.seatMask = 2, .account = "watched", .avatar = "w3", .userId = 4242})));
  ASSERT_FALSE(Deliver(h, Profile({.seatMask = 4, .account = "four", .userId = 3})));
  EXPECT_TRUE(c().mainForm.Nid(0).Caption.empty());
  EXPECT_EQ(c().mainForm.Tou(0).picture.id, 0);
  ASSERT_FALSE(Deliver(h, Profile({.seatMask = 8, .account = "eight", .userId = 4})));
  const int bits[] = {2, 1, 8, 4};
  const char* accounts[] = {"watched", "one", "eight", "four"};
  for (int q = 0; q <= 3; ++q) {
    EXPECT_EQ(c().table.custom(q).SeatBit, bits[q]) << q;
    EXPECT_EQ(c().table.custom(q).Account, accounts[q]) << q;
  }
  EXPECT_EQ(c().mainForm.Tou(0).picture.id, 191 + 7);
  EXPECT_EQ(c().forms.Hero.Tou(0).picture.id, 191 + 7);
  EXPECT_EQ(c().table.custom(0).IsDealer, -1);
  EXPECT_EQ(c().table.WallHead, 82);  // ((10 mod 4) × 17 + 3 + 4) × 2
  EXPECT_EQ(c().table.WallTail, 80);
  EXPECT_EQ(c().mainForm.ZhiNan.picture.id, 127);

  // A fifth profile finds no free slot: a failure, and a departure ends the watch.
  EXPECT_TRUE(Deliver(h, Profile({.seatMask = 8, .account = "late"})));
}

// The watched id is an 8-byte real like the profiles' user ids: ids beyond 32 bits match, and
// no number on the command line is out of range.
TEST(SpectatorId, TheWatchedPlayerIsFoundByAnyUserId) {
  struct Case {
    std::string text;
    std::uint64_t id;  // the user id of the profile at seat bit 2
    bool found;
  };
  const Case cases[] = {{"5000000000", 5000000000ULL, true},
                        {"18446744073709551615", 18446744073709551615ULL, true},
                        {"4294967297", 1, false},
                        {"1" + std::string(400, '0'), 3, false},
                        {"-1", 18446744073709551615ULL, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    ClientHarness h{"bob$pw$127.0.0.1$6000$Room$" + k.text};
    h.StartAndLogIn();
    Client& c = h.c();
    const std::uint64_t ids[] = {7, k.id, 3, 4};
    for (int b = 0; b <= 3; ++b) {
      ASSERT_FALSE(Deliver(
          h, Profile(
                 {.seatMask = 1 << b, .account = b == 1 ? "watched" : "other", .userId = ids[b]})));
    }
    // Unless the watched player is found, the seat keeps the command line's account.
    EXPECT_EQ(c.table.custom(0).Account, k.found ? "watched" : "bob");
  }
}

TEST_F(Spectator, DepartureEndsTheWatch) {
  auto ended = Deliver(h, Named(21, 0, "someone"));
  ASSERT_TRUE(ended);
  ASSERT_EQ(h.p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(h.p.dialogs.boxes[0].text, kWatchEndedBox);
}

}  // namespace
}  // namespace tallow::testing
