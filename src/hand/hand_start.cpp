#include "hand/hand_start.h"

#include <cmath>

#include "base/general.h"
#include "base/pictures.h"
#include "hand/table_reset.h"
#include "session/client.h"
#include "session/hall.h"
#include "sound/sound.h"

namespace tallow {
namespace {

constexpr double kDiceFrameWait = 0.002;
constexpr double kDiceRest = 0.6;
constexpr double kWallStackWait = 0.01;
constexpr double kSeatDrawPause = 0.5;
constexpr int kFirstTumblingFrame = 6;
constexpr int kStandingBack = 7;
constexpr int kLargeWindNorth = 147;  // large wind tiles count down from 北 to 东
// The wall-stack back of each side.
constexpr short kStackBack[] = {8, 44, 80, 116};

void SetDice(Client& c, bool visible) {
  c.mainForm.Sai_Image(0).Visible = visible;
  c.mainForm.Sai_Image(1).Visible = visible;
}

// One throw of both dice: tumbling frames, then the final faces a and b.
void Throw(Client& c, short a, short b) {
  auto& f = c.mainForm;
  auto& clock = c.platform.clock;
  const int frames = static_cast<int>(clock.Random() * 5) + 20;
  for (int j = 0; j <= frames; ++j) {
    for (int d = 0; d <= 1; ++d) {
      const int frame = static_cast<int>(clock.Random() * 10) + kFirstTumblingFrame;
      f.Sai_Image(d).picture = f.SZ_Image(frame).picture;
    }
    if (j == frames) {
      f.Sai_Image(0).picture = f.SZ_Image(a - 1).picture;
      f.Sai_Image(1).picture = f.SZ_Image(b - 1).picture;
    }
    WaitSeconds(c, kDiceFrameWait);
  }
}

void ShowDealer(Client& c) {
  auto& f = c.mainForm;
  f.ZhiNan.Visible = true;
  f.Host.Visible = true;
  f.Zhuang.Visible = true;
  f.Zhuang.ZOrder(ui::ZPosition::Front);
}

void ResetOperationButtons(Client& c) {
  for (int k = 0; k <= 4; ++k) {
    auto& b = c.mainForm.Operation(k);
    b.Visible = false;
    b.Enabled = false;
    LoadResourcePicture(c, b, ImageId(c.images.OperationImageIds(3 * k)));
  }
}

}  // namespace

short WallStart(int dealer, const std::array<short, 4>& d) {
  // Dice outside 1..6 are not checked on the wire; the start stays on the wall all the same.
  const int side = FloorMod(13 + dealer - d[0] - d[1], 4);
  return static_cast<short>(FloorMod(2 * (side * 14 + d[0] + d[1] + d[2] + d[3]), 120));
}

void RollDice(Client& c, int /*dealer*/, std::array<short, 4>& values) {
  auto& f = c.mainForm;
  f.Label3.Caption.clear();
  PlayTableSound(c, kDiceSound);
  for (int k = 0; k <= 1; ++k) {
    if (values[k] == 0) values[k] = 1;
  }
  f.Sai_Image(0).Move(400 * c.layout.ScaleX, 284 * c.layout.ScaleY);
  f.Sai_Image(1).Move(560 * c.layout.ScaleX, 284 * c.layout.ScaleY);
  SetDice(c, true);
  Throw(c, values[0], values[1]);
  SleepSeconds(c, kDiceRest);
  SetDice(c, false);
  SleepSeconds(c, kDiceRest);
  PlayTableSound(c, kDiceSound);
  SetDice(c, true);
  for (int k = 2; k <= 3; ++k) {
    if (values[k] == 0) values[k] = 1;
  }
  Throw(c, values[2], values[3]);
  SleepSeconds(c, kDiceRest);
  SetDice(c, false);
}

void BuildWall(Client& c) {
  auto& f = c.mainForm;
  PlayTableSound(c, kShuffleSound);
  for (int s = 0; s <= 3; ++s) {
    const auto base = static_cast<short>(30 * s);
    SetTileSprite(c, static_cast<short>(base + 1), kStackBack[s]);
    SetTileSprite(c, base, kStackBack[s]);
  }
  for (int i = 1; i <= 14; ++i) {
    for (int s = 0; s <= 3; ++s) {
      const int b = 30 * s;
      auto& lower = f.MJ_Image(b + 2 * i + 1);
      lower.picture = f.MJ_Image(b + 1).picture;
      lower.Visible = true;
      auto& upper = f.MJ_Image(b + 2 * i);
      upper.picture = f.MJ_Image(b).picture;
      upper.Visible = true;
    }
    WaitSeconds(c, kWallStackWait);
  }
  PostToHall(c, platform::wm::kHandStarted);
  ClearTurnBookkeeping(c);
  c.hand.ScoreCount = 0;
}

void ShowSeatDraw(Client& c, std::uint8_t seatIndex) {
  auto& f = c.mainForm;
  PlayTableSound(c, kDealSound);
  const short w = c.table.TileWidth(0);
  const short h = c.table.TileHeight(0);
  const short x = CheckedInt16(std::lrint(f.Pic1.Width / 2 - 2.0 * w));
  const short y = CheckedInt16(std::lrint(f.Pic1.Height / 2 - h));
  for (int k = 0; k <= 3; ++k) {
    auto& m = f.MJ_Image(k);
    m.Move(x + k * w, y, w, h);
    SetTileSprite(c, static_cast<short>(k), kStandingBack);
    m.Visible = true;
  }
  SleepSeconds(c, kSeatDrawPause);
  const int k = static_cast<int>(c.platform.clock.Random() * 4);
  SetTileSprite(c, static_cast<short>(k), static_cast<short>(kLargeWindNorth - seatIndex));
  SleepSeconds(c, kSeatDrawPause);
  for (int i = 0; i <= 3; ++i) f.MJ_Image(i).Visible = false;
}

void ShowCompass(Client& c) {
  auto& seat = c.table.custom(0);
  if (seat.SeatBit == 0) seat.SeatBit = 1;
  LoadResourcePicture(c, c.mainForm.ZhiNan,
                      ImageId(c.images.CompassImageIds(BitPosition(seat.SeatBit))));
  c.mainForm.ZhiNan.Visible = true;
}

void OnNewHand(Client& c, const protocol::Header& h) {
  auto& f = c.mainForm;
  auto& s = c.session;
  f.Label3.Caption.clear();
  if (c.forms.frmExit.Visible) {
    // Unloaded, not hidden: its next opening loads it afresh.
    c.forms.frmExit.Visible = false;
    c.forms.frmExit.Loaded = false;
  }
  c.players.GameOverSeen = 0;
  if (c.table.Spectating != 0) {
    ClearHandDisplay(c);
    ResetTableDisplay(c);
    ResetTableState(c);
    c.table.TableReadyForNext = -1;
    // A hand seen from its start is complete: the spectator draws it from the deal on.
    c.spectator.TableRestored = -1;
  }
  c.scheduler.Enable(TickScheduler::kBlink);
  s.FirstHandStarted = 1;
  s.TableActive = -1;
  for (int i = 0; i <= 3; ++i) f.OK(i).Visible = false;
  s.HandInPlay = true;
  s.HandNumber = CheckedInt16(s.HandNumber + 1);
  ResetTableDisplay(c);
  BuildWall(c);

  int dealer = 0;
  while (dealer <= 3 && c.table.custom(dealer).SeatBit != h.SeatMask) ++dealer;
  if (dealer > 3) {
    c.platform.dialogs.MessageBox(kPlayerLeftBox, f.Caption);
    ShowHallAndEnd(c, "the dealer's seat is empty");
  }
  c.table.custom(dealer).IsDealer = -1;
  std::array<short, 4> dice{};
  for (int k = 0; k <= 3; ++k) dice[k] = h.Value[k];
  RollDice(c, dealer, dice);
  c.table.WallHead = WallStart(dealer, dice);
  c.table.WallTail = static_cast<short>((c.table.WallHead + 118) % 120);

  ShowDealer(c);
  for (int seat = 0; seat <= 3; ++seat) c.table.SeenCount(seat).Fill(0);
  ResetOperationButtons(c);
}

}  // namespace tallow
