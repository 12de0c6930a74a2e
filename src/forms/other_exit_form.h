// The notice window frmOtherExit.
#pragma once

#include "platform/controls.h"

namespace tallow {

class OtherExitForm : public ui::Form {
 public:
  OtherExitForm();
  ui::Label& Label1;
  ui::Image& imgOK;      // back to the hall
  ui::Image& imgCancel;  // stay at the table
  bool Loaded = false;
  bool TopMost = false;
  // A game-over or server notice has been shown: the link watch leaves the end of the session
  // to this window. Nothing clears it while the process runs.
  short NoticeShown = 0;
};

}  // namespace tallow
