// The web panel follows its page: over the emblem once loaded, hidden for good once a page has
// failed; and the 规则 button opens the rules page on the operator's site.
#include "shell/web_panel.h"

#include <gtest/gtest.h>

#include "seating_support.h"

namespace tallow::testing {
namespace {

TEST(WebPanel, AFailedPageHidesItForGoodAndALaterLoginShowsItWhereItIs) {
  ClientHarness h;
  h.StartAndLogIn();
  Client& c = h.c();
  auto& f = c.mainForm;
  auto& panel = f.WebBrowser1;
  auto raise = [&](ui::InputKind kind) { f.OnInput({kind, &panel}); };
  auto login = [&] {
    ASSERT_FALSE(Deliver(h, Named(18, 0, "http://example.org/p", {0, 5, 0, 1})));
  };
  auto inFront = [&] { return f.ZIndex(panel) > f.ZIndex(f.Bird); };

  login();
  EXPECT_EQ(panel.Url, "http://example.org/p");
  EXPECT_EQ(panel.Navigations, 1);
  panel.Move(0, 0);
  f.Bird.ZOrder(ui::ZPosition::Front);
  raise(ui::InputKind::DocumentComplete);
  EXPECT_TRUE(panel.Visible);
  EXPECT_EQ(panel.Left, f.Bird.Left + 2);
  EXPECT_EQ(panel.Top, f.Bird.Top + 2);
  EXPECT_TRUE(inFront());

  raise(ui::InputKind::NavigateError);
  EXPECT_FALSE(panel.Visible);
  EXPECT_EQ(c.shell.WebPanelFailed, -1);

  // The next login loads the same page again and shows the panel; its page no longer moves it.
  login();
  EXPECT_EQ(panel.Navigations, 2);
  EXPECT_TRUE(panel.Visible);
  panel.Move(0, 0);
  f.Bird.ZOrder(ui::ZPosition::Front);
  raise(ui::InputKind::DocumentComplete);
  EXPECT_TRUE(panel.Visible);
  EXPECT_EQ(panel.Left, 0);
  EXPECT_FALSE(inFront());
  raise(ui::InputKind::NavigateError);
  EXPECT_FALSE(panel.Visible);

  f.OnInput({ui::InputKind::Click, &f.AnNiu(7)});  // 规则
  EXPECT_EQ(h.p.process.urls,
            std::vector<std::string>{"http://www.tallow-mahjong.net/gameinfo/tallowmj/index.php"});
}

}  // namespace
}  // namespace tallow::testing
