// Ready and continue between hands: the 开始/继续 command and the continue countdown.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

// The 开始/继续 command: declares the local player ready, or, after a game-over notice,
// leaves the table for the hall.
void StartOrContinue(Client& c);
// One second of the continue countdown (scheduler slot 7); declares the player ready when
// it has run out.
void ContinueCountdownSecond(Client& c);
// The ButtonImageIds slot of the 开始/继续 button: 开始 until the first press or hand since
// the login, 继续 afterwards; the highlight picture follows its normal one.
int StartButtonSlot(const Client& c, bool highlight);

}  // namespace tallow
