#include "shell/toolbar.h"

#include "session/client.h"

namespace tallow {

void UnlockStartButton(Client& c) {
  c.session.StartButtonLocked = false;
}

void LockStartButton(Client& c) {
  c.session.StartButtonLocked = true;
}

}  // namespace tallow
