#include "sound/sound.h"

#include "session/client.h"

namespace tallow {

void StartTableSound(Client& /*c*/) {}

void StopTableSound(Client& /*c*/) {}

void PlayTableSound(Client& /*c*/, int /*slot*/) {}

void PlayVoice(Client& /*c*/, int /*rel*/, const std::string& /*ending*/) {}

}  // namespace tallow
