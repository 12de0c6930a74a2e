// Painting a form from its model, hit testing and change detection, on small forms with the
// test pictures (9001 red 20x20, 9002 blue 10x10, "test-green" green 20x20).
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "platform/qt/form_layout.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/pixmap_cache.h"
#include "platform/qt/qt_resources.h"

namespace tallow::platform::qt {
namespace {

constexpr ui::Color kBack = 0x202020;
constexpr ui::Color kRed = 0xFF0000;
constexpr ui::Color kGreen = 0x00FF00;
constexpr ui::Color kBlue = 0x0000FF;
constexpr ui::Color kYellow = 0xFFFF00;

ui::Color PixelAt(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFF;
}

// A 120 x 100 pixel form: overlapping sprites, a stretched and a natural-size picture, a
// container with a child reaching out of it, a label and a list.
struct SampleForm {
  ui::Form form{"Sample"};
  ui::Image& red = form.Create<ui::Image>("red");
  ui::Image& green = form.Create<ui::Image>("green");
  ui::Image& stretched = form.Create<ui::Image>("stretched");
  ui::Image& natural = form.Create<ui::Image>("natural");
  ui::Image& box = form.Create<ui::Image>("box");
  ui::Image& child = form.Create<ui::Image>("child");
  ui::Label& label = form.Create<ui::Label>("label");
  ui::ListBox& list = form.Create<ui::ListBox>("list");

  SampleForm() {
    form.Width = 120 * 15;
    form.Height = 100 * 15;
    form.BackColor = kBack;
    red.picture.id = 9001;
    red.Move(10, 10, 20, 20);
    green.picture.name = "test-green";
    green.Move(20, 20, 20, 20);
    stretched.picture.id = 9002;
    stretched.Stretch = true;
    stretched.Move(50, 10, 30, 30);
    natural.picture.id = 9002;
    natural.Move(50, 45, 30, 30);
    box.Move(0, 50, 40, 20);  // no picture: a transparent container
    child.Parent = &box;
    child.picture.name = "test-green";
    child.Move(30, 5, 20, 20);  // reaches 10 px out of the box to the right and below
    label.Transparent = false;
    label.BackColor = kYellow;
    label.ForeColor = ui::kBlack;
    label.Move(85, 5, 30, 30);
    list.Move(85, 50, 34, 48);
    list.BackColor = ui::kWhite;
    for (int i = 0; i < 10; ++i) list.AddItem("");
  }
};

TEST(RenderToImage, PaintsPicturesInZOrderClippedToTheirContainers) {
  SampleForm s;
  const QImage image = RenderToImage(s.form);
  ASSERT_EQ(image.size(), QSize(120, 100));
  struct Probe {
    int x, y;
    ui::Color color;
    const char* what;
  };
  const Probe probes[] = {
      {0, 0, kBack, "background"},
      {12, 12, kRed, "red alone"},
      {25, 25, kGreen, "green is in front of red where they overlap"},
      {35, 35, kGreen, "green alone"},
      {52, 12, kBlue, "stretched picture, near its corner"},
      {78, 38, kBlue, "stretched picture fills its control"},
      {52, 47, kBlue, "natural-size picture"},
      {65, 60, kBack, "natural-size picture is not stretched"},
      {35, 60, kGreen, "child inside its container"},
      {45, 60, kBack, "child clipped at the container's right edge"},
      {35, 72, kBack, "child clipped at the container's bottom edge"},
      {86, 6, kYellow, "opaque label background"},
  };
  for (const Probe& p : probes) EXPECT_EQ(PixelAt(image, p.x, p.y), p.color) << p.what;

  s.red.ZOrder(ui::ZPosition::Front);
  EXPECT_EQ(PixelAt(RenderToImage(s.form), 25, 25), kRed) << "red brought to the front";
  s.red.ZOrder(ui::ZPosition::Back);
  s.box.Visible = false;
  const QImage hidden = RenderToImage(s.form);
  EXPECT_EQ(PixelAt(hidden, 25, 25), kGreen) << "red sent back";
  EXPECT_EQ(PixelAt(hidden, 35, 60), kBack) << "a hidden container hides its children";
}

TEST(RenderToImage, ChildrenLieOverTheirContainerWhateverTheOrder) {
  ui::Form form("F");
  form.Width = form.Height = 40 * 15;
  auto& child = form.Create<ui::Image>("child");
  auto& container = form.Create<ui::Image>("container");  // created later: in front of child
  container.picture.id = 9001;
  container.Move(0, 0, 40, 40);
  container.Stretch = true;
  child.Parent = &container;
  child.picture.name = "test-green";
  child.Move(10, 10, 20, 20);
  EXPECT_EQ(PixelAt(RenderToImage(form), 15, 15), kGreen);
  EXPECT_EQ(PixelAt(RenderToImage(form), 5, 5), kRed);
}

TEST(RenderToImage, LabelTextAndListSelectionFollowTheModel) {
  SampleForm s;
  auto inkIn = [](const QImage& image, QRect r) {
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
      for (int x = r.left(); x <= r.right(); ++x) ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return ink;
  };
  const QRect labelRect(85, 5, 30, 30);
  EXPECT_EQ(inkIn(RenderToImage(s.form), labelRect), 0);
  s.label.Caption = "松竹";
  s.label.FontSize = 12;
  EXPECT_GT(inkIn(RenderToImage(s.form), labelRect), 20);

  // Lines 3.. are shown; line 4 is the second row and carries the highlight.
  s.list.TopIndex = 3;
  s.list.ListIndex = 4;
  const int h = ListLineHeight(s.list);
  const QImage image = RenderToImage(s.form);
  const int x = 85 + 30;
  EXPECT_EQ(PixelAt(image, x, 50 + 1 + h / 2), ui::kWhite) << "first row";
  EXPECT_EQ(PixelAt(image, x, 50 + 1 + h + h / 2), 0x000080u) << "second row selected";
  EXPECT_EQ(ListLineAt(s.list, 1 + h + h / 2), 4);
  EXPECT_EQ(ListLineAt(s.list, 1 + 7 * h), -1) << "below the last line";
}

TEST(HitTest, FindsTheTopmostVisibleControlUnderThePointer) {
  SampleForm s;
  s.green.Enabled = true;
  struct Case {
    QPoint at;
    ui::Control* expected;
    QPoint local;
    const char* what;
  };
  auto run = [&](const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      const Hit hit = HitTest(s.form, c.at);
      EXPECT_EQ(hit.control, c.expected) << c.what;
      EXPECT_EQ(hit.local, c.local) << c.what;
    }
  };
  run({
      {{12, 12}, &s.red, {2, 2}, "only red"},
      {{25, 25}, &s.green, {5, 5}, "overlap: the front one"},
      {{0, 0}, nullptr, {0, 0}, "nothing there: the form"},
      {{35, 60}, &s.child, {5, 5}, "child over its container"},
      {{45, 60}, nullptr, {45, 60}, "the clipped part of a child is not there"},
      {{5, 55}, &s.box, {5, 5}, "container without picture still takes the pointer"},
  });
  s.green.Visible = false;
  s.child.Enabled = false;
  run({
      {{25, 25}, &s.red, {15, 15}, "hidden controls are skipped"},
      {{35, 60}, &s.box, {35, 10}, "a disabled control passes the pointer to its container"},
  });
  s.box.Enabled = false;
  run({{{35, 60}, nullptr, {35, 60}, "no enabled container: the form"}});
}

TEST(Fingerprint, ChangesExactlyWhenTheViewMustRepaint) {
  SampleForm s;
  s.form.Visible = true;
  const auto before = Fingerprint(s.form);
  EXPECT_EQ(Fingerprint(s.form), before);
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"picture", [&] { s.red.picture.id = 9002; }},
      {"position", [&] { s.green.Left += 1; }},
      {"visibility", [&] { s.natural.Visible = false; }},
      {"z-order", [&] { s.red.ZOrder(ui::ZPosition::Front); }},
      {"caption", [&] { s.label.Caption.assign(1, 'x'); }},
      {"list line", [&] { s.list.lines[9].assign(1, 'y'); }},
      {"form caption", [&] { s.form.Caption.assign(1, 't'); }},
      {"pointer", [&] { s.red.Pointer = ui::MousePointer::Custom; }},
      {"picture part",
       [&] {
         s.red.Source = ui::Rect{0, 0, 5, 5};
       }},
      {"window request", [&] { s.form.RaiseRequested = true; }},
  };
  for (const auto& [what, change] : changes) {
    const auto old = Fingerprint(s.form);
    change();
    EXPECT_NE(Fingerprint(s.form), old) << what;
  }
}

