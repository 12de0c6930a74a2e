// The notice window frmOtherExit (a game-over or server notice): back to the hall, or stay at
// the finished table.
#pragma once

#include <string>

#include "protocol/record.h"

namespace tallow {

class Client;

// Loads the window (a loaded window only keeps its state): buttons 70 x 30, and the game
// counts as over for the start/continue command.
void LoadOtherExit(Client& c);
// Unloads the window: hidden, its text gone.
void UnloadOtherExit(Client& c);
// Shows text in the window, topmost and centred over the table window.
void ShowNotice(Client& c, const std::string& text);
// The server's notice: the link watch and the continue countdown stop, the table is no longer
// active, and after two seconds the notice is shown.
void OnServerNotice(Client& c, const protocol::Header& h);
void OtherExitOkClick(Client& c);
void OtherExitCancelClick(Client& c);

}  // namespace tallow
