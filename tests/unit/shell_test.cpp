#include <gtest/gtest.h>

#include <filesystem>

#include "doubles/client_harness.h"
#include "forms/exit_dialog.h"
#include "hand/game_record.h"
#include "shell/window_shell.h"

namespace tallow::testing {
namespace {

using platform::wm::kScMinimize;

TEST(Shell, FrameOnlyOnLargeScreens) {
  ClientHarness big, exact;
  big.p.process.screenWidth = 1280;
  big.p.process.screenHeight = 1024;
  big.Start();
  exact.Start();
  auto& f = big.c().mainForm;
  EXPECT_TRUE(big.c().shell.FramePainted);
  EXPECT_FALSE(exact.c().shell.FramePainted);
  EXPECT_FALSE(exact.c().mainForm.FramePiece(0).Visible);
  // Title band 20 px, edges 8 px; Pic1 sits inside them.
  EXPECT_EQ(f.FramePiece(1).Height, 20);
  EXPECT_EQ(f.FramePiece(3).Width, 8);
  EXPECT_EQ(f.FramePiece(6).Top, 796 - 8);
  EXPECT_EQ(f.FramePiece(3).Height, 796 - 28);
  EXPECT_EQ(f.FramePiece(7).Source, (ui::Rect{38, 212, 8, 8}));
  EXPECT_EQ(f.Pic1.Left, 8);
  EXPECT_EQ(f.Pic1.Top, 20);
  EXPECT_EQ(f.Pic1.Width, 1024);
  EXPECT_EQ(f.Pic1.Height, 768);
  EXPECT_GT(f.ImgMin(0).Left + f.ImgMin(0).Width, f.LbMove.Left + f.LbMove.Width - 1);
  EXPECT_LT(f.ImgMin(0).Left, f.ImgClose(0).Left);
}

TEST(Shell, F1HidesMinimisesAndRestoreUndoes) {
  for (bool robot : {false, true}) {
    ClientHarness h(robot ? "r$p$h$1$room$0$$0$$$1$锦程山庄$R$" : kPlayerLine);
    h.Start();
    Client& c = h.c();
    c.forms.Talk.Visible = c.forms.frmExit.Visible = c.forms.Score.Visible = true;
    c.forms.huifu.Visible = true;
    c.table.TurnSeconds = 15;
    c.table.TimeoutCount = 2;
    TableKeyDown(c, kKeyF1);
    EXPECT_EQ(c.shell.HiddenByF1, -1);
    EXPECT_FALSE(c.forms.Talk.Visible || c.forms.frmExit.Visible || c.forms.Score.Visible);
    EXPECT_TRUE(c.forms.huifu.Visible);  // not one of the six
    EXPECT_EQ(c.table.TurnSeconds, 0);
    EXPECT_EQ(c.mainForm.State, ui::WindowState::Minimized);
    EXPECT_EQ(h.p.hall.SysCommands().back(), kScMinimize);

    c.mainForm.State = ui::WindowState::Normal;
    MainFormResize(c);
    EXPECT_EQ(c.table.TurnSeconds, robot ? 1 : 8);
    EXPECT_EQ(c.shell.HiddenByF1, 0);
    EXPECT_EQ(c.table.TimeoutCount, 0);
    EXPECT_TRUE(c.mainForm.RaiseRequested);
    EXPECT_EQ(c.mainForm.FocusRequested, &c.mainForm.Chat);
  }
}

TEST(Shell, RestoreWithoutF1KeepsTurnSeconds) {
  ClientHarness h;
  h.Start();
  h.c().table.TurnSeconds = 15;
  h.c().table.TimeoutCount = 2;
  MainFormResize(h.c());
  EXPECT_EQ(h.c().table.TurnSeconds, 15);
  EXPECT_EQ(h.c().table.TimeoutCount, 0);
  EXPECT_EQ(h.p.hall.SysCommands().back(), kScMinimize);
  h.p.hall.exists = false;
  EXPECT_THROW(MainFormResize(h.c()), ProcessEnded);
}

TEST(Shell, AltAndCInEitherOrderOpenTheChat) {
  struct Case {
    std::vector<int> keys;
    bool opens;
  };
  const Case cases[] = {{{kKeyAlt, kKeyC}, true},
                        {{kKeyC, kKeyAlt}, true},
                        {{kKeyAlt, 65, kKeyC}, false},
                        {{kKeyAlt, kKeyAlt}, false},
                        {{kKeyC, 13, kKeyAlt}, false}};
  for (const auto& k : cases) {
    ClientHarness h;
    h.Start();
    for (int key : k.keys) TableKeyDown(h.c(), key);
    EXPECT_EQ(h.c().forms.Talk.Visible, k.opens);
  }
}

TEST(Shell, EscTogglesTheExitDialogWithItsWarning) {
  ClientHarness h;
  h.Start();
  Client& c = h.c();
  c.session.TableActive = -1;
  TableKeyDown(c, kKeyEscape);
  EXPECT_TRUE(c.forms.frmExit.Visible);
  EXPECT_TRUE(c.forms.frmExit.ExitWarningShown);
  TableKeyDown(c, kKeyEscape);
  EXPECT_FALSE(c.forms.frmExit.Visible);
  c.table.Spectating = -1;
  ToggleExitDialog(c, true);
  EXPECT_FALSE(c.forms.frmExit.ExitWarningShown);
  EXPECT_TRUE(c.forms.frmExit.RaiseRequested);
}

TEST(Shell, TitleButtonsLightOnlyAfterTheBackgroundWasCrossed) {
  ClientHarness h;
  h.p.process.screenWidth = 1280;
  h.p.process.screenHeight = 1024;
  h.Start();
  Client& c = h.c();
  auto& close = c.mainForm.ImgClose;
  ui::InputEvent move{ui::InputKind::MouseMove, &close(0)};
  c.mainForm.OnInput(move);
  EXPECT_EQ(close(0).picture, close(1).picture);  // not yet
  c.mainForm.OnInput({ui::InputKind::MouseMove, nullptr});
  c.mainForm.OnInput(move);
  EXPECT_EQ(close(0).picture, close(2).picture);
  c.mainForm.OnInput({ui::InputKind::MouseMove, &c.mainForm.Pic1});
  EXPECT_EQ(close(0).picture, close(2).picture);  // moving into the table keeps the hover
  c.mainForm.OnInput({ui::InputKind::MouseDown, &close(0), ui::kLeftButton});
  EXPECT_EQ(close(0).picture, close(3).picture);
  c.mainForm.OnInput({ui::InputKind::Click, &c.mainForm.ImgMin(0)});
  EXPECT_EQ(c.mainForm.State, ui::WindowState::Minimized);
  c.mainForm.OnInput({ui::InputKind::MouseDown, &c.mainForm.LbMove, ui::kLeftButton});
  EXPECT_TRUE(c.mainForm.MoveRequested);
}

}  // namespace
}  // namespace tallow::testing

