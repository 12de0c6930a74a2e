// One turn message handled by the playing client: a draw, a discard, an operation result.
// Every iteration starts from the same table (restored outside the timing); the blocking
// waits of the handlers pass in virtual time and cost nothing here.
#include <benchmark/benchmark.h>

#include <chrono>

#include "base/pictures.h"
#include "doubles/client_harness.h"
#include "hand/table_reset.h"
#include "session/framing.h"
#include "session/receive.h"

namespace tallow::testing {
namespace {

constexpr std::array<int, 4> kSeatBit = {1, 8, 4, 2};

void Feed(ClientHarness& h, int type, int rel, std::array<int, 4> v) {
  AppendReceived(h.c(),
                 ClientHarness::ServerRecord(type, kSeatBit[static_cast<std::size_t>(rel)], v));
  ExtractMessage(h.c());
  DispatchMessage(h.c());
}

// A dealt table: the local dealer holds 14 tiles, the others 13.
void DealtTable(ClientHarness& h) {
  h.Start();
  Client& c = h.c();
  ClearHandDisplay(c);
  ResetTableDisplay(c);
  ResetTableState(c);
  for (int r = 0; r <= 3; ++r) c.table.custom(r).SeatBit = static_cast<std::uint8_t>(kSeatBit[r]);
  c.play.TurnTimerAllowed = -1;
  c.table.WallHead = 0;
  c.table.WallTail = 118;
  c.table.custom(0).IsDealer = -1;
  const int local[14] = {0x81, 0x82, 0x83, 0x41, 0x41, 0x44, 0x45,
                         0x46, 0x23, 0x24, 0x11, 0x11, 0x17, 0x29};
  int next = 0;
  for (int round = 0; round < 3; ++round) {
    for (int rel : {0, 3, 2, 1}) {
      std::array<int, 4> v{};
      if (rel == 0) {
        for (auto& x : v) x = local[next++];
      }
      Feed(h, 1, rel, v);
    }
  }
  for (int rel : {0, 3, 2, 1}) Feed(h, 5, rel, {0, 0, 0, rel == 0 ? local[next++] : 0});
  Feed(h, 5, 0, {0, 0, 0, local[next++]});
  // Seat 3 has thrown a tile that lies in the middle of the table.
  Feed(h, 2, 3, {0, 0, 0, 0x29});
}

// Handles one record per iteration from the table `prepare` leaves, restored every time.
template <class Prepare>
void RunTurn(benchmark::State& state, Prepare prepare, protocol::Record rec) {
  ClientHarness h;
  DealtTable(h);
  prepare(h);
  const TableState table = h.c().table;
  const HandState hand = h.c().hand;
  for (auto _ : state) {
    state.PauseTiming();
    h.c().table = table;
    h.c().hand = hand;
    h.c().send.SendRead = h.c().send.SendWrite;
    state.ResumeTiming();
    AppendReceived(h.c(), rec);
    ExtractMessage(h.c());
    DispatchMessage(h.c());
  }
}

void BM_TurnDrawByAnotherSeat(benchmark::State& state) {
  RunTurn(
      state, [](ClientHarness&) {}, ClientHarness::ServerRecord(5, kSeatBit[2], {0, 0, 0, 0}));
}
BENCHMARK(BM_TurnDrawByAnotherSeat);

void BM_TurnLocalDraw(benchmark::State& state) {
  // The local hand holds 13 tiles: the draw completes it, shows it face down and sorts it.
  RunTurn(
      state,
      [](ClientHarness& h) {
        Feed(h, 5, 2, {});
        Feed(h, 2, 2, {0, 0, 0, 0x31});
        h.c().table.custom(0).HandCount = 13;
      },
      ClientHarness::ServerRecord(5, kSeatBit[0], {0, 0, 0, 0x42}));
}
BENCHMARK(BM_TurnLocalDraw);

void BM_TurnDiscard(benchmark::State& state) {
  RunTurn(
      state, [](ClientHarness& h) { Feed(h, 5, 2, {}); },
      ClientHarness::ServerRecord(2, kSeatBit[2], {0, 0, 0, 0x37}));
}
BENCHMARK(BM_TurnDiscard);

void BM_TurnPungResult(benchmark::State& state) {
  RunTurn(
      state, [](ClientHarness&) {},
      ClientHarness::ServerRecord(7, kSeatBit[2], {8, 0x29, 0x29, 0x29}));
}
BENCHMARK(BM_TurnPungResult);

// A sound device that notes when a voice starts.
struct VoiceClock : platform::ISound {
  bool Open() override { return true; }
  bool Play(const std::string& path, bool /*loop*/) override {
    if (path.find("/mj/") != std::string::npos) voiceAt = std::chrono::steady_clock::now();
    return true;
  }
  void Stop() override {}
  void SetVolume(int /*volume*/) override {}
  std::chrono::steady_clock::time_point voiceAt;
};

// From the moment a discard's record arrives to the call that starts the discarder's voice
// naming the tile. The client's own 50 ms pause before the voice passes in virtual time here.
void BM_DiscardToItsVoice(benchmark::State& state) {
  ClientHarness h;
  VoiceClock sound;
  h.client = std::make_unique<Client>(
      platform::Platform{h.p.clock, h.p.socket, sound, h.p.hall, h.p.dialogs, h.p.resources,
                         h.p.process, h.p.files},
      kPlayerLine);
  DealtTable(h);
  Feed(h, 5, 2, {});
  const TableState table = h.c().table;
  const HandState hand = h.c().hand;
  const auto rec = ClientHarness::ServerRecord(2, kSeatBit[2], {0, 0, 0, 0x37});
  for (auto _ : state) {
    h.c().table = table;
    h.c().hand = hand;
    h.c().send.SendRead = h.c().send.SendWrite;
    sound.voiceAt = {};
    const auto received = std::chrono::steady_clock::now();
    AppendReceived(h.c(), rec);
    ExtractMessage(h.c());
    DispatchMessage(h.c());
    if (sound.voiceAt == std::chrono::steady_clock::time_point{}) {
      state.SkipWithError("no voice was played");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(sound.voiceAt - received).count());
  }
}
BENCHMARK(BM_DiscardToItsVoice)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallow::testing
