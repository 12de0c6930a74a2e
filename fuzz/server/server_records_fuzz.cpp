// Records of every type a client sends, each field from its declared range or outside it,
// from the four seats and a stranger in any order, with time, dropped and new connections
// and seating commands, into a core with a hand in play (server_input.h describes the
// input). Afterwards the table must still play a hand to its end whenever it has one.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/byte_stream.h"
#include "common/fuzz_meter.h"
#include "common/table_records.h"
#include "server_input.h"
#include "testing/table_driver.h"

namespace tallow::fuzz {
namespace {

using server::testing::TableDriver;
namespace in = server_input;

// What the table knows that the fields may draw on: the seat's own tiles and the tokens.
LiveValues LiveFor(TableDriver& d, int conn) {
  LiveValues live;
  if (const auto* hand = d.core().HandAt(0); hand != nullptr && conn >= 1 && conn <= 4) {
    for (auto t : hand->seat(conn - 1).concealed) live.heldTiles.push_back(t);
  }
  for (int seat = 0; seat < 4; ++seat) {
    live.tokens.push_back(d.core().TokenOf(TableDriver::Account(seat)));
  }
  return live;
}

const char* const kCommands[] = {
    "seat p0 0 0",   "seat p4 0 1",    "seat p1 1 2",     "watch p4 p0",   "robot 0 3",
    "robot 0 1 off", "unseat p2",      "hands 0",         "tables",        "seat p0 0 9",
    "robot 0 -1",    "seat  0 0",      "watch p0 p0",     "unseat nobody", "userid p1",
    "notice 0 x",    "say 0 \xB0\xA1", "seat p5 70000 0", "hands -1",      "help",
};

}  // namespace
}  // namespace tallow::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tallow::fuzz;
  tallow::server::Config config;
  config.actLimitMs = 2000;
  config.keepSeatMs = 60000;
  TableDriver d(size, config);
  d.KeepRecords(false);
  d.LoginAll();
  d.ReadyAll();
  Meter::Input();
  ByteReader input({data, size});
  while (!input.Empty()) {
    const std::uint8_t step = input.Byte();
    switch (in::StepOf(step)) {
      case in::kRecord: {
        const int conn = 1 + step % 5;
        const LiveValues live = LiveFor(d, conn);
        const auto rec = ReadClientRecord(input, &live);
        if (conn == 5) d.core().Connect(5);
        d.Send(conn, rec);
        Meter::Add(1);
        break;
      }
      case in::kTime:
        d.core().Advance(input.Byte() * 100);
        break;
      case in::kLink: {
        const int conn = 1 + input.Byte() % 6;
        if (step & 0x80) {
          d.core().Disconnect(conn);
        } else {
          d.core().Connect(conn);
        }
        break;
      }
      case in::kCommand:
        d.core().Command(kCommands[input.Byte() % std::size(kCommands)]);
        break;
    }
  }
  d.PlayHand(200);
  return 0;
}
