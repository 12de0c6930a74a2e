// Restored tables painted: a spectator joining a hand in play (the table cleared, the four
// snapshots handled and the restored table painted, as the watcher first sees it; goal: under
// 20 ms), and a player coming back after a lost link.
#include <benchmark/benchmark.h>

#include <QImage>
#include <vector>

#include "doubles/client_harness.h"
#include "platform/qt/form_painter.h"
#include "session/framing.h"
#include "session/receive.h"

namespace tallow::testing {
namespace {

constexpr int kSeatBit[] = {2, 1, 8, 4};  // by position seen from the watched seat (bit 2)

void Feed(Client& c, const protocol::Record& r) {
  AppendReceived(c, r);
  ExtractMessage(c);
  DispatchMessage(c);
}

// 83 tiles out of the wall (80 from the head, 3 replacement tiles): sets, lone kongs, hands and
// 28 pooled discards.
protocol::Record Snapshot(int rel, int pool, const std::vector<int>& laid, int concealed,
                          int firstTile) {
  auto r = ClientHarness::ServerRecord(40, kSeatBit[rel], {0, 80, 0, 2});
  r[protocol::off::kExtra] = static_cast<std::uint8_t>(pool);
  std::size_t at = 16;
  for (int t : laid) {
    r[at++] = 0x20;
    r[at++] = static_cast<std::uint8_t>(t);
  }
  for (int k = 0; k < concealed; ++k) {
    r[at++] = 0x10;
    r[at++] = static_cast<std::uint8_t>(firstTile == 0 ? 0 : firstTile + k % 9);
  }
  return r;
}

void BM_SpectatorRestoreAndPaint(benchmark::State& state) {
  ClientHarness h("fan$pw$127.0.0.1$6000$Room$4242");
  h.StartAndLogIn();
  Client& c = h.c();
  const protocol::Record cleared = ClientHarness::ServerRecord(41, 1, {7, 5, 0x49, 0x48});
  Feed(c, cleared);
  for (int q = 0; q <= 3; ++q) {
    auto p = ClientHarness::ServerRecord(20, kSeatBit[q]);
    const std::uint64_t id = q == 0 ? 4242 : static_cast<std::uint64_t>(q);
    for (int k = 0; k < 8; ++k) p[226 + static_cast<std::size_t>(k)] = (id >> (8 * k)) & 0xFF;
    p[48] = 'm';
    p[49] = '1';
    p[168] = static_cast<std::uint8_t>('a' + q);
    Feed(c, p);
  }
  const protocol::Record snaps[] = {
      Snapshot(0, 6, {0x42, 0x42, 0x42, 0x15}, 10, 0x21),
      Snapshot(1, 7, {0x81, 0x82, 0x83, 0x23, 0x23, 0x23, 0x23}, 7, 0),
      Snapshot(2, 8, {0x24, 0x24, 0x24, 0x15, 0x16, 0x17}, 7, 0),
      Snapshot(3, 7, {0x49}, 13, 0),
  };
  for (auto _ : state) {
    Feed(c, cleared);
    for (const auto& s : snaps) Feed(c, s);
    QImage image = platform::qt::RenderToImage(c.mainForm);
    benchmark::DoNotOptimize(image.constBits());
  }
  if (c.spectator.TableRestored == 0) state.SkipWithError("the table was not restored");
}
BENCHMARK(BM_SpectatorRestoreAndPaint)->Unit(benchmark::kMillisecond);

// A seated player whose link broke in the middle of a hand: from the moment the link stands
// again, the relogin, the server's answer (29), the cleared table and the four snapshots, one
// record a tick, and the restored table painted. The server answers at once; the counter
// link_back_to_table_ms is the virtual time the client's ticks take from the link's return to
// the restored table.
void BM_ReturningPlayerRestoreAndPaint(benchmark::State& state) {
  ClientHarness h;
  h.StartAndLogIn();
  Client& c = h.c();
  for (int q = 0; q <= 3; ++q) c.table.custom(q).SeatBit = static_cast<std::uint8_t>(kSeatBit[q]);
  c.session.TableActive = -1;
  const protocol::Record answer[] = {
      ClientHarness::ServerRecord(29, 0, {0, 0, 0, 1}),
      ClientHarness::ServerRecord(41, 1, {7, 5, 0x49, 0x48}),
      Snapshot(0, 6, {0x42, 0x42, 0x42, 0x15}, 10, 0x21),
      Snapshot(1, 7, {0x81, 0x82, 0x83, 0x23, 0x23, 0x23, 0x23}, 7, 0),
      Snapshot(2, 8, {0x24, 0x24, 0x24, 0x15, 0x16, 0x17}, 7, 0),
      Snapshot(3, 7, {0x49}, 13, 0),
  };
  auto& sock = h.p.socket;
  auto& clock = h.p.clock;
  sock.onSend = [&](std::span<const std::uint8_t> bytes) {
    if (bytes.size() != protocol::kRecordSize || bytes[protocol::off::kType] != 28) return;
    for (const auto& r : answer) sock.Deliver(r);
  };
  std::int64_t virtualMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    sock.PeerClose();
    clock.RunUntil([&] { return c.reconnect.AwaitingAnswer; }, 1000);
    clock.RunUntil([&] { return sock.State() == platform::ISocket::kConnected; }, 10'000);
    state.ResumeTiming();
    const std::int64_t back = clock.NowMs();
    clock.RunUntil([&] { return !c.reconnect.AwaitingAnswer && c.spectator.TableRestored != 0; },
                   5000);
    virtualMs += clock.NowMs() - back;
    QImage image = platform::qt::RenderToImage(c.mainForm);
    benchmark::DoNotOptimize(image.constBits());
  }
  if (c.spectator.TableRestored == 0) state.SkipWithError("the table was not restored");
  state.counters["link_back_to_table_ms"] =
      benchmark::Counter(static_cast<double>(virtualMs), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ReturningPlayerRestoreAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallow::testing
