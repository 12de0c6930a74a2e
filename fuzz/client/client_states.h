// The moments of a client's life the fuzz target starts from, each reached by a scripted
// prefix of records and clicks on the test doubles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "doubles/client_harness.h"

namespace tallow::fuzz {

enum class ClientState : std::uint8_t {
  LoggedIn,          // the login accepted, nobody seated
  Seated,            // four seat names and profiles: the seat draw ran
  Dealt,             // a hand dealt, its wild tile shown; the local player deals
  OwnTurn,           // ... and is offered a concealed kong on his own turn
  Chooser,           // a chow that can be made three ways offered and 吃 clicked: the chooser
  HandEnd,           // a hand won and settled: the result window and the continue countdown
  WatchingBefore,    // a spectator logged in, before the server restores the table for it
  WatchingAfter,     // a spectator whose table was restored from the snapshots
  Rejoined,          // a player back after a break, his hand restored
  Reconnecting,      // a player whose link broke during a hand
  ProxyNegotiation,  // a player whose connection goes through a SOCKS5 proxy, greeting sent
  Count
};

const char* StateName(ClientState s);
// The command line the state's client starts with.
std::string CommandLineFor(ClientState s);
// Starts the client of `h` (made with CommandLineFor) and plays the prefix of the state;
// the reason if the client ended on the way (a fault of the prefix, not of the input).
std::optional<ProcessEnded> Reach(testing::ClientHarness& h, ClientState s);

}  // namespace tallow::fuzz
