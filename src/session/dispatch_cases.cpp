#include "session/dispatch_cases.h"

#include "base/tiles.h"
#include "forms/notice_window.h"
#include "hand/hand_start.h"
#include "hand/seating.h"
#include "hand/settlement.h"
#include "hand/table_reset.h"
#include "hand/table_restore.h"
#include "play/claim_options.h"
#include "play/operation_results.h"
#include "play/turn_handlers.h"
#include "session/client.h"
#include "session/reconnection.h"
#include "session/session_messages.h"
#include "spectator/spectator_handlers.h"

namespace tallow {
namespace {

using Handler = void (*)(Client&, const protocol::Header&);

// Turn messages (and dragon sets) go to the spectator's twin when the client is watching.
void Turn(Client& c, const protocol::Header& h, Handler player, Handler spectator) {
  (c.table.Spectating != 0 ? spectator : player)(c, h);
}

}  // namespace

void RunCase(Client& c, int kase, protocol::Header& h) {
  switch (kase) {
    case 0:
      BeforeTurnMessage(c, 1, h);
      return Turn(c, h, OnDealTiles, OnSpectatorDeal);
    case 1:
      BeforeTurnMessage(c, 2, h);
      return Turn(c, h, OnTileDiscarded, OnSpectatorDiscard);
    case 2:
      return OnSeatPlayer(c, h);
    case 3:
      return OnNewHand(c, h);
    case 4:
      BeforeTurnMessage(c, 5, h);
      return Turn(c, h, OnTileDrawn, OnSpectatorDraw);
    case 5:
      return OnOperationOffer(c, h);
    case 6:
      return Turn(c, h, OnOperationResult, OnSpectatorResult);
    case 7:
      return Turn(c, h, OnDragonSetsShown, OnSpectatorDragonSets);
    case 8:
      return OnHandResult(c, h);
    case 9:
      return OnWildTileSet(c, h);
    case 10:
      return OnTilesRevealed(c, h);
    case 11:
      return OnSeatEvent(c, h);
    case 12:
      return OnSeatScore(c, h);
    case 13:
      return OnLoginResult(c, h);
    case 14:
      // The chat line was shown while the message was extracted; only the seat is converted.
      h.SeatMask = static_cast<std::uint8_t>(RelativeSeat(c.table.custom(0).SeatBit, h.SeatMask));
      return;
    case 15:
      return OnPlayerProfile(c, h);
    case 16:
      return OnPlayerQuit(c, h);
    case 17:
      return OnServerNotice(c, h);
    case 18:
      return OnPlayerReady(c, h);
    case 19:
      return OnReconnectResult(c, h);
    case 20:
      return TableSnapshot(c, h);
    case 21:
      OnTableCleared(c, h);
      return AfterTableClearedOnReturn(c, h);
    default:
      return;
  }
}

}  // namespace tallow
