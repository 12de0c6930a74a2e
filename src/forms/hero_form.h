// The leaderboard Hero (英雄榜), filled by the seating, the settlement and the game record.
#pragma once

#include "platform/controls.h"

namespace tallow {

// Borderless like Score: a band across the top and a background that drags the window.
class HeroForm : public ui::Form {
 public:
  HeroForm();
  ui::Label& Band;
  ui::Label& Title;
  ui::ControlArray<ui::Label> ID{*this, "ID", 3};
  ui::ControlArray<ui::Image> Tou{*this, "Tou", 3};
  ui::Label& Label1;                                       // heading of the hand numbers
  ui::ListBox& Num;                                        // one row per hand of the table
  ui::ControlArray<ui::ListBox> Grade{*this, "Grade", 3};  // each seat's amount per hand
  ui::Label& Label2;                                       // heading of the running totals
  ui::ControlArray<ui::Label> sumScore{*this, "sumScore", 3};
  ui::Image& Image1;  // close
  bool Loaded = false;
};

}  // namespace tallow
