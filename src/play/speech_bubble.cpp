#include "play/speech_bubble.h"

#include "session/client.h"

namespace tallow {

void HideSpeechBubble(Client& /*c*/) {}

}  // namespace tallow
