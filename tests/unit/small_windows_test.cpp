// The exit confirmation, the result window and the leaderboard: their buttons, rows and drags,
// and that every one of the small windows keeps its controls inside itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "doubles/client_harness.h"
#include "forms/exit_dialog.h"
#include "forms/notice_window.h"
#include "forms/result_windows.h"
#include "hand/game_record.h"
#include "shell/window_shell.h"

namespace tallow::testing {
namespace {

using namespace platform::wm;

// -- The exit confirmation ------------------------------------------------------------------

class ExitDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    h.StartAndLogIn();
    c().table.custom(0).SeatBit = 4;
    c().mainForm.Nid(1).Caption = "上家";
    c().scheduler.Enable(TickScheduler::kLinkWatch);
    c().table.TableReadyForNext = -1;
  }
  Client& c() { return h.c(); }
  ExitForm& dlg() { return c().forms.frmExit; }
  void Click(ui::Control& button) { dlg().OnInput({ui::InputKind::Click, &button}); }
  // The SeatState records (code 16) the client wrote since the last clear.
  int LeaveRecords() {
    int n = 0;
    for (const auto& r : h.p.socket.SentRecords()) n += r[protocol::off::kType] == 16 ? 1 : 0;
    return n;
  }

  ClientHarness h;
};

TEST_F(ExitDialog, OpensWithItsButtonsAndTheWarningOnlyForAPlayerInAGame) {
  struct Case {
    short tableActive, spectating;
    bool warning;
  };
  const Case cases[] = {{-1, 0, true}, {-1, -1, false}, {0, 0, false}, {0, -1, false}};
  for (const Case& k : cases) {
    c().session.TableActive = k.tableActive;
    c().table.Spectating = k.spectating;
    ToggleExitDialog(c(), true);
    ASSERT_TRUE(dlg().Visible);
    EXPECT_EQ(dlg().Label2.Visible, k.warning) << k.tableActive << "/" << k.spectating;
    EXPECT_EQ(c().forms.frmExit.ExitWarningShown, k.warning);
    EXPECT_TRUE(dlg().Label1.Visible);
    EXPECT_EQ(dlg().Label1.Caption, "您真的要退出吗？");
    EXPECT_EQ(dlg().Label2.Caption, "游戏正在进行，逃跑会扣分！");
    ToggleExitDialog(c(), true);
    EXPECT_FALSE(dlg().Visible);
  }
  EXPECT_EQ(dlg().Caption, "退出");
  EXPECT_EQ(dlg().pbCloseMe.picture.id, 130);  // 确定
  EXPECT_EQ(dlg().pbCancel.picture.id, 132);   // 取消
  for (const ui::Image* b : {&dlg().pbCloseMe, &dlg().pbCancel}) {
    EXPECT_EQ(b->Width, 65);
    EXPECT_EQ(b->Height, 30);
  }
}

TEST_F(ExitDialog, CancelOnlyClosesTheDialog) {
  c().session.TableActive = -1;
  for (ui::InputKind how : {ui::InputKind::Click, ui::InputKind::Unload}) {
    ToggleExitDialog(c(), true);
    h.p.socket.sent.clear();
    if (how == ui::InputKind::Click) {
      Click(dlg().pbCancel);
    } else {
      dlg().OnInput({ui::InputKind::Unload});  // the window system closed it
    }
    EXPECT_FALSE(dlg().Visible);
    EXPECT_EQ(c().session.TableActive, -1);
    EXPECT_TRUE(c().scheduler[TickScheduler::kLinkWatch].enabled);
    EXPECT_EQ(h.p.socket.State(), platform::ISocket::kConnected);
    EXPECT_EQ(c().mainForm.Nid(1).Caption, "上家");
    EXPECT_EQ(c().mainForm.State, ui::WindowState::Normal);
    EXPECT_TRUE(h.p.hall.SysCommands().empty());
    EXPECT_EQ(LeaveRecords(), 0);
  }
}

