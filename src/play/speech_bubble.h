// Speech bubbles beside the seats.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void HideSpeechBubble(Client& c);

}  // namespace tallow
