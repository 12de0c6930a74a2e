#include "session/session_messages.h"

#include "session/client.h"

namespace tallow {

void OnLoginResult(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnPlayerProfile(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnPlayerQuit(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnSeatEvent(Client& /*c*/, const protocol::Header& /*h*/) {}

void ClearSeatPanels(Client& /*c*/) {}

void OnWildTileSet(Client& c, const protocol::Header& h) {
  c.table.WildTile = static_cast<short>(h.Value[2] & 0xFF);
  c.table.WildIndicator = h.Value[3] & 0xFF;
}

}  // namespace tallow