TEST_F(ExitDialog, ConfirmLeavesTheTableForTheHallOrEndsWithoutIt) {
  struct Case {
    bool connected, hall;
  };
  const Case cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
  for (const Case& k : cases) {
    ClientHarness g;
    g.StartAndLogIn();
    Client& cl = g.c();
    cl.table.custom(0).SeatBit = 4;
    cl.mainForm.Nid(1).Caption = "上家";
    cl.session.TableActive = -1;
    cl.table.TableReadyForNext = -1;
    cl.scheduler.Enable(TickScheduler::kLinkWatch);
    if (!k.connected) g.p.socket.Close();
    g.p.hall.exists = k.hall;
    ToggleExitDialog(cl, true);
    g.p.socket.sent.clear();
    const auto before = g.p.clock.NowMs();
    bool ended = false;
    try {
      cl.forms.frmExit.OnInput({ui::InputKind::Click, &cl.forms.frmExit.pbCloseMe});
    } catch (const ProcessEnded&) {
      ended = true;
    }
    const std::string what = std::string(k.connected ? "connected" : "not connected") + ", " +
                             (k.hall ? "hall" : "no hall");
    EXPECT_EQ(ended, !k.hall) << what;
    // The server hears of the departure only over a live connection.
    int leaves = 0;
    for (const auto& r : g.p.socket.SentRecords()) {
      if (r[protocol::off::kType] != 16) continue;
      ++leaves;
      EXPECT_EQ(r[protocol::off::kSeatMask], 4) << what;
    }
    EXPECT_EQ(leaves, k.connected ? 1 : 0) << what;
    EXPECT_EQ(g.p.clock.NowMs() - before >= 400, k.connected) << what << ": the wait after leaving";
    // The local reset runs in every case, before the hall is looked for.
    EXPECT_FALSE(cl.scheduler[TickScheduler::kLinkWatch].enabled) << what;
    EXPECT_EQ(g.p.socket.State(), platform::ISocket::kClosed) << what;
    EXPECT_EQ(cl.session.TableActive, 0) << what;
    EXPECT_EQ(cl.table.TableReadyForNext, 0) << what;
    EXPECT_TRUE(cl.mainForm.Nid(1).Caption.empty()) << what;
    EXPECT_FALSE(cl.forms.frmExit.Visible) << what;
    if (k.hall) {
      EXPECT_EQ(cl.mainForm.State, ui::WindowState::Minimized) << what;
      EXPECT_EQ(g.p.hall.SysCommands(), std::vector<std::uint32_t>{kScRestore}) << what;
    }
  }
}

TEST_F(ExitDialog, EscInTheDialogClosesItLikeEscOnTheTable) {
  c().session.TableActive = -1;
  ToggleExitDialog(c(), true);
  dlg().OnInput({ui::InputKind::KeyDown, nullptr, 0, 0, 0, 0, 65});
  EXPECT_TRUE(dlg().Visible) << "another key";
  dlg().OnInput({ui::InputKind::KeyDown, nullptr, 0, 0, 0, 0, kKeyEscape});
  EXPECT_FALSE(dlg().Visible);
  EXPECT_EQ(c().session.TableActive, -1);
  EXPECT_EQ(h.p.socket.State(), platform::ISocket::kConnected);
}

TEST_F(ExitDialog, ReopensAfterAButtonClosedIt) {
  ToggleExitDialog(c(), true);
  Click(dlg().pbCancel);
  EXPECT_FALSE(dlg().Loaded);
  c().session.TableActive = -1;
  ToggleExitDialog(c(), false);
  EXPECT_TRUE(dlg().Loaded);
  EXPECT_TRUE(dlg().Label2.Visible) << "the warning is decided at every opening";
  EXPECT_EQ(dlg().Left, c().mainForm.Left + (c().mainForm.Width - dlg().Width) / 2);
  EXPECT_EQ(dlg().Top, c().mainForm.Top + (c().mainForm.Height - dlg().Height) / 2);
}

// -- The result window and the leaderboard ---------------------------------------------------

class ResultWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("tallow-small-windows-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    h.p.process.appPath = dir.string();
    h.Start();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  Client& c() { return h.c(); }
  ScoreForm& score() { return c().forms.Score; }
  HeroForm& hero() { return c().forms.Hero; }

  // Records three hands whose lists name their hand, with a leaderboard row for each.
  void RecordThreeHands() {
    for (int hand = 1; hand <= 3; ++hand) {
      for (int l = 0; l <= 7; ++l) {
        score().State(l).Clear();
        for (int j = 0; j < 2 + hand; ++j) {
          score().State(l).AddItem("hand " + std::to_string(hand) + " list " + std::to_string(l) +
                                   " line " + std::to_string(j));
        }
      }
      WriteGameRecord(c(), hand);
      hero().Num.AddItem(std::to_string(hand));
      for (int s = 0; s <= 3; ++s) hero().Grade(s).AddItem(std::to_string(hand * 100 + s));
    }
    for (int l = 0; l <= 7; ++l) score().State(l).Clear();
  }

  ClientHarness h;
  std::filesystem::path dir;
};

