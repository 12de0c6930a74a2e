// The turn timer: one second per run of its scheduler slot.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void TurnTimerSecond(Client& c);

// Starts the countdown at `seconds`: the count shows in green beside the clock picture and
// scheduler slot 6 runs from a fresh counter.
void StartTurnTimer(Client& c, int seconds);
// Stops the countdown: slot 6 off with its counter cleared, the count back at TurnSeconds,
// clock and count hidden.
void StopTurnTimer(Client& c);

}  // namespace tallow
