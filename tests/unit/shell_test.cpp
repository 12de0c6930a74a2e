#include <gtest/gtest.h>

#include "doubles/client_harness.h"
#include "forms/exit_dialog.h"
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

}  // namespace
}  // namespace tallow::testing
