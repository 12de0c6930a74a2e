// Hot paths of the server: the winning-hand test with wild tiles, and the core's cost per
// record over whole hands.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/rules.h"
#include "testing/table_driver.h"

namespace tallow::server {
namespace {

// 14-tile hands with 0..4 wild tiles (the wild is 5d), winning and not.
std::vector<std::vector<Tile>> Hands() {
  Rng rng(7);
  std::vector<std::vector<Tile>> out;
  auto full = FullSet();
  for (int i = 0; i < 256; ++i) {
    for (int k = kWallSize - 1; k > 0; --k) {
      std::swap(full[static_cast<std::size_t>(k)],
                full[rng.Below(static_cast<std::uint32_t>(k + 1))]);
    }
    std::vector<Tile> h(full.begin(), full.begin() + 14);
    const int wilds = i % 5;
    for (int w = 0; w < wilds; ++w) h[static_cast<std::size_t>(w)] = 0x85;
    out.push_back(h);
  }
  // A few complete hands so both outcomes are measured.
  out.push_back(
      {0x21, 0x22, 0x23, 0x44, 0x45, 0x46, 0x87, 0x88, 0x89, 0x15, 0x15, 0x15, 0x85, 0x29});
  out.push_back(
      {0x21, 0x85, 0x23, 0x44, 0x45, 0x85, 0x87, 0x88, 0x89, 0x16, 0x16, 0x16, 0x85, 0x29});
  return out;
}

void BM_WinningHandWithWilds(benchmark::State& state) {
  const auto hands = Hands();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(IsWinningHand(hands[i], 0x85));
    if (++i == hands.size()) i = 0;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_WinningHandWithWilds);

// Four scripted players seated once; each iteration plays one hand, from the ready messages
// to the settlement. The counters give the core's average time per record it receives and
// per record it sends.
void BM_CoreWholeHand(benchmark::State& state) {
  Config c;
  c.startCoins = std::int64_t{1} << 40;  // nobody runs out of coins
  testing::TableDriver d(1, c);
  d.LoginAll();
  d.KeepRecords(false);
  std::int64_t hands = 0;
  const int in0 = d.recordsIn();
  const std::int64_t out0 = d.recordsOut();
  for (auto _ : state) {
    d.ReadyAll();
    d.PlayHand();
    ++hands;
  }
  const double in = d.recordsIn() - in0;
  const double out = static_cast<double>(d.recordsOut() - out0);
  state.counters["per_record_in"] =
      benchmark::Counter(in, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["per_record_out"] =
      benchmark::Counter(out, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["in_per_hand"] = benchmark::Counter(in / static_cast<double>(hands));
  state.counters["out_per_hand"] = benchmark::Counter(out / static_cast<double>(hands));
}
BENCHMARK(BM_CoreWholeHand)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallow::server

BENCHMARK_MAIN();
