#include "sound/sound.h"

#include "session/client.h"

namespace tallow {

void StartTableSound(Client& /*c*/) {}

void StopTableSound(Client& /*c*/) {}

}  // namespace tallow