TEST_F(ResultWindows, DoubleClickOnARowShowsThatHand) {
  RecordThreeHands();
  struct Case {
    ui::ListBox* list;
    int row;
    int hand;  // 0: nothing shown
  };
  const Case cases[] = {{&hero().Num, 1, 2},
                        {&hero().Grade(0), 0, 1},
                        {&hero().Grade(3), 2, 3},
                        {&hero().Grade(2), -1, 0}};
  for (const Case& k : cases) {
    score().Visible = false;
    for (int l = 0; l <= 7; ++l) score().State(l).Clear();
    k.list->ListIndex = k.row;
    hero().OnInput({ui::InputKind::DblClick, k.list, ui::kLeftButton});
    const std::string what = k.list->Name + " row " + std::to_string(k.row);
    if (k.hand == 0) {
      EXPECT_FALSE(score().Visible) << what;
      EXPECT_EQ(score().State(0).ListCount(), 0) << what;
      continue;
    }
    EXPECT_TRUE(score().Visible) << what;
    EXPECT_TRUE(score().RaiseRequested) << what;
    EXPECT_EQ(score().Left, c().mainForm.Left + (c().mainForm.Width - score().Width) / 2);
    for (int l = 0; l <= 7; ++l) {
      ASSERT_EQ(score().State(l).ListCount(), 2 + k.hand) << what;
      EXPECT_EQ(score().State(l).lines[0],
                "hand " + std::to_string(k.hand) + " list " + std::to_string(l) + " line 0")
          << what;
    }
  }
}

TEST_F(ResultWindows, APressedRowIsSelectedInEveryColumn) {
  RecordThreeHands();
  hero().Grade(1).AddItem("a row only this column has");
  struct Case {
    ui::ListBox* pressed;
    int row;
    std::vector<int> expected;  // Num, Grade(0..3)
  };
  const Case cases[] = {
      {&hero().Grade(2), 1, {1, 1, 1, 1, 1}},
      {&hero().Num, 2, {2, 2, 2, 2, 2}},
      {&hero().Grade(0), 0, {0, 0, 0, 0, 0}},
      {&hero().Grade(1), 3, {-1, -1, 3, -1, -1}},  // the others have no fourth row
  };
  for (const Case& k : cases) {
    k.pressed->ListIndex = k.row;  // the view selects the row under the pointer first
    k.pressed->TopIndex = k.row;
    hero().OnInput({ui::InputKind::MouseDown, k.pressed, ui::kLeftButton});
    std::vector<int> got{hero().Num.ListIndex};
    for (int s = 0; s <= 3; ++s) got.push_back(hero().Grade(s).ListIndex);
    EXPECT_EQ(got, k.expected) << k.pressed->Name << k.pressed->Index << " row " << k.row;
    EXPECT_EQ(hero().Num.TopIndex, k.row) << "the columns scroll together";
    for (int s = 0; s <= 3; ++s) EXPECT_EQ(hero().Grade(s).TopIndex, k.row);
  }
}

TEST_F(ResultWindows, CloseButtonsAndDragging) {
  struct Case {
    ui::Form* form;
    ui::Control* control;
    int button;
    bool drags;
  };
  const Case cases[] = {
      {&score(), nullptr, ui::kLeftButton, true},
      {&score(), &score().Title, ui::kLeftButton, true},
      {&score(), &score().State(2), ui::kLeftButton, false},
      {&score(), nullptr, ui::kRightButton, false},
      {&hero(), nullptr, ui::kLeftButton, true},
      {&hero(), &hero().ID(1), ui::kLeftButton, true},
      {&hero(), &hero().Tou(3), ui::kLeftButton, true},
      {&hero(), &hero().Label1, ui::kLeftButton, true},
      {&hero(), &hero().Band, ui::kLeftButton, true},
      {&hero(), &hero().Label2, ui::kLeftButton, false},
      {&hero(), &hero().sumScore(0), ui::kLeftButton, false},
      {&hero(), &hero().Num, ui::kLeftButton, false},
  };
  for (const Case& k : cases) {
    k.form->MoveRequested = false;
    k.form->OnInput({ui::InputKind::MouseDown, k.control, k.button});
    EXPECT_EQ(k.form->MoveRequested, k.drags)
        << k.form->Name << " " << (k.control ? k.control->Name : "form") << " button " << k.button;
  }
  for (ui::Form* f : {static_cast<ui::Form*>(&score()), static_cast<ui::Form*>(&hero())}) {
    f->Visible = true;
    ui::Control* close = f->Find("Image1");
    ASSERT_NE(close, nullptr);
    f->OnInput({ui::InputKind::MouseDown, close, ui::kLeftButton});
    EXPECT_FALSE(f->MoveRequested) << f->Name;
    EXPECT_TRUE(f->Visible) << f->Name << ": pressing is not clicking";
    f->OnInput({ui::InputKind::Click, close, ui::kLeftButton});
    EXPECT_FALSE(f->Visible) << f->Name;
  }
}

