// Server records of the seating messages, and delivering them to a started client.
#pragma once

#include <optional>
#include <string>

#include "doubles/client_harness.h"
#include "protocol/gbk.h"
#include "session/framing.h"
#include "session/receive.h"

namespace tallow::testing {

// Hands one record to the client exactly as the receive slot does; the reason if it ended.
inline std::optional<ProcessEnded> Deliver(ClientHarness& h, const protocol::Record& r) {
  try {
    AppendReceived(h.c(), r);
    ExtractMessage(h.c());
    DispatchMessage(h.c());
  } catch (const ProcessEnded& e) {
    return e;
  }
  return std::nullopt;
}

inline void PutText(protocol::Record& r, std::size_t at, const std::string& utf8) {
  const std::string gbk = protocol::ToGbk(utf8);
  std::copy(gbk.begin(), gbk.end(), r.begin() + static_cast<long>(at));
}

inline void PutLittleEndian(protocol::Record& r, std::size_t at, std::uint64_t v, int bytes) {
  for (int k = 0; k < bytes; ++k) r[at + static_cast<std::size_t>(k)] = (v >> (8 * k)) & 0xFF;
}

struct ProfileFields {
  int seatMask = 0;
  std::string account{};
  std::string nickname{};
  std::string avatar = "m1";
  std::uint64_t coins = 1000;
  bool ready = false;
  std::uint64_t userId = 0;
  std::string tag = "玩家";
  std::string level = "新手";
};

inline protocol::Record Profile(const ProfileFields& p) {
  auto r = ClientHarness::ServerRecord(20, p.seatMask);
  PutText(r, 16, p.nickname);
  PutText(r, 48, p.avatar);
  r[64] = 1;
  PutText(r, 72, "本地");
  PutLittleEndian(r, 96, p.coins, 8);
  PutText(r, 112, p.level);
  PutText(r, 168, p.account);
  PutText(r, 184, p.tag);
  r[208] = p.ready ? 1 : 0;
  PutText(r, 210, "00");
  PutText(r, 218, "10");
  PutLittleEndian(r, 226, p.userId, 8);
  return r;
}

inline protocol::Record Named(int type, int seatMask, const std::string& name,
                              std::array<int, 4> values = {}) {
  auto r = ClientHarness::ServerRecord(type, seatMask, values);
  PutText(r, 16, name);
  return r;
}

// Records the client queued for the server, oldest first.
inline std::vector<protocol::Record> Queued(Client& c) {
  std::vector<protocol::Record> out;
  for (std::int32_t at = c.send.SendRead; at != c.send.SendWrite; at = (at + 272) % kRingSize) {
    protocol::Record r;
    for (int i = 0; i < 272; ++i)
      r[static_cast<std::size_t>(i)] = c.send.SendRing((at + i) % kRingSize);
    out.push_back(r);
  }
  return out;
}

}  // namespace tallow::testing
