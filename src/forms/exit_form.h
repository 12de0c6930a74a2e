// The exit confirmation frmExit.
#pragma once

#include "platform/controls.h"

namespace tallow {

class ExitForm : public ui::Form {
 public:
  ExitForm();
  ui::Label& Label1;     // the question, always shown
  ui::Label& Label2;     // the warning while a game runs
  ui::Image& pbCloseMe;  // leave the table
  ui::Image& pbCancel;   // stay
  bool Loaded = false;
  bool ExitWarningShown = false;  // Label2 is shown
};

}  // namespace tallow
