// The chat's state.
#pragma once

#include <string>

namespace tallow {

struct ChatState {
  // A typed line may be sent: cleared when one is sent, set again by TimerChat (flood control).
  bool ChatReady = true;
  // The private-talk prefix "你对" + name + "说: " at the start of the chat box, or "".
  std::string TalkPrefix;
  // The seat bit of the player the prefix addresses; 0 for none.
  short TalkTarget = 0;
  // What the chat box held when the prefix was set.
  std::string TalkSavedText;
  // Half-periods of the chat button's blink still to run.
  short ChatBlinkCount = 0;
  // The chat box's text when Backspace was pressed while a prefix was set, and whether the next
  // change of the box removes the prefix as a whole.
  std::string TypedChatText;
  bool PrefixBroken = false;
};

}  // namespace tallow
