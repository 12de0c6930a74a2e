#include "core/server.h"

#include <algorithm>

#include "core/server_util.h"
#include "protocol/record.h"

namespace tallow::server {

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
}

Server::~Server() = default;

std::vector<Output> Server::Drain() {
  std::vector<Output> out;
  out.swap(queue_);
  return out;
}

void Server::Emit(int conn, Record rec) {
  std::uint16_t token = 0;
  if (auto it = conns_.find(conn); it != conns_.end() && !it->second.account.empty()) {
    if (auto* s = Find(it->second.account)) token = s->token;
  }
  protocol::SetToken(rec, token);
  Output o{conn, rec, false};
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
  conns_[conn] = Conn{"", now_, now_};
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
  // Time moves in steps to each turn deadline that falls inside the interval, so a long
  // advance plays every silent turn at its own moment.
  const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
  for (int guard = 0; guard < 1000000; ++guard) {
    std::int64_t next = target;
    for (const auto& t : tables_) {
      if (t.hand && !t.hand->Over()) next = std::min(next, std::max(t.hand->deadline(), now_));
    }
    now_ = next;
    RunDue();
    if (now_ >= target) break;
  }
}

void Server::RunDue() {
  // Silent connections.
  std::vector<int> stale;
  for (const auto& [id, c] : conns_) {
    if (c.account.empty()) {
      if (now_ - c.opened >= cfg_.loginTimeoutMs) stale.push_back(id);
      continue;
    }
    const Session* s = Find(c.account);
    if (s && !s->watcher && now_ - c.lastSeen >= cfg_.idleDropMs) stale.push_back(id);
  }
  for (int id : stale) Close(id);
  // Silent seats.
  for (int t = 0; t < TableCount(); ++t) {
    Table& table = tables_[static_cast<std::size_t>(t)];
    if (table.hand && !table.hand->Over()) {
      table.hand->Tick(now_);
      AfterHand(t);
    }
  }
  // Players who did not come back.
  std::vector<std::string> gone;
  for (const auto& [account, s] : sessions_) {
    if (s.conn < 0 && s.droppedAt >= 0 && now_ - s.droppedAt >= cfg_.keepSeatMs) {
      gone.push_back(account);
    }
  }
  for (const auto& a : gone) {
    if (Session* s = Find(a)) {
      Leave(*s);
      sessions_.erase(a);
    }
  }
  if (!failures_.empty()) ForgetOldFailures();
  if (now_ - lastProfileSweep_ >= 60'000) ForgetIdleProfiles();
}

// Once a minute: profiles of accounts outside the users file that have had no session for
// Config::profileKeepMs are dropped, so that open mode does not keep every name ever seen.
void Server::ForgetIdleProfiles() {
  lastProfileSweep_ = now_;
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
