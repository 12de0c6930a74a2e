// The result window Score (战绩板), filled by the settlement and the game record.
#pragma once

#include "platform/controls.h"

namespace tallow {

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

}  // namespace tallow
