// The hand start (message type 4) on the virtual clock: its sleeps take no time and its waits
// only pump the (empty) event queue, so what is measured is the handler's own work.
#include <benchmark/benchmark.h>

#include "doubles/client_harness.h"
#include "session/framing.h"
#include "session/receive.h"

namespace tallow::testing {
namespace {

void BM_NewHand(benchmark::State& state) {
  ClientHarness h;
  h.StartAndLogIn();
  Client& c = h.c();
  c.TimerBong->SetEnabled(false);
  c.TimerKeepAlive->SetEnabled(false);
  const std::uint8_t bits[] = {4, 2, 1, 8};
  for (int i = 0; i <= 3; ++i) c.table.custom(i).SeatBit = bits[i];
  const auto rec = ClientHarness::ServerRecord(4, 8, {6, 5, 4, 3});
  for (auto _ : state) {
    AppendReceived(c, rec);
    ExtractMessage(c);
    DispatchMessage(c);
    c.session.HandNumber = 0;
  }
  benchmark::DoNotOptimize(c.table.WallHead);
}
BENCHMARK(BM_NewHand)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallow::testing
