// The table window and the controls the logic drives.
#pragma once

#include "platform/controls.h"

namespace tallow {

class MainForm : public ui::Form {
 public:
  MainForm();

  ui::Image& Pic1;  // the table picture; every table control lies inside it
  ui::ControlArray<ui::ListBox> Sysmsg{*this, "Sysmsg", 1};
  ui::Label& Location;
};

}  // namespace tallow
