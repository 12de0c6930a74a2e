// The end of a hand and its settlement.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnHandResult(Client& c, const protocol::Header& h);
void OnSeatScore(Client& c, const protocol::Header& h);
// Fills the result window once the fourth settlement of a hand has arrived.
void ShowSettlement(Client& c);
// The fan and payment lines of every seat's column.
void ShowFanList(Client& c);

}  // namespace tallow
