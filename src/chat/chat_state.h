// The chat's state.
#pragma once

namespace tallow {

struct ChatState {
  // A typed line may be sent: cleared when one is sent, set again by TimerChat (flood control).
  bool ChatReady = true;
};

}  // namespace tallow
