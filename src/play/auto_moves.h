// The moves the client makes for the local player when the turn timer runs out: the smallest
// move for a human player, the whole turn for a robot.
#pragma once

namespace tallow {

class Client;

// Closes the panel, passes unless something was sent, and throws the last hand tile when a
// discard is due.
void TimeoutMove(Client& c);
// The robot's turn: a win whenever offered; otherwise a kong, pung or chow when the hand
// evaluation favours it; otherwise a pass and, when due, the discard ChooseDiscard picks.
void AutoPlayTurn(Client& c);
// The robot's kong search: fills KongOptions in its own order; true when its first option
// would lay down a single wild tile (with fewer than two wild tiles in the hand).
bool AutoKongSearch(Client& c);

}  // namespace tallow
