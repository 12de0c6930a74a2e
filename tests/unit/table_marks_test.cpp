// The marks that lie on the table picture (compass, dealer mark, timer plate) follow the table
// into the small layout, and the fourth tile of a kong leaves its neighbours in sight.
#include <gtest/gtest.h>

#include "doubles/client_harness.h"
#include "hand/table_reset.h"
#include "hand/tile_rows.h"

namespace tallow::testing {
namespace {

struct Screen {
  int w, h;
  double scale;
  double hostLeft, hostTop, zhuangLeft, zhuangTop;  // the dealer mark and its caption
};
constexpr Screen kScreens[] = {{1024, 768, 1.0, 8, 246, 58, 252},
                               {800, 600, 0.78125, 6, 192, 45, 192}};

ClientHarness Started(const Screen& s) {
  ClientHarness harness;
  harness.p.process.screenWidth = s.w;
  harness.p.process.screenHeight = s.h;
  EXPECT_FALSE(harness.Start());
  return harness;
}

// The dealer mark and its caption take the small layout's own places.
TEST(TableMarks, CompassAndDealerMarkScaleWithTheTable) {
  for (const Screen& s : kScreens) {
    SCOPED_TRACE(s.w);
    auto h = Started(s);
    const auto& f = h.c().mainForm;
    // The compass stays over the ring in the middle of the table picture.
    EXPECT_DOUBLE_EQ(f.ZhiNan.Left, 474 * s.scale);
    EXPECT_DOUBLE_EQ(f.ZhiNan.Top, 296 * s.scale);
    EXPECT_DOUBLE_EQ(f.ZhiNan.Width, 77 * s.scale);
    EXPECT_DOUBLE_EQ(f.ZhiNan.Height, 77 * s.scale);
    EXPECT_TRUE(f.ZhiNan.Stretch);
    EXPECT_NEAR(f.ZhiNan.Left + f.ZhiNan.Width / 2, f.Pic1.Width / 2, 2);
    EXPECT_DOUBLE_EQ(f.Host.Left, s.hostLeft);
    EXPECT_DOUBLE_EQ(f.Host.Top, s.hostTop);
    EXPECT_DOUBLE_EQ(f.Host.Width, 36 * s.scale);
    EXPECT_DOUBLE_EQ(f.Zhuang.Left, s.zhuangLeft);
    EXPECT_DOUBLE_EQ(f.Zhuang.Top, s.zhuangTop);
    // The countdown digits sit inside the plate they are drawn on.
    EXPECT_TRUE(f.Time_Img.Stretch);
    EXPECT_GE(f.Number.Left, f.Time_Img.Left + f.Time_Img.Width / 2);
    EXPECT_LE(f.Number.Left + f.Number.Width, f.Time_Img.Left + f.Time_Img.Width);
    EXPECT_LE(f.Number.Top + f.Number.Height, f.Time_Img.Top + f.Time_Img.Height);
  }
}

// For each seat: the fourth tile of a kong over the middle set entry k covers the middle tile,
// and of each neighbour at least a strip stays visible: the row's own step along the bottom
// and top rows, where the tile is lifted above the set, and on the side rows, whose tiles show
// only a strip each, most of that strip.
TEST(TableMarks, KongTopLeavesTheNeighboursInSight) {
  for (const Screen& s : kScreens) {
    auto h = Started(s);
    Client& c = h.c();
    SetTileSizes(c, TileSizes::Set);
    for (int rel = 0; rel <= 3; ++rel) {
      SCOPED_TRACE("screen " + std::to_string(s.w) + " seat " + std::to_string(rel));
      const int k = 5;
      const Spot before = SetTileSpot(c, rel, k - 1), middle = SetTileSpot(c, rel, k),
                 after = SetTileSpot(c, rel, k + 1), top = KongTopSpot(c, rel, k);
      const double w = c.table.TileWidth(rel), th = c.table.TileHeight(rel);
      EXPECT_DOUBLE_EQ(top.left, middle.left);
      EXPECT_LT(top.top, middle.top);
      if (rel == 0 || rel == 2) {
        EXPECT_DOUBLE_EQ(middle.top - top.top, 17 * s.scale);
        // The neighbours lie beside it: fully in sight below the lifted tile.
        EXPECT_GE(std::abs(after.left - middle.left), w - 2 * s.scale - 0.01);
        EXPECT_GE(std::abs(before.left - middle.left), w - 2 * s.scale - 0.01);
        continue;
      }
      // Side rows: the neighbour above (smaller Top) keeps a strip above the lifted tile, the
      // one below keeps a strip under it.
      const Spot above = before.top < after.top ? before : after;
      const Spot below = before.top < after.top ? after : before;
      const double stripAbove = top.top - above.top;
      const double stripBelow = below.top + th - (top.top + th);
      EXPECT_GE(stripAbove, 10 * s.scale);
      EXPECT_GE(stripBelow, 20 * s.scale);
    }
  }
}

}  // namespace
}  // namespace tallow::testing
