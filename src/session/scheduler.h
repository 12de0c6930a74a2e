// The main timer's tick: the cooperative scheduler's run over its slots.
#pragma once

namespace tallow {

class Client;

// One tick of TimerBong: runs the slots in their fixed order.
void TimerBongTick(Client& c);

}  // namespace tallow
