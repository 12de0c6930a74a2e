#include "hand/table_restore.h"

#include "session/client.h"

namespace tallow {

void OnTableSnapshot(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
