// A whole table in one process: the game server's core and four clients on the test doubles,
// all on one virtual clock. Every record the server sends a client carries a snapshot of the
// server's view for that seat, so a test can compare each client's view with the server's
// right after the client has handled that very record.
#pragma once

#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/server.h"
#include "doubles/fakes.h"
#include "session/client.h"

namespace tallow::testing {

// What the server knew about one seat when it sent a record.
struct SeatView {
  int type = 0;                         // the record's message type
  bool inHand = false;                  // a hand was in play
  std::vector<std::uint8_t> concealed;  // the seat's concealed tiles, sorted
  int headDrawn = 0, tailDrawn = 0;
  int wallStart = 0;           // the client's sprite of wall position 0
  std::array<int, 4> value{};  // the record's Value(0..3)
  std::string detail;          // the record's seat and values, for messages
};

class TableHarness {
 public:
  struct Seat {
    explicit Seat(VirtualClock& clock) : socket(clock) {}
    MemorySocket socket;
    RecordingSound sound;
    FakeHall hall;
    InstantDialogs dialogs;
    FakeResources resources;
    FakeProcess process;
    std::unique_ptr<Client> client;
    std::string account;
    int conn = -1;
    int connects = 0;
    std::deque<SeatView> pending;  // snapshots of records sent, not yet handled
    std::uint64_t handled = 0;     // records handled
    std::optional<ProcessEnded> ended;
  };

  // Four seats at table 0; robot seats count as ready for the first hand.
  explicit TableHarness(std::uint64_t seed, bool robots = true, server::Config config = {});
  ~TableHarness();

  // Starts the four clients (each with its own application directory); robot clients play
  // every turn themselves.
  void StartAll(bool robotClients = false);
  // Runs virtual time in steps of `stepMs`, checking every client after every message it
  // handles; stops early when `done` holds. Returns whether it held.
  bool Run(std::int64_t ms, const std::function<bool()>& done = nullptr, int stepMs = 5);

  // Called for every message a client has just handled, with the server's view at sending.
  std::function<void(int seat, const SeatView&, Client&)> check;

  server::Server core;
  VirtualClock clock;
  std::array<std::unique_ptr<Seat>, 4> seats;
  std::vector<std::string> failures;  // what the checks found

 private:
  void Wire(int i);
  void Handled(int seat);  // a client has just handled the next record sent to it
  SeatView ViewOf(int seat, const protocol::Record& rec) const;
  std::filesystem::path dir_;
  std::unique_ptr<platform::ITimer> serverClock_;
};

// The local seat's concealed tiles as the client shows them, sorted.
std::vector<std::uint8_t> ClientConcealed(const Client& c);

}  // namespace tallow::testing
