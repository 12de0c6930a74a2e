#include "hand/seating.h"

#include "base/general.h"
#include "base/pictures.h"
#include "hand/game_record.h"
#include "session/client.h"

namespace tallow {
namespace {

// Fixes every seat's bit and account once the local player is found among the seat names.
void FindLocalSeat(Client& c) {
  auto& custom = c.table.custom;
  for (int i = 3; i >= 0; --i) {
    if (custom(0).Account != c.framing.SeatNames(i)) continue;
    for (int j = 0; j <= 3; ++j) {
      custom(j).SeatBit =
          static_cast<std::uint8_t>(PowerOfTwo(static_cast<short>((i + 4 - j) % 4)));
      custom(j).Account = c.framing.SeatNames(BitPosition(custom(j).SeatBit));
    }
    return;
  }
}

}  // namespace

void OnSeatPlayer(Client& c, const protocol::Header& /*h*/) {
  auto& f = c.mainForm;
  auto& hero = c.forms.Hero;
  if (c.table.Spectating == 0) c.TimerKeepAlive->SetEnabled(false);
  hero.Num.Clear();
  for (int s = 0; s <= 3; ++s) {
    f.OK(s).Visible = false;
    hero.Grade(s).Clear();
  }
  c.session.HandNumber = 0;
  c.hand.SeatsNamed = CheckedInt16(c.hand.SeatsNamed + 1);
  c.hand.SeatDrawPending = -1;
  DeleteGameRecord(c);
  c.hand.TotalAmount.Fill(0);
  if (c.hand.SeatsNamed < 4) return;
  c.hand.SeatsNamed = 0;
  LoadResourcePicture(c, f.AnNiu(2), ImageId(c.images.ButtonImageIds(6)));
  c.toolbar.ToolbarLock(2) = -1;
  FindLocalSeat(c);
}

}  // namespace tallow
