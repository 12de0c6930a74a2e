// The toolbar: its nine buttons light up under the pointer with their tooltips and run their
// commands; the start button has a lock of its own.
#pragma once

namespace tallow {

class Client;

// Unlocks the start button and shows 开始 on it; hides the turn timer.
void UnlockStartButton(Client& c);
// Locks the start button until the next connect request.
void LockStartButton(Client& c);

// A click on toolbar button i (0..8).
void ToolbarClick(Client& c, int i);
// The pointer moved over button i: its highlight picture, once, and its tooltip.
void ToolbarMouseMove(Client& c, int i);
// The pointer moved over the table picture: lit buttons return to their normal pictures and
// the player card goes away. (A lifted hand tile is the hand's own affair.)
void PointerOnTable(Client& c);

}  // namespace tallow
