// The game-over notice window frmOtherExit: back to the hall, or stay at the finished table.
#pragma once

#include <string>

#include "platform/controls.h"

namespace tallow {

class Client;

class OtherExitForm : public ui::Form {
 public:
  OtherExitForm();
  ui::Label& Label1;
  ui::Image& imgOK;      // back to the hall
  ui::Image& imgCancel;  // stay at the table
  bool Loaded = false;
  bool TopMost = false;
};

// Loads the window (a loaded window only keeps its state): buttons 70 x 30, and the game
// counts as over for the start/continue command.
void LoadOtherExit(Client& c);
// Unloads the window: hidden, its text gone.
void UnloadOtherExit(Client& c);
// Shows text in the window, topmost and centred over the table window.
void ShowNotice(Client& c, const std::string& text);
void OtherExitOkClick(Client& c);
void OtherExitCancelClick(Client& c);

}  // namespace tallow
