// The end of a hand and its settlement.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnHandResult(Client& c, const protocol::Header& h);
void OnSeatScore(Client& c, const protocol::Header& h);

}  // namespace tallow
