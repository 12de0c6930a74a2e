// The toolbar's start button and its lock.
#pragma once

namespace tallow {

class Client;

// Unlocks the start button and shows 开始 on it; hides the turn timer.
void UnlockStartButton(Client& c);
// Locks the start button until the next connect request.
void LockStartButton(Client& c);

// A click on toolbar button i (0..8).
void ToolbarClick(Client& c, int i);

}  // namespace tallow
