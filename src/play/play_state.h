// The state of the play of a turn that is not kept with the table.
#pragma once

namespace tallow {

struct PlayState {
  // Set by an accepted login or reconnection, cleared when the link watch finds the connection
  // lost: gates the turn timer and the player's clicks on tiles and claim buttons.
  short TurnTimerAllowed = 0;
};

}  // namespace tallow
