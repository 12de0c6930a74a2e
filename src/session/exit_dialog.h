// The exit confirmation frmExit, and the way back to the hall that it shares with the game-over
// notice.
#pragma once

#include "platform/controls.h"

namespace tallow {

class Client;

class ExitForm : public ui::Form {
 public:
  ExitForm();
  ui::Label& Label1;     // the question, always shown
  ui::Label& Label2;     // the warning while a game runs
  ui::Image& pbCloseMe;  // leave the table
  ui::Image& pbCancel;   // stay
  bool Loaded = false;
};

// Loads the dialog on first use: its input, the buttons' sizes and pictures.
void LoadExitDialog(Client& c);
// Shows the warning line exactly while the local player is in a running game.
void UpdateExitWarning(Client& c);
void ExitConfirmClick(Client& c);
void ExitCancelClick(Client& c);

// Leaving a table for the hall, in two halves around the unloading of the dialog that asked:
// the session and the table are reset; then the table window goes down and the hall comes up,
// or the process ends when the hall window is gone.
void ResetForHall(Client& c);
void ReturnToHall(Client& c);

}  // namespace tallow
