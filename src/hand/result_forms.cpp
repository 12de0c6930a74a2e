#include "hand/result_forms.h"

#include "session/client.h"

namespace tallow {

ScoreForm::ScoreForm() : ui::Form("Score") {
  Caption = "战绩板";
  for (int i = 0; i <= 3; ++i) {
    ID.Load(i);
    Tou.Load(i).Stretch = true;
  }
  for (int i = 0; i <= 7; ++i) State.Load(i);
}

HeroForm::HeroForm() : ui::Form("Hero"), Num(Create<ui::ListBox>("Num")) {
  Caption = "英雄榜";
  for (int i = 0; i <= 3; ++i) {
    ID.Load(i);
    Tou.Load(i).Stretch = true;
    Grade.Load(i);
    sumScore.Load(i);
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
