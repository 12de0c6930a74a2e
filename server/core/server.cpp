#include "core/server.h"

#include <algorithm>

#include "core/server_util.h"
#include "protocol/record.h"

namespace tallow::server {

namespace {

constexpr std::int64_t kProfileSweepMs = 60'000;

}  // namespace

namespace off = protocol::off;
using detail::Bit;
using detail::ForWatchers;
using detail::PrintableAccount;
using detail::Text;
using detail::Word;
using protocol::ClientCode;

Server::Server(Config config, std::uint64_t seed) : cfg_(std::move(config)), rng_(seed) {
  cfg_.turnSeconds = std::clamp(cfg_.turnSeconds, 0, 15);
  cfg_.timeoutLimit = std::clamp(cfg_.timeoutLimit, 0, 255);
  cfg_.stake = std::clamp(cfg_.stake, 1, 32767);
  cfg_.maxTables = std::clamp(cfg_.maxTables, 1, 4096);
  cfg_.actLimitMs = std::max<std::int64_t>(cfg_.actLimitMs, 1);
  Schedule(kProfileSweepMs, DueKind::ProfileSweep, 0);
}

Server::~Server() = default;

std::vector<Output> Server::Drain() {
  std::vector<Output> out;
  out.swap(queue_);
  return out;
}

void Server::Emit(int conn, const Record& rec) {
  auto it = conns_.find(conn);
  Output o{conn, rec, false};
  protocol::SetToken(o.rec, it == conns_.end() ? 0 : it->second.token);
  if (sink_) {
    sink_(o);
  } else {
    queue_.push_back(o);
  }
}

void Server::Close(int conn) {
  if (!conns_.count(conn)) return;
  Output o{conn, Record{}, true};
  Drop(conn);
  if (sink_) {
    sink_(o);
  } else {
    queue_.push_back(o);
  }
}

void Server::Detach(int conn) {
  if (conns_.erase(conn) == 0) return;
  Output o{conn, Record{}, true};
  if (sink_) {
    sink_(o);
  } else {
    queue_.push_back(o);
  }
}

void Server::ToSession(const Session& s, const Record& rec) {
  if (s.conn >= 0) Emit(s.conn, rec);
}

void Server::ToSeat(int table, int seat, const Record& rec) {
  Table& t = TableAt(table);
  const auto i = static_cast<std::size_t>(seat & 3);
  if (auto* s = Find(t.seats[i])) ToSession(*s, rec);
  if (!ForWatchers(rec[off::kType]) || rec[off::kTypeHigh] != 0) return;
  for (const auto& w : t.watchers[i]) {
    if (auto* s = Find(w)) ToSession(*s, rec);
  }
}

void Server::ToTable(int table, const Record& rec) {
  for (int k = 0; k < 4; ++k) ToSeat(table, k, rec);
}

Server::Session* Server::SessionOf(int conn) {
  auto it = conns_.find(conn);
  if (it == conns_.end() || it->second.account.empty()) return nullptr;
  Session* s = Find(it->second.account);
  return (s && s->conn == conn) ? s : nullptr;
}

Server::Session* Server::Find(std::string_view account) {
  if (account.empty()) return nullptr;
  auto it = sessions_.find(account);
  return it == sessions_.end() ? nullptr : &it->second;
}

Profile& Server::ProfileFor(const std::string& account) {
  auto it = profiles_.find(account);
  if (it != profiles_.end()) return it->second;
  Profile p;
  p.account = account;
  p.nickname = account;
  p.coins = cfg_.startCoins;
  p.userId = nextUserId_++;
  if (auto u = cfg_.users.find(account); u != cfg_.users.end()) {
    if (!u->second.nickname.empty()) p.nickname = u->second.nickname;
    if (u->second.coins >= 0) p.coins = u->second.coins;
    p.gender = u->second.gender;
    p.avatar = u->second.avatar;
  }
  return profiles_.emplace(account, p).first->second;
}

bool Server::Verify(const std::string& account, const std::string& password) const {
  if (!PrintableAccount(account)) return false;
  if (cfg_.openMode) return true;
  auto it = cfg_.users.find(account);
  return it != cfg_.users.end() && it->second.password == password;
}

Server::Table& Server::TableAt(int t) {
  while (static_cast<int>(tables_.size()) <= t) tables_.emplace_back();
  return tables_[static_cast<std::size_t>(t)];
}

bool Server::Full(const Table& t) const {
  return std::all_of(t.seats.begin(), t.seats.end(), [](const auto& a) { return !a.empty(); });
}

int Server::PresentMask(const Table& t) const {
  int m = 0;
  for (int k = 0; k < 4; ++k) {
    if (!t.seats[static_cast<std::size_t>(k)].empty()) m |= Bit(k);
  }
  return m;
}

// ---------------------------------------------------------------------------------------------
// Transport events

void Server::Connect(int conn) {
  if (conns_.count(conn)) Drop(conn);
  Conn& c = conns_[conn];
  c = Conn{};
  c.opened = c.lastSeen = now_;
  ArmSilence(conn, c, now_ + cfg_.loginTimeoutMs);
}

void Server::Disconnect(int conn) {
  Drop(conn);
}

void Server::Drop(int conn) {
  auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  const std::string account = it->second.account;
  conns_.erase(it);
  Session* s = Find(account);
  if (!s || s->conn != conn) return;
  s->conn = -1;
  if (s->watcher) {
    if (s->table >= 0) {
      auto& list = TableAt(s->table).watchers[static_cast<std::size_t>(s->seat & 3)];
      list.erase(std::remove(list.begin(), list.end(), account), list.end());
    }
    sessions_.erase(account);
    return;
  }
  if (s->table >= 0) {
    const Table& t = TableAt(s->table);
    if (t.hand && !t.hand->Over()) {
      s->droppedAt = now_;  // keeps the seat for a while; the table plays on for it
      Schedule(now_ + cfg_.keepSeatMs, DueKind::KeptSeat, 0, account);
      ProfileFor(account).disconnects++;
      return;
    }
    Leave(*s);
  }
  sessions_.erase(account);
}

void Server::Receive(int conn, const Record& rec) {
  auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  it->second.lastSeen = now_;
  if (rec[off::kTypeHigh] != 0) return;
  const auto code = static_cast<ClientCode>(rec[off::kType]);
  if (code == ClientCode::Login || code == ClientCode::Relogin) {
    OnLogin(conn, rec, code == ClientCode::Relogin);
    return;
  }
  Session* s = SessionOf(conn);
  if (!s || s->watcher) return;
  switch (code) {
    case ClientCode::KeepAlive:
      return;
    case ClientCode::SeatState:
      OnSeatState(*s, Word(rec, 3));
      return;
    case ClientCode::ChatSend:
      OnChat(*s, rec);
      return;
    case ClientCode::Discard:
    case ClientCode::OperationReply: {
      if (s->table < 0) return;
      Table& t = TableAt(s->table);
      if (!t.hand || t.hand->Over()) return;
      // Tiles are the low byte of their values (claims and discards mark the high byte);
      // the operation is the whole value, so no higher bit can pass for a known operation.
      const auto tile = [&rec](int i) { return static_cast<Tile>(Word(rec, i) & 0xFF); };
      if (code == ClientCode::Discard) {
        t.hand->Discard(s->seat, tile(3), now_);
      } else {
        t.hand->Operate(s->seat, Word(rec, 0), tile(1), tile(2), tile(3), now_);
      }
      AfterHand(s->table);
      return;
    }
    default:
      return;
  }
}

void Server::Advance(std::int64_t ms) {
  // Whatever falls due inside the interval is handled at its own moment, in order, so a long
  // advance plays every silent turn when it was due.
  const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
  while (!due_.empty() && due_.top().at <= target) {
    const Due d = due_.top();
    due_.pop();
    now_ = std::max(now_, d.at);
    RunDue(d);
  }
  now_ = target;
}

std::int64_t Server::NextDue() const {
  return due_.empty() ? INT64_MAX : due_.top().at;
}

void Server::Schedule(std::int64_t at, DueKind kind, int id, std::string account) {
  due_.push(Due{at, kind, id, std::move(account)});
}

void Server::ArmSilence(int conn, Conn& c, std::int64_t at) {
  c.dueAt = at;
  Schedule(at, DueKind::Silence, conn);
}

// A table's hand deadlines only ever move later, so one pending check at or before the
// deadline is enough: when it comes up early it is set again for the deadline of that moment.
void Server::ArmDeadline(int table) {
  Table& t = TableAt(table);
  if (!t.hand || t.hand->Over()) return;
  const std::int64_t at = std::max(t.hand->deadline(), now_ + 1);
  if (t.dueAt >= 0 && t.dueAt <= at) return;
  t.dueAt = at;
  Schedule(at, DueKind::Deadline, table);
}

void Server::RunDue(const Due& d) {
  switch (d.kind) {
    case DueKind::Silence:
      if (auto it = conns_.find(d.id); it != conns_.end() && it->second.dueAt == d.at) {
        it->second.dueAt = -1;
        CheckSilence(d.id);
      }
      return;
    case DueKind::Deadline:
      CheckDeadline(d.id, d.at);
      return;
    case DueKind::KeptSeat:
      // A player who did not come back.
      if (Session* s = Find(d.account);
          s && s->conn < 0 && s->droppedAt >= 0 && now_ - s->droppedAt >= cfg_.keepSeatMs) {
        Leave(*s);
        sessions_.erase(d.account);
      }
      return;
    case DueKind::Failures:
      if (auto it = failures_.find(d.account);
          it != failures_.end() &&
          (it->second.empty() || now_ - it->second.back() >= cfg_.failedLoginWindowMs)) {
        failures_.erase(it);
      }
      return;
    case DueKind::ProfileSweep:
      ForgetIdleProfiles();
      Schedule(now_ + kProfileSweepMs, DueKind::ProfileSweep, 0);
      return;
  }
}

// A connection that never logged in, or a player connection silent too long, is closed.
void Server::CheckSilence(int conn) {
  Conn& c = conns_.at(conn);
  if (c.account.empty()) {
    if (now_ - c.opened >= cfg_.loginTimeoutMs) {
      Close(conn);
    } else {
      ArmSilence(conn, c, c.opened + cfg_.loginTimeoutMs);
    }
    return;
  }
  const Session* s = Find(c.account);
  if (!s || s->watcher) return;  // spectators are never closed for silence
  if (now_ - c.lastSeen >= cfg_.idleDropMs) {
    Close(conn);
  } else {
    ArmSilence(conn, c, c.lastSeen + cfg_.idleDropMs);
  }
}

// The server acts for seats silent past the hand's deadline.
void Server::CheckDeadline(int table, std::int64_t at) {
  if (table < 0 || table >= TableCount()) return;
  Table& t = tables_[static_cast<std::size_t>(table)];
  if (t.dueAt != at) return;
  t.dueAt = -1;
  if (!t.hand || t.hand->Over()) return;
  t.hand->Tick(now_);
  AfterHand(table);
  ArmDeadline(table);
}

// Once a minute: profiles of accounts outside the users file that have had no session for
// Config::profileKeepMs are dropped, so that open mode does not keep every name ever seen.
void Server::ForgetIdleProfiles() {
  for (auto it = profiles_.begin(); it != profiles_.end();) {
    const std::string& account = it->first;
    if (cfg_.users.count(account) || Find(account)) {
      profileIdleSince_.erase(account);
      ++it;
      continue;
    }
    const std::int64_t since = profileIdleSince_.emplace(account, now_).first->second;
    if (now_ - since < cfg_.profileKeepMs) {
      ++it;
      continue;
    }
    profileIdleSince_.erase(account);
    it = profiles_.erase(it);
  }
}

// ---------------------------------------------------------------------------------------------
// Views

const Hand* Server::HandAt(int table) const {
  if (table < 0 || table >= TableCount()) return nullptr;
  return tables_[static_cast<std::size_t>(table)].hand.get();
}

int Server::FinishedHandsAt(int table) const {
  if (table < 0 || table >= TableCount()) return 0;
  const Table& t = tables_[static_cast<std::size_t>(table)];
  const bool inPlay = t.hand && !t.hand->Over();
  return t.handsPlayed - (inPlay ? 1 : 0);
}

std::string Server::AccountAt(int table, int seat) const {
  if (table < 0 || table >= TableCount() || seat < 0 || seat > 3) return {};
  return tables_[static_cast<std::size_t>(table)].seats[static_cast<std::size_t>(seat)];
}

std::optional<std::pair<int, int>> Server::SeatOf(std::string_view account) const {
  auto it = sessions_.find(account);
  if (it == sessions_.end() || it->second.table < 0 || it->second.watcher) return std::nullopt;
  return std::make_pair(it->second.table, it->second.seat);
}

std::uint16_t Server::TokenOf(std::string_view account) const {
  auto it = sessions_.find(account);
  return it == sessions_.end() ? 0 : it->second.token;
}

const Profile* Server::ProfileOf(std::string_view account) const {
  auto it = profiles_.find(account);
  return it == profiles_.end() ? nullptr : &it->second;
}

int Server::DealerAt(int table) const {
  if (table < 0 || table >= TableCount()) return 0;
  return tables_[static_cast<std::size_t>(table)].dealer;
}

}  // namespace tallow::server
