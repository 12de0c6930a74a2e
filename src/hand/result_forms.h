// The result window (战绩板), the leaderboard (英雄榜) and the player card, with the controls the
// seating, the settlement and the session reset fill, and their input.
#pragma once

#include "platform/controls.h"

namespace tallow {

class Client;

// Score and Hero are borderless: a band across the top carries the title and the close button,
// and the window is dragged by its background.
class ScoreForm : public ui::Form {
 public:
  ScoreForm();
  ui::Label& Band;
  ui::Label& Title;
  ui::ControlArray<ui::Label> ID{*this, "ID", 3};
  ui::ControlArray<ui::Image> Tou{*this, "Tou", 3};
  // State(s): the fan and payment lines of relative seat s; State(s + 4): its final score.
  ui::ControlArray<ui::ListBox> State{*this, "State", 7};
  ui::Image& Image1;  // close
};

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

// The player card shown while the pointer rests on a portrait: a caption and a value per row.
class InformationForm : public ui::Form {
 public:
  InformationForm();
  ui::Label& Edge;
  ui::Label& Face;
  // The row captions Label1..Label9: Captions(i + 1) names the value in Inf(i).
  ui::ControlArray<ui::Label> Captions{*this, "Label", 9};
  ui::ControlArray<ui::Label> Inf{*this, "Inf", 8};
};

// Gives the result windows their input handlers (done once, with the client).
void WireResultWindows(Client& c);
// The leaderboard's first load: normal state, centred over the table window, and every amount
// list scrolled to its last row. Later calls do nothing.
void LoadHero(Client& c);
// Empties both windows' seats and lists, hides them and the ready marks (session reset).
void ClearResultWindows(Client& c);

}  // namespace tallow
