// The spectator's routines for the kinds of claim: the other seats' sets as a player's client
// lays them, the watched seat's by the tiles the server names (it has no chooser), its
// remaining tiles face down.
#pragma once

#include <array>

namespace tallow {

class Client;

// A claimed discard leaves the pool the spectator had already put it in: the discarder's pool
// cursor goes back to where the tile lay.
void TakeBackClaimedDiscard(Client& c);

void SpectatorChowOrPung(Client& c, int rel, int operation, const std::array<int, 3>& tiles);
void SpectatorKong(Client& c, int rel, int operation, const std::array<int, 3>& tiles);
void SpectatorOneTileKong(Client& c, int rel, int code);
void SpectatorWin(Client& c, int rel);

// Pictures the watched seat's concealed tiles as standing tile backs.
void ShowWatchedHandFaceDown(Client& c);

}  // namespace tallow