namespace tallow::testing {
namespace {

TEST(Toolbar, ButtonsRunTheirCommands) {
  ClientHarness h;
  h.StartAndLogIn();
  Client& c = h.c();
  c.table.custom(0).SeatBit = 4;
  c.toolbar.ToolbarLock(2) = 0;
  auto click = [&](int i) { c.mainForm.OnInput({ui::InputKind::Click, &c.mainForm.AnNiu(i)}); };
  h.p.socket.sent.clear();
  click(2);  // 开始 declares the player ready
  h.Ticks(3);
  auto sent = h.p.socket.SentRecords();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 16);
  EXPECT_EQ(sent[0][15], 1);
  click(6);
  EXPECT_TRUE(c.forms.Hero.Visible);
  click(6);
  EXPECT_FALSE(c.forms.Hero.Visible);
  click(8);
  EXPECT_TRUE(c.forms.frmExit.Visible);
  click(4);  // 隐藏 minimises the table only
  EXPECT_EQ(c.mainForm.State, ui::WindowState::Minimized);
  EXPECT_EQ(c.shell.HiddenByF1, 0);
}

struct Pointer {
  Client& c;
  void On(ui::Control& ctl, double x = 0, double y = 0) {
    ui::InputEvent e{ui::InputKind::MouseMove, &ctl};
    e.x = x;
    e.y = y;
    c.mainForm.OnInput(e);
  }
  int Picture(int i) const { return c.mainForm.AnNiu(i).picture.id; }
};

// Each button lights up under the pointer with its tooltip and stays lit, over other controls
// too, until the pointer moves over the table picture again.
TEST(Toolbar, ButtonsLightUpWithTheirTooltipsUntilThePointerIsBackOnTheTable) {
  struct Case {
    int button, normal, lit;  // picture ids: ButtonImageIds(k) is 101 + k on this screen
    const char* tip;
  };
  const Case cases[] = {
      {0, 101, 102, "发送信息，快捷键为回车键"},
      {1, 103, 104, "点击打开聊天窗口"},
      {2, 105, 106, "点击开始新一局游戏"},
      {3, 109, 110, "游戏的基本设置"},
      {4, 111, 112, "最小化窗口，快捷键为F1"},
      {5, 113, 114, "可以查看当前牌局详细结果"},
      {6, 115, 116, "可以查看本次游戏的所有牌局详细结果"},
      {7, 117, 118, "点击这里了解游戏规则"},
      {8, 119, 120, "退出游戏"},
  };
  ClientHarness h;
  h.StartAndLogIn();
  Client& c = h.c();
  Pointer pointer{c};
  auto& f = c.mainForm;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.button);
    EXPECT_EQ(pointer.Picture(k.button), k.normal);
    pointer.On(f.AnNiu(k.button));
    EXPECT_EQ(pointer.Picture(k.button), k.lit);
    EXPECT_EQ(f.AnNiu(k.button).ToolTipText, k.tip);
    pointer.On(f.Bird);
    pointer.On(f.Chat);
    EXPECT_EQ(pointer.Picture(k.button), k.lit);
    pointer.On(f.Pic1, 500, 300);
    EXPECT_EQ(pointer.Picture(k.button), k.normal);
    EXPECT_EQ(c.toolbar.ButtonHover(k.button), 0);
  }
  // Two lit at once (the pointer jumped between them) both go out; so does the player card.
  pointer.On(f.AnNiu(5));
  pointer.On(f.AnNiu(6));
  c.forms.Information.Visible = true;
  pointer.On(f.Pic1, 500, 300);
  EXPECT_EQ(pointer.Picture(5), 113);
  EXPECT_EQ(pointer.Picture(6), 115);
  EXPECT_FALSE(c.forms.Information.Visible);
}

