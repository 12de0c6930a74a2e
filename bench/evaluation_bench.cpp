// Hand evaluation on a 14-tile hand: one suit evaluation (with and without the table rebuild
// that precedes every evaluation) and the whole discard choice.
#include <benchmark/benchmark.h>

#include <vector>

#include "doubles/client_harness.h"
#include "table/hand_evaluation.h"

namespace tallow::testing {
namespace {

// Dots 1 2 3 4 5 5 7 9, characters 2 3 4 6, bamboo 8, east: sorted as the hand is kept.
const std::vector<int> kHand = {0x81, 0x82, 0x83, 0x84, 0x85, 0x85, 0x87,
                                0x89, 0x42, 0x43, 0x44, 0x46, 0x28, 0x11};

void SetHand(Client& c) {
  auto& me = c.table.custom(0);
  me.HandStart = 4;
  me.HandCount = static_cast<short>(kHand.size());
  for (std::size_t i = 0; i < kHand.size(); ++i) {
    me.mj(4 + static_cast<int>(i)).value = static_cast<short>(kHand[i]);
  }
  c.table.SeenCount(3)(5) = 2;
}

void BM_CountHand(benchmark::State& state) {
  ClientHarness h;
  SetHand(h.c());
  for (auto _ : state) {
    CountHand(h.c());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CountHand);

// EvaluateSuit alone: the counted tables are restored by a plain copy before each call.
void BM_EvaluateSuit(benchmark::State& state) {
  ClientHarness h;
  Client& c = h.c();
  SetHand(c);
  CountHand(c);
  const HandEvaluation counted = c.evaluation;
  const int suit = static_cast<int>(state.range(0));
  for (auto _ : state) {
    c.evaluation = counted;
    benchmark::DoNotOptimize(EvaluateSuit(c, 0, suit));
  }
}
BENCHMARK(BM_EvaluateSuit)->Arg(0x81)->Arg(0x41)->Arg(0x11);

void BM_CopyTables(benchmark::State& state) {
  ClientHarness h;
  Client& c = h.c();
  SetHand(c);
  CountHand(c);
  const HandEvaluation counted = c.evaluation;
  for (auto _ : state) {
    c.evaluation = counted;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyTables);

void BM_ChooseDiscard14(benchmark::State& state) {
  ClientHarness h;
  SetHand(h.c());
  for (auto _ : state) benchmark::DoNotOptimize(ChooseDiscard(h.c()));
}
BENCHMARK(BM_ChooseDiscard14);

}  // namespace
}  // namespace tallow::testing

BENCHMARK_MAIN();
