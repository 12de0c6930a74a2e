#include "hand/layout.h"

#include "session/client.h"

namespace tallow {

void LoadImageTables(Client& /*c*/) {}

void LayoutSeatsAndToolbar(Client& /*c*/) {}

void LayoutPlayArea(Client& /*c*/) {}

}  // namespace tallow
