#include "session/receive.h"

#include <algorithm>

#include "session/client.h"
#include "session/hall.h"
#include "session/proxy.h"

namespace tallow {

void OnSocketDataArrival(Client& c) {
  auto bytes = c.platform.socket.GetData();
  AppendReceived(c, bytes);
}

void AppendReceived(Client& c, std::span<const std::uint8_t> bytes) {
  auto& r = c.receive;
  if (r.ProxyNegotiated) {
    // The ring holds at most kRingSize - 1 unread bytes; the byte that would fill it is fatal.
    const std::int32_t room = kRingSize - 1 - r.Unread();
    const bool overflow = static_cast<std::size_t>(room) < bytes.size();
    std::size_t n = overflow ? static_cast<std::size_t>(room) + 1 : bytes.size();
    std::size_t done = 0;
    while (done < n) {
      const std::size_t chunk =
          std::min(n - done, static_cast<std::size_t>(kRingSize - r.ReceiveWrite));
      std::copy_n(bytes.data() + done, chunk,
                  r.ReceiveRing.Range(r.ReceiveWrite, static_cast<long>(chunk)));
      r.ReceiveWrite = static_cast<std::int32_t>((r.ReceiveWrite + chunk) % kRingSize);
      done += chunk;
    }
    if (overflow) {
      ShowHallAndEnd(c, "receive ring overflow", 1);
    }
    c.scheduler.Enable(TickScheduler::kReceive);
  } else {
    for (std::uint8_t b : bytes) {
      r.ProxyRing(r.ProxyWrite) = b;
      r.ProxyWrite = (r.ProxyWrite + 1) % kProxyRingSize;
      if (r.ProxyWrite == r.ProxyRead) {
        ShowHallAndEnd(c, "proxy ring overflow", 1);
      }
    }
    ProxyReply(c);
  }
}

void OnSocketClose(Client& c) {
  c.platform.socket.Close();
}

void ResetProxyRing(Client& c) {
  c.receive.ProxyWrite = 0;
  c.receive.ProxyRead = 0;
}

}  // namespace tallow
