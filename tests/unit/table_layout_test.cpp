#include <gtest/gtest.h>

#include "base/pictures.h"
#include "doubles/client_harness.h"
#include "hand/table_reset.h"
#include "session/framing.h"
#include "session/receive.h"

namespace tallow::testing {
namespace {

ClientHarness Started(int w, int h) {
  ClientHarness harness;
  harness.p.process.screenWidth = w;
  harness.p.process.screenHeight = h;
  EXPECT_FALSE(harness.Start());
  return harness;
}

TEST(Layout, ScaledIntegersRoundHalfToEven) {
  EXPECT_EQ(ScaledInt(48, 0.78125), 38);  // 37.5
  EXPECT_EQ(ScaledInt(36, 0.78125), 28);  // 28.125
  EXPECT_EQ(ScaledInt(50, 0.78125), 39);  // 39.0625
  EXPECT_EQ(ScaledInt(30, 0.78125), 23);  // 23.4375
  EXPECT_EQ(ScaledInt(942, 1.0), 942);
}

TEST(Layout, ButtonPictureIdsFollowTheLayoutSize) {
  auto big = Started(1024, 768);
  auto small = Started(800, 600);
  for (int i = 0; i <= 19; ++i) {
    EXPECT_EQ(big.c().images.ButtonImageIds(i), std::to_string(101 + i));
    EXPECT_EQ(small.c().images.ButtonImageIds(i), std::to_string(i < 2 ? 101 + i : 379 + i));
  }
  EXPECT_EQ(small.c().images.AvatarImageIds(10), "401");
  EXPECT_EQ(small.c().images.TileImageIds(179), "380");
  // The toolbar shows 发送 聊天 开始 then 设置 .. 退出 (the 继续 pair is skipped).
  EXPECT_EQ(big.c().mainForm.AnNiu(2).picture.id, 105);
  EXPECT_EQ(big.c().mainForm.AnNiu(3).picture.id, 109);
  EXPECT_EQ(small.c().mainForm.AnNiu(8).picture.id, 379 + 18);
}

TEST(Layout, MissingPicturesLeaveTheOldOne) {
  auto h = Started(1024, 768);
  auto& img = h.c().mainForm.Operation(0);
  EXPECT_EQ(img.picture.id, 141);
  for (int slot = 15; slot <= 17; ++slot) {
    EXPECT_FALSE(LoadResourcePicture(h.c(), img, ImageId(h.c().images.OperationImageIds(slot))));
  }
  EXPECT_EQ(img.picture.id, 141);
}

TEST(Layout, ImageIdsAreDecimalNumbersOf16Bits) {
  const std::pair<const char*, int> read[] = {{"141", 141}, {"-1", -1}, {" 12", 12}, {"+7", 7}};
  for (const auto& [text, id] : read) EXPECT_EQ(ImageId(text), id) << text;
  for (const char* text : {"", "12x", "x", "40000", "99999999999"}) {
    EXPECT_THROW(ImageId(text), RuntimeFailure) << text;
  }
}

TEST(Layout, SetTileSpriteIgnoresOutOfRange) {
  auto h = Started(1024, 768);
  auto& m = h.c().mainForm.MJ_Image(119);
  SetTileSprite(h.c(), 119, 179);
  EXPECT_EQ(m.picture.id, 380);
  EXPECT_TRUE(m.Visible);
  SetTileSprite(h.c(), 120, 3);
  SetTileSprite(h.c(), 119, 180);
  SetTileSprite(h.c(), -1, 3);
  EXPECT_EQ(m.picture.id, 380);
}

struct WallCase {
  int w, h;
  double scale;
};

class Wall : public ::testing::TestWithParam<WallCase> {};

TEST_P(Wall, PositionsAfterReset) {
  const auto k = GetParam();
  auto h = Started(k.w, k.h);
  Client& c = h.c();
  ResetTableDisplay(c);
  auto& f = c.mainForm;
  const double s = k.scale;
  struct Stack0 {
    int sprite;
    double left, top, lowerOffset;
  };
  const Stack0 zero[] = {
      {0, 750, 476, 22}, {30, 174, 440, 20}, {60, 312, 192, 16}, {90, 761, 229, 20}};
  for (const auto& z : zero) {
    EXPECT_DOUBLE_EQ(f.MJ_Image(z.sprite).Left, z.left * s) << z.sprite;
    EXPECT_DOUBLE_EQ(f.MJ_Image(z.sprite).Top, z.top * s) << z.sprite;
    EXPECT_DOUBLE_EQ(f.MJ_Image(z.sprite + 1).Left, z.left * s);
    EXPECT_DOUBLE_EQ(f.MJ_Image(z.sprite + 1).Top, (z.top + z.lowerOffset) * s);
  }
  const short w0 = c.table.TileWidth(0), w2 = c.table.TileWidth(2);
  // Side 0 runs right to left, side 2 left to right, sides 1 and 3 slant by 4 and step by 15.
  EXPECT_DOUBLE_EQ(f.MJ_Image(2).Left, 750 * s - w0);
  EXPECT_DOUBLE_EQ(f.MJ_Image(28).Left, 750 * s - 14 * w0);
  EXPECT_DOUBLE_EQ(f.MJ_Image(62).Left, 312 * s + w2);
  EXPECT_NEAR(f.MJ_Image(32).Top, (440 - 15) * s, 1e-9);
  EXPECT_NEAR(f.MJ_Image(32).Left, (174 + 4) * s, 1e-9);
  EXPECT_NEAR(f.MJ_Image(118).Top, (229 + 14 * 15) * s, 1e-9);
  for (int i = 0; i <= 119; ++i) {
    EXPECT_FALSE(f.MJ_Image(i).Visible);
    EXPECT_EQ(f.MJ_Image(i).Width, c.table.TileWidth(i / 30));
    EXPECT_EQ(f.MJ_Image(i).Height, c.table.TileHeight(i / 30));
  }
  // Seat anchors.
  EXPECT_EQ(c.table.custom(3).HandX, ScaledInt(942, s));
  EXPECT_EQ(c.table.custom(0).DiscardRowY, ScaledInt(438, s));
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, Wall,
                         ::testing::Values(WallCase{1024, 768, 1.0}, WallCase{800, 600, 0.78125}));

TEST(Wall, StackingKeepsUpperTilesInFrontAndEveryWallInsideTheTable) {
  auto h = Started(1024, 768);
  ResetTableDisplay(h.c());
  auto& f = h.c().mainForm;
  const int pic = f.ZIndex(f.Pic1);
  for (int i = 0; i <= 119; ++i) EXPECT_GT(f.ZIndex(f.MJ_Image(i)), pic) << i;
  // Sides 0 and 2: upper tiles in front of every lower tile of their side.
  for (int k = 0; k <= 14; ++k) {
    EXPECT_GT(f.ZIndex(f.MJ_Image(2 * k)), f.ZIndex(f.MJ_Image(2 * k + 1)));
    EXPECT_GT(f.ZIndex(f.MJ_Image(60 + 2 * k)), f.ZIndex(f.MJ_Image(61 + 2 * k)));
  }
  // Side 3 grows downward: each stack in front of the one above it.
  for (int k = 1; k <= 14; ++k) {
    EXPECT_GT(f.ZIndex(f.MJ_Image(90 + 2 * k)), f.ZIndex(f.MJ_Image(90 + 2 * k - 2)));
  }
}

TEST(TableReset, ResetStateTwiceGivesTheSameState) {
  auto h = Started(1024, 768);
  Client& c = h.c();
  c.table.custom(2).HandCount = 5;
  c.table.custom(1).mj(7).typ = 3;
  c.table.WildTile = 0x25;
  c.table.MustDiscard = -1;
  ResetTableState(c);
  ResetTableState(c);
  for (int s = 0; s <= 3; ++s) {
    EXPECT_EQ(c.table.custom(s).HandStart, 4);
    EXPECT_EQ(c.table.custom(s).HandCount, 0);
    EXPECT_EQ(c.table.custom(s).MeldEnd, s == 0 ? 3 : 4);
    for (int k = 0; k <= 20; ++k) EXPECT_EQ(c.table.custom(s).mj(k).Sprite, -1);
  }
  EXPECT_EQ(c.table.WildTile, -1);
  EXPECT_EQ(c.table.WallHeadDraw, -1);
  EXPECT_EQ(c.table.MustDiscard, 0);
  EXPECT_EQ(c.hand.WinnerRel, -1);
}

void Deliver(ClientHarness& h, const protocol::Record& r) {
  AppendReceived(h.c(), r);
  ExtractMessage(h.c());
  DispatchMessage(h.c());
}

protocol::Record Ready(const std::string& name) {
  auto r = ClientHarness::ServerRecord(23, 0, {0, 0, 0, 1});
  std::copy(name.begin(), name.end(), r.begin() + 16);
  return r;
}

TEST(TableReset, PlayerReadyMarksAndTheAllReadyTest) {
  auto h = Started(1024, 768);
  Client& c = h.c();
  const char* names[] = {"me", "p1", "p2", "p3"};
  for (int i = 0; i <= 3; ++i) {
    c.table.custom(i).Account = names[i];
    c.mainForm.Nid(i).Caption = names[i];
  }
  c.session.FirstHandStarted = 1;
  c.table.custom(2).HandCount = 9;
  Deliver(h, Ready("me"));
  Deliver(h, Ready("p1"));
  Deliver(h, Ready("nobody"));
  Deliver(h, Ready("p2"));
  EXPECT_TRUE(c.mainForm.OK(0).Visible);
  EXPECT_EQ(c.table.TableReadyForNext, 0);  // the local mark does not count
  EXPECT_EQ(c.table.custom(2).HandCount, 9);
  Deliver(h, Ready("p3"));
  EXPECT_EQ(c.table.TableReadyForNext, -1);
  EXPECT_EQ(c.table.custom(2).HandCount, 0);
  EXPECT_EQ(c.mainForm.AnNiu(2).picture.id, 107);  // 继续
}

TEST(TableReset, PlayerReadyBeforeTheFirstHandNeverClears) {
  auto h = Started(1024, 768);
  Client& c = h.c();
  for (int i = 1; i <= 3; ++i) c.mainForm.OK(i).Visible = true;
  Deliver(h, Ready("x"));
  EXPECT_EQ(c.table.TableReadyForNext, 0);
}

TEST(TableReset, TableClearedNamesTheDealer) {
  const std::pair<int, const char*> cases[] = {{8, "东"}, {1, "北"}, {2, "西"}, {4, "南"}};
  for (auto [bit, wind] : cases) {
    auto h = Started(1024, 768);
    Client& c = h.c();
    Deliver(h, ClientHarness::ServerRecord(41, bit, {5, 6, 0x23, 7}));
    EXPECT_EQ(c.mainForm.Zhuang.Caption, wind);
    EXPECT_TRUE(c.mainForm.Host.Visible);
    EXPECT_EQ(c.table.WildTile, 0x23);
    EXPECT_EQ(c.table.WildIndicator, 7);
    EXPECT_EQ(c.table.TableReadyForNext, -1);
    for (int i = 0; i <= 2; ++i) {
      EXPECT_EQ(c.toolbar.ToolbarLock(i), -1);
      EXPECT_FALSE(c.mainForm.AnNiu(i).Enabled);
      EXPECT_EQ(c.mainForm.AnNiu(i).picture.id, 101 + 2 * i + 1 - (i >= 1 ? 0 : 0));
    }
  }
}

}  // namespace
}  // namespace tallow::testing
