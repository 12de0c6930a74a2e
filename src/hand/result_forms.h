// The result window (战绩板) and the leaderboard (英雄榜) with the controls the seating and
// the session reset fill.
#pragma once

#include "platform/controls.h"

namespace tallow {

class Client;

class ScoreForm : public ui::Form {
 public:
  ScoreForm();
  ui::ControlArray<ui::Label> ID{*this, "ID", 3};
  ui::ControlArray<ui::Image> Tou{*this, "Tou", 3};
  ui::ControlArray<ui::ListBox> State{*this, "State", 7};  // two columns per seat
};

class HeroForm : public ui::Form {
 public:
  HeroForm();
  ui::ControlArray<ui::Label> ID{*this, "ID", 3};
  ui::ControlArray<ui::Image> Tou{*this, "Tou", 3};
  ui::ListBox& Num;
  ui::ControlArray<ui::ListBox> Grade{*this, "Grade", 3};
  ui::ControlArray<ui::Label> sumScore{*this, "sumScore", 3};
};

// Empties both windows' seats and lists, hides them and the ready marks (session reset).
void ClearResultWindows(Client& c);

}  // namespace tallow
