#include "forms/result_windows.h"

#include "base/general.h"
#include "hand/game_record.h"
#include "session/client.h"

namespace tallow {
namespace {

constexpr double kTwips = 15;

// Colours shared by the three windows.
constexpr ui::Color kWindowBack = 0xF4EEDC;  // rice paper
constexpr ui::Color kBandBack = 0x1E5A3C;    // jade
constexpr ui::Color kListBack = 0xFFFDF6;
constexpr ui::Color kHeadingText = 0x3A3020;
constexpr ui::Color kTotalText = 0x8A1C10;

constexpr double kBandHeight = 30;
constexpr double kMargin = 10;
constexpr double kCloseSize = 20;
constexpr double kListLine = 16;  // room per list row: a 9-point line is at most this tall

// Result window: four seat columns, each a portrait and a name over the fan list and, under
// it, the final score. The fan list holds the longest settlement (26 lines) without scrolling.
constexpr double kScoreColumn = 170, kScoreGap = 8;
constexpr double kScoreRows = 26;
constexpr double kScoreHeadTop = kBandHeight + 8;
constexpr double kScorePortraitW = 34, kScorePortraitH = 36;
constexpr double kScoreListTop = kScoreHeadTop + kScorePortraitH + 6;
constexpr double kScoreListHeight = kScoreRows * kListLine + 4;
constexpr double kScoreFinalTop = kScoreListTop + kScoreListHeight + 6;
constexpr double kScoreFinalHeight = kListLine + 4;
constexpr double kScoreWidth = 2 * kMargin + 4 * kScoreColumn + 3 * kScoreGap;
constexpr double kScoreHeight = kScoreFinalTop + kScoreFinalHeight + kMargin;

// Leaderboard: the hand numbers, then one amount column per seat, totals underneath.
constexpr double kHeroNumWidth = 70, kHeroColumn = 132, kHeroGap = 6;
constexpr double kHeroRows = 14;
constexpr double kHeroHeadTop = kBandHeight + 8;
constexpr double kHeroPortraitW = 30, kHeroPortraitH = 32;
constexpr double kHeroListTop = kHeroHeadTop + kHeroPortraitH + 10;
constexpr double kHeroListHeight = kHeroRows * kListLine + 4;
constexpr double kHeroTotalTop = kHeroListTop + kHeroListHeight + 8;
constexpr double kHeroWidth = 2 * kMargin + kHeroNumWidth + 4 * (kHeroGap + kHeroColumn);
constexpr double kHeroHeight = kHeroTotalTop + 20 + kMargin;

// Player card.
constexpr double kCardWidth = 240, kCardRow = 24;
constexpr double kCardHeight = 12 + 9 * kCardRow + 8;
constexpr const char* kCardCaptions[9] = {"玩家昵称", "性    别", "所 在 地",
                                          "积    分", "信 用 度", "登录次数",
                                          "掉线次数", "胜场次数", "败场次数"};

void SizeInPixels(ui::Form& f, double width, double height) {
  f.Width = width * kTwips;
  f.Height = height * kTwips;
}

// The band across the top of a borderless window, its title and its close button.
void PlaceBand(ui::Label& band, ui::Label& title, ui::Image& close, double width,
               const char* caption) {
  band.Transparent = false;
  band.BackColor = kBandBack;
  band.Move(0, 0, width, kBandHeight);
  title.Caption = caption;
  title.ForeColor = ui::kWhite;
  title.FontSize = 11;
  title.FontBold = true;
  title.Move(kMargin + 2, 6, 200, kBandHeight - 8);
  close.picture.name = "window_close";
  close.Move(width - kMargin - kCloseSize, (kBandHeight - kCloseSize) / 2, kCloseSize, kCloseSize);
  close.Pointer = ui::MousePointer::Custom;
  close.ToolTipText = "关闭";
}

// A heading in the windows' bold dark text.
void StyleHeading(ui::Label& label) {
  label.FontSize = 10;
  label.FontBold = true;
  label.ForeColor = kHeadingText;
}

// A seat's portrait at (x, top) with its name beside it; a name too long for one line wraps
// into the room down to `bottom`.
void PlaceSeatHeading(ui::Image& portrait, ui::Label& name, double x, double top, double portraitW,
                      double portraitH, double width, double bottom, double nameGap,
                      double nameDrop) {
  portrait.Stretch = true;
  portrait.Move(x, top, portraitW, portraitH);
  StyleHeading(name);
  name.Move(x + portraitW + nameGap, top + nameDrop, width - portraitW - nameGap,
            bottom - top - nameDrop);
}

void StyleList(ui::ListBox& list) {
  list.BackColor = kListBack;
  list.FontSize = 9;
  list.FixedPitch = true;  // the fan lines are padded into columns with spaces
}

bool LeftDown(const ui::InputEvent& e) {
  return e.kind == ui::InputKind::MouseDown && (e.button & ui::kLeftButton) != 0;
}

// Selects row `row` in the list and scrolls it like `like`; a row it does not have selects
// nothing.
void SelectRow(ui::ListBox& list, int row, const ui::ListBox& like) {
  list.ListIndex = row >= 0 && row < list.ListCount() ? row : -1;
  list.TopIndex = like.TopIndex;
}

void ScoreInput(Client& c, const ui::InputEvent& e) {
  auto& f = c.forms.Score;
  if (e.kind == ui::InputKind::Click && e.control == &f.Image1) {
    f.Visible = false;
    return;
  }
  if (LeftDown(e) && (e.control == nullptr || e.control == &f.Band || e.control == &f.Title)) {
    f.MoveRequested = true;
  }
}

void HeroInput(Client& c, const ui::InputEvent& e) {
  auto& f = c.forms.Hero;
  ui::Control* ctl = e.control;
  if (e.kind == ui::InputKind::Click && ctl == &f.Image1) {
    f.Visible = false;
    return;
  }
  const bool onGrade = ctl != nullptr && ctl->Name == f.Grade.Name() &&
                       f.Grade.IsLoaded(ctl->Index) && ctl == &f.Grade(ctl->Index);
  if (e.kind == ui::InputKind::DblClick && (onGrade || ctl == &f.Num)) {
    HeroRowDoubleClicked(c, static_cast<ui::ListBox*>(ctl)->ListIndex);
    return;
  }
  if (e.kind != ui::InputKind::MouseDown) return;
  if (onGrade) {
    const auto& from = f.Grade(ctl->Index);
    for (int s = 0; s <= 3; ++s) {
      if (s != ctl->Index) SelectRow(f.Grade(s), from.ListIndex, from);
    }
    SelectRow(f.Num, from.ListIndex, from);
    return;
  }
  if (ctl == &f.Num) {
    for (int s = 0; s <= 3; ++s) SelectRow(f.Grade(s), f.Num.ListIndex, f.Num);
    return;
  }
  const bool dragsWindow = ctl == nullptr || ctl == &f.Band || ctl == &f.Title ||
                           ctl == &f.Label1 || ctl->Name == f.ID.Name() ||
                           ctl->Name == f.Tou.Name();
  if (LeftDown(e) && dragsWindow) f.MoveRequested = true;
}

}  // namespace

ScoreForm::ScoreForm()
    : ui::Form("Score"),
      Band(Create<ui::Label>("Band")),
      Title(Create<ui::Label>("Title")),
      Image1(Create<ui::Image>("Image1")) {
  Caption = "战绩板";
  Borderless = true;
  BackColor = kWindowBack;
  SizeInPixels(*this, kScoreWidth, kScoreHeight);
  PlaceBand(Band, Title, Image1, kScoreWidth, "战绩板");
  for (int s = 0; s <= 3; ++s) {
    const double x = kMargin + s * (kScoreColumn + kScoreGap);
    PlaceSeatHeading(Tou.Load(s), ID.Load(s), x, kScoreHeadTop, kScorePortraitW, kScorePortraitH,
                     kScoreColumn, kScoreListTop, 6, 9);
  }
  for (int s = 0; s <= 3; ++s) {
    const double x = kMargin + s * (kScoreColumn + kScoreGap);
    auto& fans = State.Load(s);
    StyleList(fans);
    fans.Move(x, kScoreListTop, kScoreColumn, kScoreListHeight);
  }
  for (int s = 0; s <= 3; ++s) {
    const double x = kMargin + s * (kScoreColumn + kScoreGap);
    auto& total = State.Load(s + 4);
    StyleList(total);
    total.ForeColor = kTotalText;
    total.Move(x, kScoreFinalTop, kScoreColumn, kScoreFinalHeight);
  }
  ZOrder(Image1, ui::ZPosition::Front);
}

HeroForm::HeroForm()
    : ui::Form("Hero"),
      Band(Create<ui::Label>("Band")),
      Title(Create<ui::Label>("Title")),
      Label1(Create<ui::Label>("Label1")),
      Num(Create<ui::ListBox>("Num")),
      Label2(Create<ui::Label>("Label2")),
      Image1(Create<ui::Image>("Image1")) {
  Caption = "英雄榜";
  Borderless = true;
  BackColor = kWindowBack;
  SizeInPixels(*this, kHeroWidth, kHeroHeight);
  PlaceBand(Band, Title, Image1, kHeroWidth, "英雄榜");
  Label1.Caption = "局  数";
  StyleHeading(Label1);
  Label1.Move(kMargin + 4, kHeroHeadTop + 9, kHeroNumWidth - 4, 20);
  StyleList(Num);
  Num.Move(kMargin, kHeroListTop, kHeroNumWidth, kHeroListHeight);
  Label2.Caption = "总  计";
  StyleHeading(Label2);
  Label2.Move(kMargin + 4, kHeroTotalTop, kHeroNumWidth - 4, 20);
  for (int s = 0; s <= 3; ++s) {
    const double x = kMargin + kHeroNumWidth + kHeroGap + s * (kHeroColumn + kHeroGap);
    PlaceSeatHeading(Tou.Load(s), ID.Load(s), x, kHeroHeadTop, kHeroPortraitW, kHeroPortraitH,
                     kHeroColumn, kHeroListTop, 5, 7);
    auto& grade = Grade.Load(s);
    StyleList(grade);
    grade.Move(x, kHeroListTop, kHeroColumn, kHeroListHeight);
    auto& sum = sumScore.Load(s);
    sum.FontSize = 10;
    sum.FontBold = true;
    sum.ForeColor = kTotalText;
    sum.Move(x + 3, kHeroTotalTop, kHeroColumn - 3, 20);
  }
  ZOrder(Image1, ui::ZPosition::Front);
}

InformationForm::InformationForm()
    : ui::Form("Information"), Edge(Create<ui::Label>("Edge")), Face(Create<ui::Label>("Face")) {
  Caption = "玩家信息";
  Borderless = true;
  BackColor = kWindowBack;
  SizeInPixels(*this, kCardWidth, kCardHeight);
  Edge.Transparent = Face.Transparent = false;
  Edge.BackColor = kBandBack;
  Edge.Move(0, 0, kCardWidth, kCardHeight);
  Face.BackColor = kWindowBack;
  Face.Move(2, 2, kCardWidth - 4, kCardHeight - 4);
  for (int i = 0; i <= 8; ++i) {
    const double y = 12 + i * kCardRow;
    auto& caption = Captions.Load(i + 1);
    caption.Caption = kCardCaptions[i];
    caption.FontSize = 10;
    caption.ForeColor = kHeadingText;
    caption.Move(14, y + 3, 76, kCardRow - 4);
    // The values: large, on the card's own background.
    auto& value = Inf.Load(i);
    value.FontSize = 12;
    value.Transparent = true;
    value.ForeColor = ui::kBlack;
    value.Move(94, y, kCardWidth - 94 - 8, kCardRow);
  }
}

void WireResultWindows(Client& c) {
  c.forms.Score.OnInput = [&c](const ui::InputEvent& e) { ScoreInput(c, e); };
  c.forms.Hero.OnInput = [&c](const ui::InputEvent& e) { HeroInput(c, e); };
}

void LoadHero(Client& c) {
  auto& hero = c.forms.Hero;
  if (hero.Loaded) return;
  hero.Loaded = true;
  hero.State = ui::WindowState::Normal;
  CentreOverTable(c, hero);
  for (int s = 0; s <= 3; ++s) {
    auto& grade = hero.Grade(s);
    if (grade.ListCount() > 0) grade.TopIndex = grade.ListCount() - 1;
  }
}

void ClearResultWindows(Client& c) {
  auto& hero = c.forms.Hero;
  auto& score = c.forms.Score;
  for (int i = 0; i <= 3; ++i) {
    hero.Tou(i).picture = {};
    hero.ID(i).Caption.clear();
    hero.Num.Clear();
    hero.Grade(i).Clear();
    hero.sumScore(i).Caption.clear();
    hero.Visible = false;
    score.Tou(i).picture = {};
    score.ID(i).Caption.clear();
    score.State(i).Clear();
    score.State(i + 4).Clear();
    score.Visible = false;
    c.mainForm.OK(i).Visible = false;
  }
}

}  // namespace tallow
