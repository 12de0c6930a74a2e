// The result window (战绩板), the leaderboard (英雄榜) and the player card: their input, the
// leaderboard's first load and the session reset's clearing.
#pragma once

namespace tallow {

class Client;

// Gives the result windows their input handlers (done once, with the client).
void WireResultWindows(Client& c);
// The leaderboard's first load: normal state, centred over the table window, and every amount
// list scrolled to its last row. Later calls do nothing.
void LoadHero(Client& c);
// Empties both windows' seats and lists, hides them and the ready marks (session reset).
void ClearResultWindows(Client& c);

}  // namespace tallow
