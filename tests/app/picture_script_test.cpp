// The hand the picture tool plays, run on the test doubles at both table sizes: it reaches
// every stage through the client's handlers, and what it leaves on the table is readable —
// no seat's tiles lie on another seat's tiles or on the wall.
#include "app/picture_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/picture_clock.h"
#include "base/pictures.h"
#include "base/tiles.h"
#include "doubles/fakes.h"
#include "hand/tile_rows.h"
#include "session/client.h"
#include "session/startup.h"

namespace tallow::testing {
namespace {

using picture::Stage;

struct Size {
  int w, h;
};
constexpr Size kSizes[] = {{1024, 768}, {800, 600}};

// A client on the fakes, but on the picture tool's own clock (its timers never fire).
struct PictureTable {
  TestPlatform p;
  picture::StepClock clock;
  std::filesystem::path dir;
  std::unique_ptr<Client> client;

  PictureTable(Size screen, const std::string& name) {
    dir = std::filesystem::temp_directory_path() /
          ("tallow-picture-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::create_directories(dir);
    p.process.appPath = dir.string();
    p.process.screenWidth = screen.w;
    p.process.screenHeight = screen.h;
    client = std::make_unique<Client>(
        p.Get(clock), std::string(picture::kLocalAccount) + "$pw$127.0.0.1$6000$Room$9$$0$$$0$$$");
    FormLoad(*client);
  }
  ~PictureTable() {
    client.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  Client& c() { return *client; }
};

struct Box {
  double l, t, r, b;
};
Box BoxOf(const ui::Image& m) {
  return {m.Left, m.Top, m.Left + m.Width, m.Top + m.Height};
}
// How far two boxes overlap: the smaller of the two extents, 0 when apart.
double Overlap(const Box& a, const Box& b) {
  const double x = std::min(a.r, b.r) - std::max(a.l, b.l);
  const double y = std::min(a.b, b.b) - std::max(a.t, b.t);
  return x > 0 && y > 0 ? std::min(x, y) : 0;
}

// Who every visible tile sprite belongs to: a seat's hand or sets (0..3), the wall (4), or
// something in the middle of the table: pools and the last discard (5).
constexpr int kWall = 4, kMiddle = 5;
// How far a pooled tile may reach over the wall: the thickness of a wall stack's edge.
constexpr double kWallEdge = 8;
std::map<int, int> Owners(Client& c) {
  std::map<int, int> owner;
  auto& t = c.table;
  for (int s = 0; s <= 3; ++s) {
    const SeatRecord& seat = t.custom(s);
    for (int k = 1; k <= seat.MeldEnd - 3; ++k) {
      if (seat.mj(k).Sprite >= 0) owner[seat.mj(k).Sprite] = s;
    }
    for (int k = seat.HandStart; k < seat.HandStart + seat.HandCount; ++k) {
      owner[seat.mj(k).Sprite] = s;
    }
  }
  // The revealed hands lie in the set rows; their entries stay behind HandStart.
  for (int s = 1; s <= 3; ++s) {
    const SeatRecord& seat = t.custom(s);
    for (int n = 0; n <= 20 && c.hand.RevealTiles(s)(n) != 0; ++n) {
      owner[seat.mj(seat.HandStart + n).Sprite] = s;
    }
  }
  for (int i = 0; i < c.hand.KongMarkCount; ++i) {
    owner[c.hand.KongMarkSprite(i)] = c.hand.KongMarkSeat(i);
  }
  // The local kongs' fourth tiles lie on the middle tile of their set.
  SetTileSizes(c, TileSizes::Set);
  const SeatRecord& me = t.custom(0);
  for (int k = 1; k + 2 <= me.MeldEnd - 3; k += 3) {
    if (me.mj(k).typ != 4 && me.mj(k).typ != 5) continue;
    const Spot top = KongTopSpot(c, 0, k + 1);
    for (int sp = 0; sp <= 119; ++sp) {
      const auto& m = c.mainForm.MJ_Image(sp);
      if (m.Visible && !owner.count(sp) && std::abs(m.Left - top.left) < 0.5 &&
          std::abs(m.Top - top.top) < 0.5) {
        owner[sp] = 0;
      }
    }
  }
  for (int sp = 0; sp <= 119; ++sp) {
    const auto& m = c.mainForm.MJ_Image(sp);
    if (!m.Visible || owner.count(sp)) continue;
    const bool wallBack = m.picture.id == 201 + 8 + 36 * (sp / 30);
    owner[sp] = wallBack ? kWall : kMiddle;
  }
  for (auto it = owner.begin(); it != owner.end();) {
    it = c.mainForm.MJ_Image(it->first).Visible ? std::next(it) : owner.erase(it);
  }
  return owner;
}

// No seat's hand or sets on another seat's, nor on the wall; no pooled tile on a hand, a set
// or the wall. Tiles of one seat's rows, and pooled tiles among themselves, overlap by design.
void ExpectNothingOverlaps(Client& c) {
  const auto owner = Owners(c);
  const short lastDiscard = c.table.LastDiscardSprite;
  const auto& pic = c.mainForm.Pic1;
  for (auto [a, oa] : owner) {
    const Box ba = BoxOf(c.mainForm.MJ_Image(a));
    // The discard waiting in the middle of the table may lie anywhere there.
    const bool inMiddle = a == lastDiscard && std::abs((ba.l + ba.r) / 2 - pic.Width / 2) < 1;
    if (inMiddle) continue;
    for (auto [b, ob] : owner) {
      if (b <= a || oa == ob) continue;
      if (b == lastDiscard) continue;
      if (oa == kMiddle && ob == kMiddle) continue;
      // The pools start right in front of the wall: a pooled tile may cover the wall's edge.
      const bool poolOnWall = (oa == kMiddle && ob == kWall) || (oa == kWall && ob == kMiddle);
      EXPECT_LE(Overlap(ba, BoxOf(c.mainForm.MJ_Image(b))), poolOnWall ? kWallEdge : 1)
          << "sprite " << a << " (owner " << oa << ") and sprite " << b << " (owner " << ob << ")";
    }
  }
  // The hand and the set row of one seat do not run into each other either.
  for (int s = 0; s <= 3; ++s) {
    const SeatRecord& seat = c.table.custom(s);
    for (int k = seat.HandStart; k < seat.HandStart + seat.HandCount; ++k) {
      const Box hb = BoxOf(c.mainForm.MJ_Image(seat.mj(k).Sprite));
      for (int m = 1; m <= seat.MeldEnd - 3; ++m) {
        if (seat.mj(m).Sprite < 0) continue;
        EXPECT_LE(Overlap(hb, BoxOf(c.mainForm.MJ_Image(seat.mj(m).Sprite))), 1)
            << "seat " << s << " hand entry " << k << " on set entry " << m;
      }
    }
  }
}

struct StageCase {
  Stage stage;
  const char* name;
};
constexpr StageCase kPlayed[] = {{Stage::Hand, "hand"},
                                 {Stage::Offer, "offer"},
                                 {Stage::Claim, "claim"},
                                 {Stage::Reveal, "reveal"},
                                 {Stage::Settlement, "settlement"}};

class PictureStages : public ::testing::TestWithParam<std::tuple<StageCase, Size>> {};

TEST_P(PictureStages, PlayedThroughTheHandlersAndReadable) {
  const auto [stage, size] = GetParam();
  PictureTable table(size, std::string(stage.name) + std::to_string(size.w));
  Client& c = table.c();
  try {
    picture::PlayTo(c, stage.stage);
  } catch (const ProcessEnded& e) {
    FAIL() << "the client ended: " << e.reason;
  }
  // Every seat has laid down sets, the wall was drawn from both ends, and the seats were seated
  // and dealt by the handlers, not by hand.
  for (int s = 0; s <= 3; ++s) EXPECT_GE(c.table.custom(s).MeldEnd, 9) << "seat " << s;
  EXPECT_EQ(c.mainForm.Nid(2).Caption, "[玩家] 竹子");
  EXPECT_TRUE(c.mainForm.Host.Visible);
  const int head = c.table.WallHead, tail = c.table.WallTail;
  EXPECT_GE((tail - head + 120) % 120, 16) << "head " << head << " tail " << tail;
  EXPECT_NE(tail, 82) << "nothing was drawn from the tail";
  ExpectNothingOverlaps(c);
}

INSTANTIATE_TEST_SUITE_P(AllStagesBothSizes, PictureStages,
                         ::testing::Combine(::testing::ValuesIn(kPlayed),
                                            ::testing::ValuesIn(kSizes)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::to_string(std::get<1>(info.param).w);
                         });

TEST(PictureStage, SettingsOpenOverTheHandWithTheLoopSwitchedOff) {
  PictureTable table({1024, 768}, "settings");
  Client& c = table.c();
  picture::PlayTo(c, Stage::Settings);
  const auto& w = c.forms.VosSet;
  ASSERT_TRUE(w.Visible);
  EXPECT_FALSE(c.sound.MusicOn);
  EXPECT_EQ(w.Command2(0).picture.id, 135);  // 开启
  // Inside the table window, near its lower right corner.
  const auto& f = c.mainForm;
  EXPECT_GT(w.Left, f.Left + f.Width / 2);
  EXPECT_LE(w.Left + w.Width, f.Left + f.Width);
  EXPECT_GT(w.Top, f.Top + f.Height / 4);
  EXPECT_LE(w.Top + w.Height, f.Top + f.Height);
  ExpectNothingOverlaps(c);
}

TEST(PictureStage, HandHasPoolsOfTwoRows) {
  PictureTable table({1024, 768}, "pools");
  Client& c = table.c();
  picture::PlayTo(c, Stage::Hand);
  // Each pool cursor has left its first row: the bottom and top pools step their rows towards
  // the middle, the left pool moves right, the right pool further left than eight tiles reach.
  const auto& t = c.table;
  EXPECT_LT(t.custom(0).DiscardY, t.custom(0).DiscardRowY);
  EXPECT_GT(t.custom(2).DiscardY, t.custom(2).DiscardRowY);
  EXPECT_GT(t.custom(1).DiscardX, t.custom(1).DiscardRowX);
  EXPECT_LT(t.custom(3).DiscardX, t.custom(3).DiscardRowX - 40);
  EXPECT_GE(c.hand.RightPoolCount, 9);
  // The last discard waits in the middle; the turn timer is off between turns.
  EXPECT_GE(c.table.LastDiscardSprite, 0);
  EXPECT_FALSE(c.mainForm.Time_Img.Visible);
}

TEST(PictureStage, OfferLightsChowAndPassAndRunsTheTimer) {
  PictureTable table({1024, 768}, "offer");
  Client& c = table.c();
  picture::PlayTo(c, Stage::Offer);
  for (int b = 0; b <= 4; ++b) EXPECT_TRUE(c.mainForm.Operation(b).Visible) << b;
  EXPECT_TRUE(c.mainForm.Operation(0).Enabled);
  EXPECT_FALSE(c.mainForm.Operation(1).Enabled);
  EXPECT_TRUE(c.mainForm.Operation(4).Enabled);
  EXPECT_TRUE(c.mainForm.Time_Img.Visible);
  EXPECT_EQ(c.mainForm.Number.Caption, "15");
}

TEST(PictureStage, ClaimOpensTheChooserWithThreeWays) {
  PictureTable table({1024, 768}, "claim");
  Client& c = table.c();
  picture::PlayTo(c, Stage::Claim);
  EXPECT_EQ(c.table.ChowCount, 6);
  for (int j = 0; j <= 5; ++j) EXPECT_TRUE(c.mainForm.Chi(j).Visible) << j;
  EXPECT_TRUE(c.mainForm.Number.Visible);
  EXPECT_EQ(c.mainForm.Number.Caption, "7");
  // Nothing is sent before a chooser tile is clicked.
  EXPECT_EQ(c.table.PanelState, 1);
}

TEST(PictureStage, RevealShowsEveryOtherHandFaceUp) {
  PictureTable table({1024, 768}, "reveal");
  Client& c = table.c();
  picture::PlayTo(c, Stage::Reveal);
  EXPECT_EQ(c.hand.WinnerRel, 2);
  for (int s = 1; s <= 3; ++s) {
    const SeatRecord& seat = c.table.custom(s);
    EXPECT_EQ(seat.HandCount, 0) << s;
    for (int n = 0; c.hand.RevealTiles(s)(n) != 0; ++n) {
      const int tile = c.hand.RevealTiles(s)(n);
      EXPECT_EQ(c.mainForm.MJ_Image(seat.mj(seat.HandStart + n).Sprite).picture.id,
                201 + TilePictureIndex(s, tile))
          << "seat " << s << " tile " << n;
    }
  }
  EXPECT_FALSE(c.forms.Score.Visible);
}

TEST(PictureStage, SettlementFillsTheResultWindow) {
  PictureTable table({1024, 768}, "settlement");
  Client& c = table.c();
  picture::PlayTo(c, Stage::Settlement);
  const auto& winner = c.forms.Score.State(2 + 4).lines;
  EXPECT_NE(std::find(winner.begin(), winner.end(), "最终分：150金币"), winner.end());
  const auto& dealer = c.forms.Score.State(0).lines;
  EXPECT_NE(std::find(dealer.begin(), dealer.end(), "  庄  家      1番"), dealer.end());
  EXPECT_EQ(c.mainForm.Cash(1).Caption, "9560金币");
  EXPECT_EQ(c.table.TurnCountdown, 15);
}

// The stages around the hand show what their names promise.
TEST(PictureStage, WindowsAndMarksOverTheTable) {
  struct Case {
    Stage stage;
    const char* name;
    bool (*shows)(Client& c);
  };
  const Case cases[] = {
      {Stage::Wild, "wild",
       [](Client& c) { return c.mainForm.JK_Image.Visible && c.table.custom(0).HandCount == 14; }},
      {Stage::Toolbar, "toolbar",
       [](Client& c) {
         return c.toolbar.ButtonHover(5) != 0 && !c.mainForm.AnNiu(5).ToolTipText.empty();
       }},
      {Stage::Web, "web",
       [](Client& c) {
         return c.mainForm.WebBrowser1.Visible && c.mainForm.WebBrowser1.Url == "file:///p.html";
       }},
      {Stage::ExitInHand, "exit",
       [](Client& c) { return c.forms.frmExit.Visible && c.forms.frmExit.Label2.Visible; }},
      {Stage::ExitBetween, "exit-between",
       [](Client& c) {
         return c.forms.frmExit.Visible && !c.forms.frmExit.Label2.Visible &&
                !c.forms.Score.Visible;
       }},
      {Stage::Notice, "notice",
       [](Client& c) { return c.forms.frmOtherExit.Visible && c.forms.Score.Visible; }},
  };
  for (const Case& k : cases) {
    PictureTable table({1024, 768}, k.name);
    try {
      picture::PlayTo(table.c(), k.stage, "file:///p.html");
    } catch (const ProcessEnded& e) {
      ADD_FAILURE() << k.name << ": the client ended: " << e.reason;
      continue;
    }
    EXPECT_TRUE(k.shows(table.c())) << k.name;
  }
}

TEST(PictureStage, NamesAreKnown) {
  for (const char* name :
       {"empty",      "wall",     "hand",        "offer",  "claim",        "reveal",
        "settlement", "settings", "chat",        "talk",   "phrases",      "voices",
        "card",       "toolbar",  "web",         "exit",   "exit-between", "notice",
        "wild",       "watch",    "watch-later", "rejoin", "rejoin-later"}) {
    EXPECT_TRUE(picture::StageByName(name)) << name;
  }
  EXPECT_FALSE(picture::StageByName("Hand"));
  EXPECT_FALSE(picture::StageByName(""));
}

}  // namespace
}  // namespace tallow::testing

namespace tallow::testing {
namespace {

// The chat stages over a hand in play: two lines in the ticker, the window each stage opens.
TEST(PictureStage, ChatStagesShowTheTickerAndTheirWindow) {
  for (Size size : kSizes) {
    for (Stage stage : {Stage::Chat, Stage::Talk, Stage::Phrases, Stage::Card}) {
      PictureTable table(size, "chat" + std::to_string(static_cast<int>(stage)));
      Client& c = table.c();
      picture::PlayTo(c, stage);
      EXPECT_EQ(c.mainForm.Sysmsg(0).ListCount(), 1);
      EXPECT_EQ(c.mainForm.Sysmsg(1).lines.at(0).rfind("松鼠对你说", 0), 0u);
      EXPECT_EQ(c.mainForm.Chat.Text.rfind("你对松鼠说: ", 0), 0u);
      EXPECT_EQ(c.forms.Talk.Visible, stage == Stage::Talk);
      EXPECT_EQ(c.forms.huifu.Visible, stage == Stage::Phrases);
      EXPECT_EQ(c.forms.Information.Visible, stage == Stage::Card);
      EXPECT_EQ(picture::WindowOver(c, stage) != nullptr, stage != Stage::Chat);
      // The long private line wraps: its continuation lines start with a space.
      const auto& history = c.forms.Talk.Text1.lines;
      EXPECT_GE(history.size(), 6u);
      EXPECT_TRUE(std::any_of(history.begin(), history.end(),
                              [](const std::string& l) { return l.starts_with(" "); }));
    }
  }
}

}  // namespace
}  // namespace tallow::testing
