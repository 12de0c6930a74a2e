// The turn timer: one second per run of its scheduler slot.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void TurnTimerSecond(Client& c);

}  // namespace tallow
