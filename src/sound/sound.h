// Table sounds and music.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void StartTableSound(Client& c);
void StopTableSound(Client& c);

}  // namespace tallow