TEST_F(ResultWindows, TheLeaderboardsFirstLoadCentresItAndShowsTheLatestRows) {
  RecordThreeHands();
  hero().Grade(2).Clear();
  hero().State = ui::WindowState::Minimized;
  LoadHero(c());
  EXPECT_EQ(hero().State, ui::WindowState::Normal);
  EXPECT_EQ(hero().Left, c().mainForm.Left + (c().mainForm.Width - hero().Width) / 2);
  EXPECT_EQ(hero().Top, c().mainForm.Top + (c().mainForm.Height - hero().Height) / 2);
  EXPECT_EQ(hero().Grade(0).TopIndex, 2);
  EXPECT_EQ(hero().Grade(2).TopIndex, 0) << "an empty column stays at its top";
  hero().Grade(0).TopIndex = 0;
  hero().Left = 7;
  LoadHero(c());
  EXPECT_EQ(hero().Grade(0).TopIndex, 0) << "only the first load scrolls";
  EXPECT_EQ(hero().Left, 7);

  // The history button and the game-over notice both load it.
  ClientHarness g;
  g.Start();
  g.c().mainForm.OnInput({ui::InputKind::Click, &g.c().mainForm.AnNiu(6)});
  EXPECT_TRUE(g.c().forms.Hero.Loaded);
  EXPECT_TRUE(g.c().forms.Hero.Visible);
}

// -- Every small window keeps its controls inside itself --------------------------------------

TEST(SmallWindows, ControlsLieInsideTheClientArea) {
  ClientHarness h;
  h.Start();
  auto& f = h.c().forms;
  // A window with a title bar loses up to 30 pixels of its height and 8 of its width to the
  // frame; the borderless ones keep all of it.
  struct Case {
    ui::Form* form;
    std::size_t controls;  // at least
  };
  const Case cases[] = {
      {&f.Score, 19}, {&f.Hero, 22}, {&f.Information, 20}, {&f.frmExit, 4}, {&f.frmOtherExit, 3}};
  for (const Case& k : cases) {
    const ui::Form& form = *k.form;
    const double frameW = form.Borderless ? 0 : 8, frameH = form.Borderless ? 0 : 30;
    const double width = form.Width / 15 - frameW, height = form.Height / 15 - frameH;
    EXPECT_GE(form.PaintOrder().size(), k.controls) << form.Name;
    for (const ui::Control* ctl : form.PaintOrder()) {
      const std::string what = form.Name + "." + ctl->Name + "(" + std::to_string(ctl->Index) + ")";
      EXPECT_GT(ctl->Width, 0) << what;
      EXPECT_GT(ctl->Height, 0) << what;
      EXPECT_GE(ctl->Left, 0) << what;
      EXPECT_GE(ctl->Top, 0) << what;
      EXPECT_LE(ctl->Left + ctl->Width, width) << what;
      EXPECT_LE(ctl->Top + ctl->Height, height) << what;
    }
  }
}

TEST(SmallWindows, ListsAndValueLabelsDoNotOverlap) {
  ClientHarness h;
  h.Start();
  auto& f = h.c().forms;
  auto overlap = [](const ui::Control& a, const ui::Control& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
  };
  std::vector<const ui::Control*> score, hero, card;
  for (int i = 0; i <= 7; ++i) score.push_back(&f.Score.State(i));
  for (int i = 0; i <= 3; ++i) score.push_back(&f.Score.Tou(i));
  hero.push_back(&f.Hero.Num);
  for (int i = 0; i <= 3; ++i) {
    hero.push_back(&f.Hero.Grade(i));
    hero.push_back(&f.Hero.sumScore(i));
    hero.push_back(&f.Hero.ID(i));
    hero.push_back(&f.Hero.Tou(i));
  }
  for (int i = 0; i <= 8; ++i) {
    card.push_back(&f.Information.Inf(i));
    card.push_back(&f.Information.Captions(i + 1));
  }
  for (const auto* group : {&score, &hero, &card}) {
    for (std::size_t i = 0; i < group->size(); ++i) {
      for (std::size_t j = i + 1; j < group->size(); ++j) {
        const ui::Control& a = *(*group)[i];
        const ui::Control& b = *(*group)[j];
        EXPECT_FALSE(overlap(a, b))
            << a.Owner->Name << ": " << a.Name << a.Index << " and " << b.Name << b.Index;
      }
    }
  }
  EXPECT_EQ(f.Information.Captions(2).Caption, "性    别");
  EXPECT_EQ(f.Information.Inf(0).FontSize, 12);
}

}  // namespace
}  // namespace tallow::testing
