// Feeds arbitrary input to a core with a hand in play. Each step takes one byte to choose an
// action: a record from one of the four players or a stranger, a clock step, a dropped or
// new connection, or a seating command.
#include <cstddef>
#include <cstdint>
#include <string>

#include "testing/table_driver.h"

using tallow::server::Config;
using tallow::server::Record;
using tallow::server::testing::TableDriver;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Config c;
  c.actLimitMs = 2000;
  c.keepSeatMs = 60000;
  TableDriver d(size, c);
  d.KeepRecords(false);
  d.LoginAll();
  d.ReadyAll();
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t action = data[i++];
    switch (action % 8) {
      case 0:
      case 1:
      case 2:
      case 3:
      case 4: {
        Record r{};
        for (std::size_t k = 0; k < r.size() && i < size; ++k) r[k] = data[i++];
        const int conn = 1 + action % 5;  // 5: not a player
        if (conn == 5) d.core().Connect(5);
        d.Send(conn, r);
        break;
      }
      case 5:
        d.core().Advance(i < size ? data[i++] * 500 : 500);
        break;
      case 6: {
        const int conn = 1 + (i < size ? data[i++] % 6 : 0);
        if (action & 0x80) {
          d.core().Disconnect(conn);
        } else {
          d.core().Connect(conn);
        }
        break;
      }
      case 7: {
        std::string line;
        while (i < size && data[i] != '\n' && line.size() < 80)
          line += static_cast<char>(data[i++]);
        ++i;
        d.core().Command(line);
        break;
      }
    }
  }
  d.PlayHand(200);
  return 0;
}
