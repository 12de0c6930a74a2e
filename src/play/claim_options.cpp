#include "play/claim_options.h"

#include "base/pictures.h"
#include "base/tiles.h"
#include "hand/tile_rows.h"
#include "play/turn_timer.h"
#include "session/client.h"

namespace tallow {
namespace {

// The button of each operation bit, -1 for the bit that is never offered.
constexpr int kButtonOfBit[8] = {4, -1, 0, 1, 2, -1, -1, 3};

bool Has(int flags, int bit) {
  return (flags & bit) != 0;
}

void AddKongOption(Client& c, int index, short kind) {
  auto& t = c.table;
  if (t.KongCount > 9) return;  // the list is full
  if (t.KongCount == 0) t.KongKind = kind;
  t.KongOptions(t.KongCount) = static_cast<short>(index);
  if (t.KongCount <= c.mainForm.Gang.Upper()) {
    const int code = t.custom(0).mj(index).value;
    LoadResourcePicture(c, c.mainForm.Gang(t.KongCount),
                        ImageId(c.images.TileImageIds(TilePictureIndex(4, code))));
  }
  ++t.KongCount;
}

}  // namespace

void SetOperationPicture(Client& c, int button, bool lit) {
  LoadResourcePicture(c, c.mainForm.Operation(button),
                      ImageId(c.images.OperationImageIds(3 * button + (lit ? 1 : 0))));
}

void OnOperationOffer(Client& c, const protocol::Header& h) {
  auto& t = c.table;
  auto& f = c.mainForm;
  SeatRecord& me = t.custom(0);
  if ((h.SeatMask & 0x0F) != (me.SeatBit & 0x0F)) return;
  const int flags = h.Value[0] & 0xFF;
  t.ActionSent = 0;
  t.PanelState = 0;
  t.OperationState.Fill(0);
  for (int i = 0; i <= 7; ++i) {
    if (!Has(flags, 1 << i)) continue;
    if (i == 4) t.OperationFlags = h.Value[0];
    const int b = kButtonOfBit[i];
    if (b < 0) continue;
    f.Operation(b).Enabled = true;
    SetOperationPicture(c, b, true);
    t.OperationState(b) = 2;
  }
  if (me.HandCount > 0) {
    for (int b = 0; b <= 4; ++b) {
      f.Operation(b).Visible = true;
      f.Operation(b).ZOrder(ui::ZPosition::Front);
    }
  }
  if (me.DiscardDue()) t.MustDiscard = -1;
  if (me.HandCount > 0) StartTurnTimer(c, t.TurnSeconds);
}

void FindChowOptions(Client& c, int tileCode) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  t.ChowCount = 0;
  SetTileSizes(c, TileSizes::Hand);
  SortHand(c, 0, me.HandCount);
  const int end = me.HandStart + me.HandCount;  // one past the last concealed tile
  me.WildCount = 0;
  while (me.HandStart + me.WildCount < end && t.HasWildTile() &&
         me.mj(me.HandStart + me.WildCount).value == t.WildTile) {
    ++me.WildCount;
  }
  const int suit = tile::Suit(tileCode), r = tile::Rank(tileCode);
  int first = me.HandStart + me.WildCount;
  while (first < end && tile::Suit(me.mj(first).value) != suit) ++first;
  if (first >= end) return;
  int last = first;
  while (last + 1 < end && tile::Suit(me.mj(last + 1).value) == suit) ++last;
  int cnt[11] = {};  // ranks 0..10, so that r - 2 .. r + 2 never leave the table
  for (int k = first; k <= last; ++k) {
    const int q = tile::Rank(me.mj(k).value);
    if (q >= 1 && q <= 9) ++cnt[q];
  }
  int pos[11] = {};
  for (int q = 1; q <= 9; ++q) pos[q] = pos[q - 1] + cnt[q];
  auto lastOf = [&](int q) { return static_cast<short>(first + pos[q] - 1); };
  auto add = [&](int a, int b) {
    t.ChowOptions(t.ChowCount) = lastOf(a);
    t.ChowOptions(t.ChowCount + 1) = lastOf(b);
    t.ChowCount = static_cast<short>(t.ChowCount + 2);
  };
  if (r < 1 || r > 9) return;
  if (r > 2 && cnt[r - 2] > 0 && cnt[r - 1] > 0) add(r - 2, r - 1);
  if (r > 1 && r < 9 && cnt[r - 1] > 0 && cnt[r + 1] > 0) add(r - 1, r + 1);
  if (r < 8 && cnt[r + 1] > 0 && cnt[r + 2] > 0) add(r + 1, r + 2);
}

int FindPungPair(const Client& c, int tileCode) {
  const SeatRecord& me = c.table.custom(0);
  for (int i = me.HandStart; i <= me.HandStart + me.HandCount - 2; ++i) {
    if (me.mj(i).value == tileCode && me.mj(i + 1).value == tileCode) return i;
  }
  return -1;
}

void FindKongOptions(Client& c) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  t.KongCount = 0;
  t.KongKind = 0;
  const int flags = t.OperationFlags;
  const int end = me.HandStart + me.HandCount;
  if (Has(flags, protocol::op::kOneTileKong)) {
    for (int k = 1; k <= me.MeldEnd - 5; k += 3) {
      if (me.mj(k).typ != 3) continue;
      for (int i = me.HandStart; i < end; ++i) {
        if (me.mj(i).value == me.mj(k).value) {
          AddKongOption(c, i, 2);
          break;
        }
      }
    }
  }
  // An exposed kong takes a discard: on the seat's own turn the bit only comes with the one-tile
  // kong, and LastTile is some earlier discard.
  if (Has(flags, protocol::op::kKong) && !me.DiscardDue()) {
    for (int i = me.HandStart; i <= end - 3; ++i) {
      if (me.mj(i).value == t.LastTile && me.mj(i + 2).value == t.LastTile) {
        AddKongOption(c, i, 3);
        break;
      }
    }
  }
  if (Has(flags, protocol::op::kConcealedKong)) {
    for (int i = me.HandStart; i <= end - 4; ++i) {
      if (me.mj(i).value == me.mj(i + 3).value) AddKongOption(c, i, 4);
    }
  }
}

}  // namespace tallow