// 开始 until it has been pressed or a hand has been dealt since the login, 继续 afterwards;
// the picture a lit button shows is the one it got when the pointer arrived.
TEST(Toolbar, StartButtonLightsUpAsStartOrContinue) {
  struct Case {
    short handNumber;
    bool pressed;
    int normal, lit;
  };
  const Case cases[] = {{0, false, 105, 106}, {0, true, 107, 108}, {1, false, 107, 108}};
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.handNumber) + (k.pressed ? " pressed" : ""));
    ClientHarness h;
    h.StartAndLogIn();
    Client& c = h.c();
    Pointer pointer{c};
    c.toolbar.ToolbarLock(2) = 0;
    c.session.HandNumber = k.handNumber;
    if (k.pressed) c.mainForm.OnInput({ui::InputKind::Click, &c.mainForm.AnNiu(2)});
    pointer.On(c.mainForm.AnNiu(2));
    EXPECT_EQ(pointer.Picture(2), k.lit);
    pointer.On(c.mainForm.Pic1, 500, 300);
    EXPECT_EQ(pointer.Picture(2), k.normal);
  }
}

// 战绩 shows the last hand with a record: none before the first hand, the hand before the one in
// play, the hand just ended; a second click closes the window.
TEST(Toolbar, HandResultShowsTheLastFinishedHand) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("tallow-toolbar-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  ClientHarness h;
  h.p.process.appPath = dir.string();
  h.StartAndLogIn();
  Client& c = h.c();
  auto& list = c.forms.Score.State(0);
  for (int n = 1; n <= 3; ++n) {
    list.Clear();
    list.AddItem("hand " + std::to_string(n));
    WriteGameRecord(c, n);
  }
  struct Case {
    short handNumber;
    bool inPlay;
    const char* shown;  // nullptr: the window keeps what it holds
  };
  const Case cases[] = {{0, false, nullptr}, {3, true, "hand 2"}, {3, false, "hand 3"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.handNumber) + (k.inPlay ? " in play" : ""));
    list.Clear();
    c.session.HandNumber = k.handNumber;
    c.session.HandInPlay = k.inPlay;
    c.mainForm.OnInput({ui::InputKind::Click, &c.mainForm.AnNiu(5)});
    EXPECT_TRUE(c.forms.Score.Visible);
    EXPECT_EQ(list.lines, k.shown ? std::vector<std::string>{k.shown} : std::vector<std::string>{});
    c.mainForm.OnInput({ui::InputKind::Click, &c.mainForm.AnNiu(5)});
    EXPECT_FALSE(c.forms.Score.Visible);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tallow::testing
