#include "shell/table_layout.h"

#include "base/pictures.h"
#include "session/client.h"

namespace tallow {
namespace {

// Scales a design value into the current layout.
struct Scaler {
  double sx, sy;
  double X(double v) const { return v * sx; }
  double Y(double v) const { return v * sy; }
  void Place(ui::Control& ctl, double left, double top) const {
    ctl.Left = X(left);
    ctl.Top = Y(top);
  }
  void Size(ui::Control& ctl, double width, double height) const {
    ctl.Width = X(width);
    ctl.Height = Y(height);
  }
};

// Design places of the compass in the middle of the table and of the dealer mark with its
// caption at the left edge.
constexpr double kCompassLeft = 474, kCompassTop = 296, kCompassSize = 77;
constexpr double kDealerMarkLeft = 8, kDealerMarkTop = 246, kDealerMarkSize = 36;
constexpr double kDealerCaptionLeft = 58, kDealerCaptionTop = 252;
constexpr double kSmallDealerMarkLeft = 6, kSmallDealerCaptionLeft = 45, kSmallDealerTop = 192;

Scaler ScalerOf(const Client& c) {
  return {c.layout.ScaleX, c.layout.ScaleY};
}

}  // namespace

void LayoutSeatsAndToolbar(Client& c) {
  auto& f = c.mainForm;
  const Scaler s = ScalerOf(c);
  // 1. Wild-tile indicator.
  s.Place(f.Joker, 870, 100);
  s.Place(f.Label3, 914, 160);
  f.JK_Image.Width = 36;
  f.JK_Image.Height = 56;
  f.JK_Image.Left = f.Joker.Left + 20;
  f.JK_Image.Top = f.Joker.Top + 59;
  f.JK_Image.ZOrder(ui::ZPosition::Front);
  f.JK_Image.Visible = false;
  // 2. Portraits.
  s.Place(f.Tou(0), 10, 666);
  s.Size(f.Tou(0), 85, 90);
  const double touLeft[] = {0, 7, 350, 693};
  for (int i = 1; i <= 3; ++i) {
    auto& tou = f.Tou.Ensure(i);
    tou.Parent = &f.Pic1;
    tou.Stretch = true;
    s.Size(tou, 70, 62);
    s.Place(tou, touLeft[i], 15);
    tou.Visible = true;
  }
  // 3.-4. Toolbar: 发送, then two rows of four.
  for (int i = 1; i <= 8; ++i) {
    auto& b = f.AnNiu.Ensure(i);
    b.Parent = &f.Pic1;
    b.Pointer = ui::MousePointer::Custom;
    b.Visible = true;
    b.ZOrder(ui::ZPosition::Front);
  }
  for (int i = 0; i <= 8; ++i) {
    c.toolbar.ButtonHover(i) = 0;
    c.toolbar.ToolbarLock(i) = 0;
    auto& b = f.AnNiu(i);
    s.Size(b, i == 0 ? 50 : 60, 30);
    LoadResourcePicture(c, b, ImageId(c.images.ButtonImageIds(i < 3 ? 2 * i : 2 * i + 2)));
  }
  c.toolbar.ToolbarLock(2) = -1;  // 开始 reacts once the connect request unlocks it
  s.Place(f.AnNiu(0), 573, 730);
  s.Place(f.AnNiu(1), 648, 699);
  for (int i = 2; i <= 4; ++i) {
    f.AnNiu(i).Left = f.AnNiu(i - 1).Left + s.X(70);
    f.AnNiu(i).Top = f.AnNiu(1).Top;
  }
  f.AnNiu(5).Left = f.AnNiu(1).Left;
  f.AnNiu(5).Top = f.AnNiu(1).Top + s.Y(32);
  for (int i = 6; i <= 8; ++i) {
    f.AnNiu(i).Left = f.AnNiu(i - 1).Left + s.X(70);
    f.AnNiu(i).Top = f.AnNiu(5).Top;
  }
  // 5. Player labels.
  for (int i = 1; i <= 3; ++i) {
    for (auto* arr : {&f.Nid, &f.Cash, &f.Level}) {
      auto& l = arr->Ensure(i);
      l.Parent = &f.Pic1;
      l.ForeColor = (*arr)(0).ForeColor;
      l.Width = (*arr)(0).Width;
      l.Height = (*arr)(0).Height;
      l.Visible = true;
    }
    if (c.layout.ScaleX < 1) f.Cash(i).FontSize = f.Level(i).FontSize = 8;
  }
  if (c.layout.ScaleX < 1) f.Level(0).FontSize = 8;
  // 6.
  c.toolbar.HoverButton = -1;
  LayoutPlayerLabels(c);
  // 7. Ready marks.
  const double okPos[4][2] = {{460, 610}, {60, 280}, {460, 88}, {900, 280}};
  for (int i = 1; i <= 3; ++i) {
    auto& ok = f.OK.Ensure(i);
    ok.Parent = &f.Pic1;
    ok.picture = f.OK(0).picture;
    ok.Width = f.OK(0).Width;
    ok.Height = f.OK(0).Height;
    ok.Visible = false;
  }
  for (int i = 0; i <= 3; ++i) s.Place(f.OK(i), okPos[i][0], okPos[i][1]);
}

void LayoutPlayerLabels(Client& c) {
  auto& f = c.mainForm;
  const Scaler s = ScalerOf(c);
  s.Place(f.Nid(0), 181, 700);
  s.Place(f.Cash(0), 181, 724);
  s.Place(f.Level(0), 181, 744);
  const double left[] = {0, 165, 509, 852};
  for (int i = 1; i <= 3; ++i) {
    s.Place(f.Nid(i), left[i], 15);
    s.Place(f.Cash(i), left[i], 40);
    s.Place(f.Level(i), left[i], 64);
  }
  s.Place(f.Location, 760, 668);
  s.Place(f.imgword1, 640, 659);
  s.Size(f.imgword1, 57, 13);
  s.Place(f.imgword2, 640, 675);
  s.Size(f.imgword2, 57, 13);
  f.imgword1.Stretch = f.imgword2.Stretch = true;
  f.imgLocation.Stretch = true;
  s.Place(f.imgLocation, 632, 654);
  s.Size(f.imgLocation, 394, 39);
}

void LayoutPlayArea(Client& c) {
  auto& f = c.mainForm;
  const Scaler s = ScalerOf(c);
  // 1.-2. Compass hidden; the turn timer under the wild-tile indicator. The compass and the
  // dealer mark lie on the table picture, so they move and shrink with it on the small layout;
  // so does the timer plate, whose digits are placed in scaled steps.
  f.ZhiNan.Visible = false;
  f.ZhiNan.Stretch = true;
  s.Place(f.ZhiNan, kCompassLeft, kCompassTop);
  s.Size(f.ZhiNan, kCompassSize, kCompassSize);
  f.Host.Stretch = true;
  s.Size(f.Host, kDealerMarkSize, kDealerMarkSize);
  if (c.layout.ScaleX < 1) {
    // The small layout has places of its own for the dealer mark and its caption.
    f.Host.Move(kSmallDealerMarkLeft, kSmallDealerTop);
    f.Zhuang.Move(kSmallDealerCaptionLeft, kSmallDealerTop);
  } else {
    s.Place(f.Host, kDealerMarkLeft, kDealerMarkTop);
    s.Place(f.Zhuang, kDealerCaptionLeft, kDealerCaptionTop);
  }
  f.Time_Img.Stretch = true;
  s.Size(f.Time_Img, 81, 38);
  f.Time_Img.Left = f.Joker.Left;
  f.Time_Img.Top = f.Joker.Top + f.Joker.Height;
  s.Size(f.Number, 24, 24);
  f.Number.Left = f.Time_Img.Left + s.X(48);
  f.Number.Top = f.Time_Img.Top + s.Y(5);
  if (c.layout.ScaleX < 1) {
    f.Number.FontSize = 12;
    f.Number.Left += 2;
  }
  // 3. Claim buttons 吃 碰 杠 胡 过, touching each other, disabled and hidden.
  s.Place(f.Operation(0), 358, 461);
  for (int k = 1; k <= 4; ++k) f.Operation.Ensure(k).Parent = &f.Pic1;
  for (int k = 0; k <= 4; ++k) {
    auto& b = f.Operation(k);
    s.Size(b, 50, 71);
    b.Stretch = true;
    LoadResourcePicture(c, b, ImageId(c.images.OperationImageIds(3 * k)));
    if (k > 0) {
      b.Top = f.Operation(0).Top;
      b.Left = f.Operation(k - 1).Left + f.Operation(0).Width;
    }
    b.Enabled = false;
    b.Visible = false;
  }
  // 4. The 119 further tile sprites, each in front.
  for (int i = 1; i <= 119; ++i) {
    auto& m = f.MJ_Image.Ensure(i);
    m.Parent = &f.Pic1;
    m.Stretch = true;
    m.Visible = false;
    m.ZOrder(ui::ZPosition::Front);
  }
  f.MJ_Image(0).ZOrder(ui::ZPosition::Front);
  // 5. The dice picture cache.
  for (int i = 1; i <= 15; ++i) {
    auto& d = f.SZ_Image.Ensure(i);
    d.Parent = &f.Pic1;
    d.Visible = false;
  }
  for (int i = 0; i <= 15; ++i) {
    LoadResourcePicture(c, f.SZ_Image(i), ImageId(c.images.DiceImageIds(i)));
  }
  // 6. Message rows and the chat caption.
  if (c.layout.ScaleX < 1) {
    f.Sysmsg(0).Height = (26 * c.layout.ScaleY + 4) / 2;
    f.Sysmsg(0).Top = 696 * c.layout.ScaleY - 2;
  } else {
    f.Sysmsg(0).Height = 13;
    f.Sysmsg(0).Top = 696;
  }
  f.Sysmsg(1).Height = f.Sysmsg(0).Height;
  f.Sysmsg(1).Top = f.Sysmsg(0).Top + f.Sysmsg(0).Height;
  s.Size(f.Lbchat, 25, 33);
  s.Place(f.Lbchat, 594, 694);
  for (int i = 0; i <= 1; ++i) {
    f.Sysmsg(i).Width = s.X(281);
    f.Sysmsg(i).Left = s.X(312);
    f.Sysmsg(i).Visible = true;
  }
  // 7. Chat input.
  f.Chat.Visible = true;
  s.Size(f.Chat, 244, 18);
  s.Place(f.Chat, 318, 729);
  // 8. Emblem, with the web panel resting over it.
  s.Size(f.Bird, 82, 80);
  s.Place(f.Bird, 936, 680);
  f.Bird.Stretch = true;
  f.Bird.ZOrder(ui::ZPosition::Front);
  f.Bird.Visible = true;
  f.WebBrowser1.Visible = false;
  f.WebBrowser1.Top = f.Bird.Top + 2;
  f.WebBrowser1.Left = f.Bird.Left + 2;
  s.Size(f.WebBrowser1, 82, 80);
}

}  // namespace tallow
