// A whole table in one process: the game server's core and four clients on the test doubles,
// all on one virtual clock. Every record the server sends a client carries a snapshot of the
// server's view for that seat, so a test can compare each client's view with the server's
// right after the client has handled that very record.
#pragma once

#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/server.h"
#include "doubles/fakes.h"
#include "session/client.h"

namespace tallow::testing {

// What the server holds for one seat (absolute index) of the hand in play.
struct ServerSeat {
  int concealedCount = 0;           // concealed tiles, as the clients count them
  std::vector<server::Meld> melds;  // sets and one-tile kongs, in the order they were laid down
};

// What the server knew about one seat when it sent a record.
struct SeatView {
  int type = 0;                         // the record's message type
  int viewer = 0;                       // the absolute seat the record went to
  int hand = 0;                         // hands started at the table, this one included
  bool inHand = false;                  // a hand was in play
  std::vector<std::uint8_t> concealed;  // the seat's concealed tiles, sorted
  int headDrawn = 0, tailDrawn = 0;
  int wallStart = 0;           // the client's sprite of wall position 0
  int mask = 0;                // the record's seat byte
  std::array<int, 4> value{};  // the record's Value(0..3)
  std::string detail;          // the record's seat and values, for messages
  std::int64_t handledMs = 0;  // virtual time at which the client handled the record
  std::uint64_t serial = 0;    // records sent by the server so far, this one included
  // A spectator's record: the serial of the watched seat's record after which the watched
  // player's view must agree with the spectator's (the watched seat's copy of the same record,
  // or, for the spectator's restore, the last record the seat had been sent), and whether the
  // record belongs to the restore (table cleared, profiles, snapshots, the waiting discard).
  std::uint64_t twin = 0;
  bool restore = false;
  // The whole hand as the server had it (valid while inHand).
  int dealer = -1;
  std::array<ServerSeat, 4> seats{};
  std::array<bool, server::kWallSize> taken{};  // wall positions (from the break) drawn
  int nextHead = -1, nextTail = -1;  // wall positions of the next head and tail draws, -1 none
  int remaining = 0;                 // tiles still in the wall
};

class TableHarness {
 public:
  struct Seat {
    explicit Seat(VirtualClock& clock) : clock(clock), socket(clock) {}
    platform::Platform Services() {
      return {clock, socket, sound, hall, dialogs, resources, process, files};
    }
    VirtualClock& clock;
    MemorySocket socket;
    RecordingSound sound;
    FakeHall hall;
    InstantDialogs dialogs;
    FakeResources resources;
    FakeProcess process;
    platform::LocalFiles files;
    std::unique_ptr<Client> client;
    std::string account;
    int conn = -1;
    int connects = 0;
    std::deque<SeatView> pending;  // snapshots of records sent, not yet handled
    std::uint64_t handled = 0;     // records handled
    // The server plays the seat on a live connection: from its login or accepted relogin until
    // the connection closes. A spectator's record has the watched seat's copy only then.
    bool attached = false;
    std::optional<ProcessEnded> ended;
  };

  // Four seats at table 0; robot seats count as ready for the first hand.
  explicit TableHarness(std::uint64_t seed, bool robots = true, server::Config config = {});
  ~TableHarness();

  // Starts the four clients (each with its own application directory); robot clients play
  // every turn themselves.
  void StartAll(bool robotClients = false);
  void StartAll(const std::array<bool, 4>& robotClients);
  // Runs virtual time in steps of `stepMs`, checking every client after every message it
  // handles; stops early when `done` holds. Returns whether it held.
  bool Run(std::int64_t ms, const std::function<bool()>& done = nullptr, int stepMs = 5);

  // A fifth client: a spectator of seat `watchedSeat` (account "watcher<n>") logs in now.
  void StartSpectator(int watchedSeat);
  // Closes the spectator's connection and ends its client.
  void StopSpectator();

  // Called for every message a client has just handled, with the server's view at sending.
  std::function<void(int seat, const SeatView&, Client&)> check;
  // The same for the spectator; its views are those of the watched seat.
  std::function<void(const SeatView&, Client&)> spectatorCheck;
  // Called for every record the server sends a seat, as it is sent.
  std::function<void(int seat, const protocol::Record&)> onSend;
  // Called after every step of virtual time, outside the clients' ticks (where a player's
  // clicks belong).
  std::function<void()> onStep;

  server::Server core;
  VirtualClock clock;
  std::array<std::unique_ptr<Seat>, 4> seats;
  std::unique_ptr<Seat> spectator;  // while one watches
  int watched = -1;                 // the seat it watches
  int spectatorsStarted = 0;
  std::uint64_t sent = 0;                     // records sent so far
  std::array<std::uint64_t, 4> lastSentTo{};  // serial of the last record per seat
  std::vector<std::string> failures;          // what the checks found
  // Offers a seat left unanswered for 20 s in a hand in play (the server then acts for it): the
  // seat did not answer, or the server refused its answer.
  std::vector<std::string> silences;
  std::array<int, 4> silent{};      // such offers per seat
  std::map<int, int> silentOffers;  // and by the offer's bits

 private:
  void Wire(Seat& s, int id);
  void Handled(Seat& s, int seat);  // a client has just handled the next record sent to it
  std::vector<std::unique_ptr<Seat>>
      retired_;  // the last spectator gone; its socket may have events
  void NoteSilence();
  SeatView ViewOf(int seat, const protocol::Record& rec);
  std::filesystem::path dir_;
  const server::Hand* lastHand_ = nullptr;
  int handsStarted_ = 0;
  std::int64_t lastSendMs_ = 0;
  int lastTurnType_ = 0;
  bool silenceNoted_ = false;  // type of the last deal, draw, discard or operation result sent
  std::unique_ptr<platform::ITimer> serverClock_;
};

// A count of hands from an environment variable (to run fewer under the sanitizers), or the
// fallback.
int HandsFromEnvironment(const char* name, int fallback);

// The local seat's concealed tiles as the client shows them, sorted.
std::vector<std::uint8_t> ClientConcealed(const Client& c);

}  // namespace tallow::testing
