#include "session/receive.h"

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
    for (std::uint8_t b : bytes) {
      r.ReceiveRing(r.ReceiveWrite) = b;
      r.ReceiveWrite = (r.ReceiveWrite + 1) % kRingSize;
      if (r.ReceiveWrite == r.ReceiveRead) {
        ShowHall(c);
        c.End("receive ring overflow", 1);
      }
    }
    c.scheduler.Enable(TickScheduler::kReceive);
  } else {
    for (std::uint8_t b : bytes) {
      r.ProxyRing(r.ProxyWrite) = b;
      r.ProxyWrite = (r.ProxyWrite + 1) % kProxyRingSize;
      if (r.ProxyWrite == r.ProxyRead) {
        ShowHall(c);
        c.End("proxy ring overflow", 1);
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
