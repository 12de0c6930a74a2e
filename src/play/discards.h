// The blink of the last discard.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void BlinkLastDiscard(Client& c);

}  // namespace tallow
