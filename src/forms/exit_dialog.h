// The exit confirmation frmExit, and the way back to the hall that it shares with the game-over
// notice.
#pragma once

namespace tallow {

class Client;

// Loads the dialog on first use: its input, the buttons' sizes and pictures.
void LoadExitDialog(Client& c);
// Opens (loaded, centred over the table, raised when asked) or closes the dialog.
void ToggleExitDialog(Client& c, bool bringToFront);
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