TEST(Fingerprint, AHiddenWindowChangesOnlyWithItsWindowFields) {
  SampleForm s;
  s.form.Visible = false;
  const auto hidden = Fingerprint(s.form);
  s.label.Caption = "changed while hidden";
  s.green.Left += 5;
  EXPECT_EQ(Fingerprint(s.form), hidden);  // nothing to repaint
  s.form.Visible = true;
  const auto shown = Fingerprint(s.form);
  EXPECT_NE(shown, hidden);
  s.label.Caption = "changed while shown";
  EXPECT_NE(Fingerprint(s.form), shown);
}

TEST(PixmapCache, DecodesEachPictureOnceAndReportsMissingOnes) {
  PixmapCache cache;
  const QPixmap& first = cache.Get(ui::Picture{9001, {}});
  EXPECT_EQ(first.size(), QSize(20, 20));
  EXPECT_EQ(&cache.Get(ui::Picture{9001, {}}), &first);
  EXPECT_EQ(cache.Get(ui::Picture{0, "test-green"}).size(), QSize(20, 20));
  EXPECT_TRUE(cache.Get(ui::Picture{424242, {}}).isNull());
  EXPECT_TRUE(cache.Get(ui::Picture{}).isNull());

  QtResources resources;
  EXPECT_TRUE(resources.HasPicture(9001));
  EXPECT_FALSE(resources.HasPicture(424242));
  EXPECT_FALSE(resources.HasPicture(0));
}

TEST(RenderToImage, SurvivesABrokenModel) {
  ui::Form form("F");
  form.Width = 1e300;  // clamped
  form.Height = -5;
  auto& a = form.Create<ui::Image>("a");
  auto& b = form.Create<ui::Image>("b");
  a.Parent = &b;  // a cycle: neither is painted
  b.Parent = &a;
  auto& c = form.Create<ui::Label>("c");
  c.Parent = &c;  // its own parent: counts as top-level
  c.Move(std::nan(""), 1e308, -10, 1e10);
  c.FontSize = 1e9;
  const QImage image = RenderToImage(form);
  EXPECT_EQ(image.size(), QSize(8192, 1));
  EXPECT_EQ(HitTest(form, QPoint(0, 0)).control, nullptr);
}

}  // namespace
}  // namespace tallow::platform::qt
