// A started client seated at a table in play, fed turn records, with checks that its seat
// records and sprites agree after every message.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "base/pictures.h"
#include "base/tiles.h"
#include "doubles/client_harness.h"
#include "hand/table_reset.h"
#include "seating_support.h"

namespace tallow::testing {

// Seat bits of the relative seats when the local seat bit is 1.
inline constexpr std::array<int, 4> kSeatBit = {1, 8, 4, 2};

struct PlayTable {
  ClientHarness h;

  explicit PlayTable(int wildTile = -1, int screenWidth = 1024, int screenHeight = 768) {
    h.p.process.screenWidth = screenWidth;
    h.p.process.screenHeight = screenHeight;
    EXPECT_FALSE(h.Start());
    Client& cl = c();
    ClearHandDisplay(cl);
    ResetTableDisplay(cl);
    ResetTableState(cl);
    for (int r = 0; r <= 3; ++r)
      cl.table.custom(r).SeatBit = static_cast<std::uint8_t>(kSeatBit[r]);
    cl.table.WildTile = static_cast<short>(wildTile);
    cl.play.TurnTimerAllowed = -1;
    cl.toolbar.ToolbarLock(2) = -1;
    cl.table.WallHead = 0;
    cl.table.WallTail = 118;
    for (int i = 0; i <= 119; ++i)
      SetTileSprite(cl, static_cast<short>(i), static_cast<short>(8 + 36 * (i / 30)));
    TakeSent();
  }

  Client& c() { return h.c(); }
  SeatRecord& seat(int rel) { return c().table.custom(rel); }
  ui::Image& sprite(int s) { return c().mainForm.MJ_Image(s); }

  void Feed(int type, int rel, std::array<int, 4> values = {}) {
    auto ended = Deliver(
        h, ClientHarness::ServerRecord(type, kSeatBit[static_cast<std::size_t>(rel)], values));
    ASSERT_FALSE(ended) << ended->reason;
  }
  void Draw(int rel, int tile = 0) { Feed(5, rel, {0, 0, 0, tile}); }
  void Discard(int rel, int tile, int v0 = 0) { Feed(2, rel, {v0, 0, 0, tile}); }
  void Offer(int flags) { Feed(6, 0, {flags, 0, 0, 0}); }
  void Result(int rel, int op, int t1, int t2, int t3) { Feed(7, rel, {op, t1, t2, t3}); }

  // Deals 13 tiles to every seat (the local hand given) and the dealer's fourteenth.
  void Deal(const std::vector<int>& local, int dealerRel = 0) {
    ASSERT_EQ(local.size(), dealerRel == 0 ? 14u : 13u);
    const int order[4] = {dealerRel, (dealerRel + 3) % 4, (dealerRel + 2) % 4, (dealerRel + 1) % 4};
    seat(dealerRel).IsDealer = -1;
    std::size_t next = 0;
    for (int round = 0; round < 3; ++round) {
      for (int rel : order) {
        std::array<int, 4> v{};
        if (rel == 0) {
          for (auto& x : v) x = local[next++];
        }
        Feed(1, rel, v);
      }
    }
    for (int rel : order) Draw(rel, rel == 0 ? local[next++] : 0);
    Draw(dealerRel, dealerRel == 0 ? local[next++] : 0);
  }

  // The records queued for the server since the last call.
  std::vector<protocol::Record> TakeSent() {
    auto out = Queued(c());
    c().send.SendRead = c().send.SendWrite;
    return out;
  }

  // The local concealed values in order.
  std::vector<int> LocalHand() {
    std::vector<int> out;
    const auto& me = seat(0);
    for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) out.push_back(me.mj(k).value);
    return out;
  }
  // The sprite of the first local concealed tile with this value.
  int LocalSprite(int code) {
    const auto& me = seat(0);
    for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
      if (me.mj(k).value == code) return me.mj(k).Sprite;
    }
    ADD_FAILURE() << "no local tile " << code;
    return 0;
  }
};

inline int Op(const protocol::Record& r) {
  return protocol::ReadWord(r, protocol::off::kValues);
}
inline int Code(const protocol::Record& r) {
  return r[protocol::off::kType];
}

// Seat records and sprites agree: runs inside mj, no sprite in two places, the local hand's
// pictures show its values, no hand tile left in the middle of the table.
inline void ExpectConsistent(Client& c, const std::string& where) {
  SCOPED_TRACE(where);
  std::multiset<int> used;
  for (int rel = 0; rel <= 3; ++rel) {
    const SeatRecord& s = c.table.custom(rel);
    ASSERT_GE(s.HandCount, 0);
    ASSERT_LE(s.HandStart + s.HandCount, 21);
    // Completed sets lie below MeldEnd - 2; the slots from there up wait for the next set.
    const int firstSet = rel == 0 ? 1 : 2;
    EXPECT_LE(s.MeldEnd - 3, s.HandStart - 1) << "rel " << rel;
    for (int k = firstSet; k <= s.MeldEnd - 3; ++k) {
      if (s.mj(k).Sprite >= 0) used.insert(s.mj(k).Sprite);
    }
    for (int k = s.HandStart; k < s.HandStart + s.HandCount; ++k) {
      const int sp = s.mj(k).Sprite;
      ASSERT_GE(sp, 0) << "rel " << rel << " k " << k;
      ASSERT_LE(sp, 119);
      used.insert(sp);
      EXPECT_TRUE(c.mainForm.MJ_Image(sp).Visible) << "rel " << rel << " sprite " << sp;
      if (rel == 0) {
        const int want = 201 + TilePictureIndex(4, s.mj(k).value);
        // A complete hand may stand face down for a moment; otherwise every face shows.
        EXPECT_EQ(c.mainForm.MJ_Image(sp).picture.id, want) << "local k " << k;
      }
    }
  }
  for (int sp : used) EXPECT_EQ(used.count(sp), 1u) << "sprite " << sp << " in two places";
  const int last = c.table.LastDiscardSprite;
  if (last >= 0) {
    for (int rel = 0; rel <= 3; ++rel) {
      const SeatRecord& s = c.table.custom(rel);
      for (int k = s.HandStart; k < s.HandStart + s.HandCount; ++k) {
        EXPECT_NE(s.mj(k).Sprite, last) << "the last discard is still in hand " << rel;
      }
    }
  }
}

}  // namespace tallow::testing
