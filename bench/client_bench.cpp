// Hot paths of the client's transport: framing and dispatch, queuing, an idle tick.
#include <benchmark/benchmark.h>

#include "doubles/client_harness.h"
#include "session/framing.h"
#include "session/outgoing.h"
#include "session/receive.h"
#include "session/scheduler.h"

namespace tallow::testing {
namespace {

void BM_ExtractAndDispatch(benchmark::State& state) {
  ClientHarness h;
  h.StartAndLogIn();
  auto rec = ClientHarness::ServerRecord(10, 1, {1, 2, 3, 4}, 0x1234);
  for (auto _ : state) {
    AppendReceived(h.c(), rec);
    ExtractMessage(h.c());
    DispatchMessage(h.c());
  }
}
BENCHMARK(BM_ExtractAndDispatch);

void BM_ExtractAndDispatchOnly(benchmark::State& state) {
  ClientHarness h;
  h.StartAndLogIn();
  auto rec = ClientHarness::ServerRecord(14, 1, {1, 2, 3, 4}, 0x1234);
  std::vector<std::uint8_t> many;
  for (int i = 0; i < 100; ++i) many.insert(many.end(), rec.begin(), rec.end());
  for (auto _ : state) {
    state.PauseTiming();
    AppendReceived(h.c(), many);
    state.ResumeTiming();
    for (int i = 0; i < 100; ++i) {
      ExtractMessage(h.c());
      DispatchMessage(h.c());
    }
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_ExtractAndDispatchOnly);

void BM_QueueMessage(benchmark::State& state) {
  ClientHarness h;
  h.StartAndLogIn();
  protocol::Header hd;
  hd.Code = 2;
  hd.Value[3] = protocol::DiscardTile(0x23);
  for (auto _ : state) {
    QueueMessage(h.c(), hd);
    h.c().send.SendRead = h.c().send.SendWrite;  // keep the ring from filling
  }
}
BENCHMARK(BM_QueueMessage);

void BM_IdleTick(benchmark::State& state) {
  ClientHarness h;
  h.Start();
  h.c().scheduler.Clear();
  for (auto _ : state) TimerBongTick(h.c());
}
BENCHMARK(BM_IdleTick);

}  // namespace
}  // namespace tallow::testing

BENCHMARK_MAIN();
