#include "session/outgoing.h"

#include <algorithm>

#include "protocol/gbk.h"
#include "session/client.h"

namespace tallow {
namespace {

constexpr int kRecord = static_cast<int>(protocol::kRecordSize);
constexpr std::size_t kChatLimit = 100;

// Whether one more record fits without the write index catching up with the read index.
bool RingHasRoom(const SendState& s) {
  return s.Queued() + kRecord < kRingSize;
}

// Copies bytes into a ring at `at`, wrapping at its end; returns the index after them.
template <class Ring>
std::int32_t CopyIn(Ring& ring, std::int32_t at, const std::uint8_t* bytes, std::int32_t n) {
  const std::int32_t first = std::min(n, kRingSize - at);
  std::copy_n(bytes, first, ring.Range(at, first));
  std::copy_n(bytes + first, n - first, ring.Range(0, n - first));
  return (at + n) % kRingSize;
}

void AppendToRing(SendState& s, const protocol::Record& rec) {
  s.SendWrite = CopyIn(s.SendRing, s.SendWrite, rec.data(), kRecord);
}

}  // namespace

bool BuildRecord(Client& c, const protocol::Header& h, protocol::Record& rec) {
  rec.fill(0);
  protocol::EncodeHeader(h, rec);
  if (h.Code == static_cast<int>(protocol::ClientCode::ChatSend)) {
    if (c.send.ChatText.empty()) return false;
    const std::string text = protocol::FirstChars(c.send.ChatText, kChatLimit);
    std::size_t at = protocol::off::kChatText;
    for (auto ch : protocol::Utf8Chars(text)) {
      auto bytes = protocol::CharToGbk(ch);
      if (!bytes) continue;  // a character without a code is skipped
      for (char b : *bytes) {
        if (at >= protocol::off::kToken) break;
        rec[at++] = static_cast<std::uint8_t>(b);
      }
    }
    c.send.ChatText.clear();
  }
  rec[protocol::off::kToken] = c.framing.SessionToken[0];
  rec[protocol::off::kToken + 1] = c.framing.SessionToken[1];
  return true;
}

void QueueMessage(Client& c, const protocol::Header& h) {
  // Between a break and the server's answer to the relogin no move is made: the table the client
  // shows is the one before the break (records still in the ring may even offer a turn), and the
  // server offers again, after the restore, whatever the player still owes. Chat waits.
  if (c.reconnect.AwaitingAnswer && h.Code != static_cast<int>(protocol::ClientCode::ChatSend)) {
    return;
  }
  protocol::Record rec;
  if (!BuildRecord(c, h, rec)) return;
  auto& s = c.send;
  if (s.Overflow.empty() && RingHasRoom(s)) {
    AppendToRing(s, rec);
  } else if (s.Overflow.size() < kMaxOverflowRecords) {
    s.Overflow.push_back(rec);
  }
  c.scheduler.Enable(TickScheduler::kSend);
}

void SendSlot(Client& c) {
  auto& s = c.send;
  if (s.Queued() < kRecord) {
    c.scheduler[TickScheduler::kSend].enabled = false;
    return;
  }
  if (c.platform.socket.State() != platform::ISocket::kConnected) return;
  // Nothing may cut into a proxy negotiation, and nothing leaves before the server has taken
  // the player back after a break.
  if (!c.receive.ProxyNegotiated || c.reconnect.AwaitingAnswer) return;
  protocol::Record rec;
  const std::int32_t first = std::min(kRecord, kRingSize - s.SendRead);
  std::copy_n(s.SendRing.Range(s.SendRead, first), first, rec.begin());
  std::copy_n(s.SendRing.Range(0, kRecord - first), kRecord - first, rec.begin() + first);
  s.SendRead = (s.SendRead + kRecord) % kRingSize;
  c.platform.socket.SendData(rec);
  if (!s.Overflow.empty() && RingHasRoom(s)) {
    AppendToRing(s, s.Overflow.front());
    s.Overflow.pop_front();
  }
}

void KeepAliveTick(Client& c) {
  protocol::Header h;
  h.Code = static_cast<std::int16_t>(protocol::ClientCode::KeepAlive);
  h.SeatMask = c.table.custom(0).SeatBit;
  QueueMessage(c, h);
}

void SendDirect(Client& c, const protocol::Record& rec) {
  c.platform.socket.SendData(rec);
}

}  // namespace tallow
