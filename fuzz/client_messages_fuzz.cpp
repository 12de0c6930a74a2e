// Arbitrary byte streams from the server, in arbitrary chunks, through data arrival,
// extraction and dispatch of a logged-in client. The only acceptable outcome besides going
// on is the documented end of the process.
#include <cstddef>
#include <cstdint>

#include "doubles/client_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tallow::testing;
  ClientHarness h;
  h.StartAndLogIn();
  std::size_t at = 0;
  while (at < size) {
    // The first byte of each piece chooses its length, so chunking is fuzzed too.
    const std::size_t len = std::min<std::size_t>(size - at - 1 + 1, 1 + data[at] * 3);
    const std::size_t from = at + 1;
    const std::size_t n = from >= size ? 0 : std::min(len, size - from);
    if (n > 0) h.p.socket.Deliver(std::span<const std::uint8_t>(data + from, n));
    at = from + n;
    if (h.Run(120)) return 0;  // the client ended as documented
  }
  h.Run(60'000);
  return 0;
}
