#include "core/server_util.h"

#include <algorithm>

namespace tallow::server::detail {

bool ForWatchers(int type) {
  using protocol::MsgType;
  switch (static_cast<MsgType>(type)) {
    case MsgType::DealTiles:
    case MsgType::TileDiscarded:
    case MsgType::NewHand:
    case MsgType::TileDrawn:
    case MsgType::OperationResult:
    case MsgType::DragonSetsShown:
    case MsgType::HandResult:
    case MsgType::WildTileSet:
    case MsgType::TilesRevealed:
    case MsgType::SeatEvent:
    case MsgType::SeatScore:
    case MsgType::ChatMessage:
    case MsgType::PlayerQuit:
    case MsgType::ServerNotice:
    case MsgType::PlayerReady:
      return true;
    default:
      return false;
  }
}

std::string Text(const protocol::Record& rec, std::size_t offset, std::size_t max) {
  auto bytes = protocol::CString(rec, offset, max);
  return std::string(bytes.begin(), bytes.end());
}

bool PrintableAccount(const std::string& a) {
  if (a.empty()) return false;
  return std::all_of(a.begin(), a.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

}  // namespace tallow::server::detail
