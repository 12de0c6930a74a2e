#include "doubles/client_harness.h"

#include "protocol/record_builder.h"
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
  protocol::Record r = protocol::BuildRecord(static_cast<std::uint16_t>(type), seatMask, values);
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
