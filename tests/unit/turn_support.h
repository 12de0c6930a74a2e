// A started client sitting at seat bit 4 with a local hand, operation offers delivered as the
// server sends them, and the records it sends read back as (code, operation or tile) pairs.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "seating_support.h"

namespace tallow::testing::turns {

struct SentMessage {
  int code;
  int value0;
  int value3;
  bool operator==(const SentMessage&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const SentMessage& m) {
  return os << "{code " << m.code << ", " << m.value0 << ", " << m.value3 << "}";
}

inline SentMessage Pass() {
  return {7, 1, 0};
}
inline SentMessage Win() {
  return {7, 128, 0};
}
inline SentMessage Discard(int tile) {
  return {2, 0, protocol::DiscardTile(tile)};
}

struct TurnTable {
  static constexpr int kSeatBit = 4;

  TurnTable() {
    h.StartAndLogIn();
    Client& cl = c();
    cl.table.custom(0).SeatBit = kSeatBit;
    cl.play.TurnTimerAllowed = -1;
    cl.table.TurnSeconds = 8;
    auto& me = cl.table.custom(0);
    me.HandX = 100;
    me.HandY = 600;
    h.p.socket.sent.clear();
    h.p.sound.played.clear();
  }

  Client& c() { return h.c(); }
  Client* operator->() { return &h.c(); }

  // Puts the tiles into the local concealed run from mj(4), on sprites 40, 41, ...
  void SetHand(const std::vector<int>& tiles) {
    auto& me = c().table.custom(0);
    me.HandStart = 4;
    me.HandCount = static_cast<short>(tiles.size());
    for (std::size_t i = 0; i < tiles.size(); ++i) {
      auto& e = me.mj(4 + static_cast<int>(i));
      e.value = static_cast<short>(tiles[i]);
      e.typ = 1;
      e.Sprite = static_cast<short>(40 + i);
    }
  }

  // The server offers the local player the operations in `flags`.
  void Offer(int flags) { Deliver(h, ClientHarness::ServerRecord(6, kSeatBit, {flags, 0, 0, 0})); }

  // Every record the client has sent or still holds queued, after the send slot had its turn.
  std::vector<SentMessage> Sent() {
    std::vector<SentMessage> out;
    auto add = [&](const protocol::Record& r) {
      const auto hd = protocol::ReadWord(r, 2);
      if (hd != 2 && hd != 7) return;
      out.push_back({hd, protocol::ReadWord(r, 8), protocol::ReadWord(r, 14)});
    };
    for (const auto& r : h.p.socket.SentRecords()) add(r);
    for (const auto& r : Queued(c())) add(r);
    return out;
  }

  // Runs whole seconds of the tick.
  void Seconds(int n) { h.Ticks(20 * n); }

  ClientHarness h;
};

}  // namespace tallow::testing::turns
