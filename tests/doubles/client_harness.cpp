#include "doubles/client_harness.h"

#include "session/startup.h"

namespace tallow::testing {

std::optional<ProcessEnded> ClientHarness::Start() {
  try {
    FormLoad(c());
  } catch (const ProcessEnded& e) {
    return e;
  }
  return std::nullopt;
}

void ClientHarness::StartAndLogIn() {
  Start();
  Run(250);
}

protocol::Record ClientHarness::ServerRecord(int type, int seatMask, std::array<int, 4> values,
                                             std::uint16_t token) {
  protocol::Record r{};
  r[protocol::off::kType] = static_cast<std::uint8_t>(type);
  r[protocol::off::kSeatMask] = static_cast<std::uint8_t>(seatMask);
  for (std::size_t i = 0; i < 4; ++i) {
    protocol::WriteWord(r, protocol::off::kValues + 2 * i, static_cast<std::int16_t>(values[i]));
  }
  protocol::SetToken(r, token);
  return r;
}

std::optional<ProcessEnded> ClientHarness::Run(std::int64_t ms) {
  try {
    p.clock.Advance(ms);
  } catch (const ProcessEnded& e) {
    return e;
  }
  return std::nullopt;
}

}  // namespace tallow::testing
