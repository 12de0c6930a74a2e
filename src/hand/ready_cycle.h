// Ready and continue between hands.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void ContinueCountdownSecond(Client& c);

}  // namespace tallow
