// The transport-free game server: connections in, records out, virtual time.
//
//   tallow::server::Server core(config, seed);
//   core.Connect(1);
//   core.Receive(1, loginRecord);
//   for (auto& out : core.Drain()) { /* out.conn, out.rec, out.close */ }
//   core.Advance(50);  // milliseconds
//
// Everything the core does happens inside these calls, in order; nothing runs by itself.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <queue>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "core/config.h"
#include "core/hand.h"
#include "core/messages.h"
#include "core/rng.h"

namespace tallow::server {

// One record for a connection, or the order to close it (close true, rec unused). After a
// close the core has forgotten the connection; it need not be reported back.
struct Output {
  int conn = 0;
  Record rec{};
  bool close = false;
};

class Server {
 public:
  Server(Config config, std::uint64_t seed);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Transport events. Connection ids are chosen by the caller and must be unique while open.
  void Connect(int conn);
  void Receive(int conn, const Record& rec);
  void Disconnect(int conn);

  // Moves the clock forward and runs what falls due (silent seats, dropped players).
  void Advance(std::int64_t ms);
  std::int64_t Now() const { return now_; }
  // The earliest moment at which Advance has something to do (a limit may prove to have moved
  // on by then); INT64_MAX when nothing is pending.
  std::int64_t NextDue() const;

  // Outputs go to the sink when one is set, else they queue until drained.
  void SetSink(std::function<void(const Output&)> sink) { sink_ = std::move(sink); }
  std::vector<Output> Drain();

  // The seating interface: one text command, one reply line ("ok ..." or "error ...").
  std::string Command(std::string_view line);

  // Read-only views for tests and tools.
  int TableCount() const { return static_cast<int>(tables_.size()); }
  const Hand* HandAt(int table) const;
  // Hands played to their end at the table (what "hands TABLE" reports second).
  int FinishedHandsAt(int table) const;
  std::string AccountAt(int table, int seat) const;
  std::optional<std::pair<int, int>> SeatOf(std::string_view account) const;
  std::uint16_t TokenOf(std::string_view account) const;
  const Profile* ProfileOf(std::string_view account) const;
  int DealerAt(int table) const;

 private:
  struct Session {
    std::string account;
    std::string password;  // the one its first login carried: later logins must match it
    std::uint16_t token = 0;
    int conn = -1;
    int table = -1;
    int seat = -1;
    bool watcher = false;
    bool ready = false;
    std::int64_t droppedAt = -1;
  };
  struct Conn {
    std::string account;      // empty until logged in
    std::uint16_t token = 0;  // the session's, stamped on every record sent
    std::int64_t opened = 0;
    std::int64_t lastSeen = 0;
    std::int64_t dueAt = -1;  // its pending silence check
  };
  struct Table {
    std::array<std::string, 4> seats;  // account or empty
    std::array<bool, 4> robot{};
    std::array<std::vector<std::string>, 4> watchers;
    int dealer = 0;
    int handsPlayed = 0;
    std::unique_ptr<Hand> hand;
    bool settled = false;
    std::int64_t dueAt = -1;  // its pending deadline check
  };
  // What may fall due, in the order things due at the same moment are handled.
  enum class DueKind { Silence, Deadline, KeptSeat, Failures, ProfileSweep };
  // A moment at which something may fall due. Entries are never taken back: when one comes up
  // it is checked against the state of that moment and dropped when things have moved on.
  struct Due {
    std::int64_t at = 0;
    DueKind kind = DueKind::Silence;
    int id = 0;           // connection or table
    std::string account;  // kept seat, failures
    bool operator>(const Due& o) const {
      return std::tie(at, kind, id, account) > std::tie(o.at, o.kind, o.id, o.account);
    }
  };

  // Output.
  void Emit(int conn, const Record& rec);
  void Close(int conn);   // closes and drops the connection's player
  void Detach(int conn);  // closes it; its session stays (another connection takes it over)
  void ToSession(const Session& s, const Record& rec);
  void ToSeat(int table, int seat, const Record& rec);  // the player and the seat's watchers
  void ToTable(int table, const Record& rec);           // every seat and every watcher

  // Messages.
  void OnLogin(int conn, const Record& rec, bool relogin);
  void OnRelogin(int conn, const std::string& account, const std::string& password,
                 std::uint16_t token);
  void OnSeatState(Session& s, int value);
  void OnChat(Session& s, const Record& rec);

  Session* SessionOf(int conn);
  Session* Find(std::string_view account);
  Profile& ProfileFor(const std::string& account);
  bool Verify(const std::string& account, const std::string& password) const;
  // Failed attempts per account, for the limit of Config::failedLoginLimit.
  bool Throttled(const std::string& account);
  void NoteFailure(const std::string& account);
  void ForgetOldFailures();
  std::optional<std::pair<int, int>> ChooseSeat(const std::string& account);
  void Reserve(const std::string& account, int table, int seat);
  void Unreserve(const std::string& account);
  Table& TableAt(int t);
  bool Full(const Table& t) const;
  int PresentMask(const Table& t) const;

  void Seat(Session& s, int table, int seat);
  void SendSeating(const Session& s, bool withUnknown);
  void SendRestore(const Session& s, bool missedEnd);
  void Watch(Session& s, int table, int seat);
  void Leave(Session& s);
  void Drop(int conn);
  void Schedule(std::int64_t at, DueKind kind, int id, std::string account = {});
  void ArmSilence(int conn, Conn& c, std::int64_t at);
  void ArmDeadline(int table);
  void RunDue(const Due& d);  // one entry that has come up at now_
  void CheckSilence(int conn);
  void CheckDeadline(int table, std::int64_t at);
  void ForgetIdleProfiles();
  void MaybeStart(int table);
  void AfterHand(int table);

  Config cfg_;
  Rng rng_;
  std::int64_t now_ = 0;
  std::function<void(const Output&)> sink_;
  std::vector<Output> queue_;
  std::priority_queue<Due, std::vector<Due>, std::greater<>> due_;

  std::unordered_map<int, Conn> conns_;
  // Looked up for every record sent to a seat: hashed, and by string_view without a copy.
  struct AccountHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view a) const { return std::hash<std::string_view>{}(a); }
  };
  std::unordered_map<std::string, Session, AccountHash, std::equal_to<>> sessions_;
  std::map<std::string, Profile, std::less<>> profiles_;
  // Times of recent failed logins by account; kept only for accounts that have a session or a
  // users-file entry, so that made-up names cost nothing.
  std::map<std::string, std::deque<std::int64_t>, std::less<>> failures_;
  std::uint64_t nextUserId_ = 10001;
  // When each profile of an account outside the users file was first seen without a session.
  std::map<std::string, std::int64_t, std::less<>> profileIdleSince_;
  std::vector<Table> tables_;

  // Seating interface state.
  // Reservations by account, and how many accounts hold each reserved seat; a login that sits
  // down uses its account's reservation up.
  std::map<std::string, std::pair<int, int>, std::less<>> reservations_;
  std::map<std::pair<int, int>, int> reservedSeats_;
  std::map<std::string, std::string, std::less<>> watchRequests_;
  std::set<std::pair<int, int>> robotSeats_;
};

}  // namespace tallow::server
