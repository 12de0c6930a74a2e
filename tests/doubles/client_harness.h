// A client on the test doubles, started with a command line, with helpers to feed it
// server records and run its ticks in virtual time.
#pragma once

#include <memory>
#include <string>

#include "doubles/fakes.h"
#include "protocol/record.h"
#include "session/client.h"

namespace tallow::testing {

inline const char* kPlayerLine = "alice$secret$127.0.0.1$6000$Room One$0$$0$$$0$$$";

struct ClientHarness {
  TestPlatform p;
  std::unique_ptr<Client> client;

  explicit ClientHarness(std::string commandLine = kPlayerLine) {
    client = std::make_unique<Client>(p.Get(), std::move(commandLine));
  }
  Client& c() { return *client; }

  // Runs the start-up; returns the reason if the client ended.
  std::optional<ProcessEnded> Start();
  // Starts and runs until the login record has been sent.
  void StartAndLogIn();
  // A record from the server with the given type, seat bit, values and token.
  static protocol::Record ServerRecord(int type, int seatMask = 0, std::array<int, 4> values = {},
                                       std::uint16_t token = 0);
  // Delivers bytes and runs virtual time; returns the reason if the client ended.
  std::optional<ProcessEnded> Run(std::int64_t ms);
  // Runs exactly n ticks of TimerBong (n × 50 ms).
  std::optional<ProcessEnded> Ticks(int n) { return Run(50LL * n); }
};

}  // namespace tallow::testing
