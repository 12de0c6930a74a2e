#include "load/load_run.h"

#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

#include "front/tcp_front.h"
#include "load/load_player.h"
#include "load/load_process.h"
#include "testing/table_driver.h"

namespace tallow::server::load {

namespace {

constexpr std::int64_t kMs = 1'000'000;  // ns
constexpr std::int64_t kSecond = 1000 * kMs;
constexpr int kGarbageConnections = 8;
constexpr std::int64_t kGarbageEveryNs = 10 * kMs;
constexpr int kFloodConnections = 8;
constexpr double kNoise = 0.3;  // the garbage share of the noisy seat's records

std::int64_t NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::int64_t>(t.tv_sec) * kSecond + t.tv_nsec;
}

double Percentile(std::vector<std::uint32_t>& v, double p) {
  if (v.empty()) return 0;
  const auto k = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1;
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
  return v[k] / 1000.0;
}

bool Has(const LoadOptions& o, Abuse a) {
  return std::find(o.abuse.begin(), o.abuse.end(), a) != o.abuse.end();
}

std::string Fixed(double v, int digits = 2) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, v);
  return buf;
}

class Runner {
 public:
  explicit Runner(const LoadOptions& o) : opt_(o), rng_(o.seed) {}
  ~Runner();
  LoadReport Run();

 private:
  enum class Role { Player, Idle, Garbage, Spy, Flood };
  struct Conn {
    Role role = Role::Player;
    int fd = -1;
    int player = -1;
    std::vector<std::uint8_t> in;
    std::vector<std::uint8_t> out;
    bool waitingToWrite = false;
    std::int64_t nextAt = 0;  // garbage: the next chunk
    int floodKind = 0;
  };
  struct Player {
    std::unique_ptr<LoadPlayer> lp;
    int table = 0;
    int conn = -1;
    bool halfRecord = false;      // sends half a record once the abuse starts
    std::int64_t stalledAt = -1;  // when it did
    std::int64_t cutOffAt = -1;   // when the server closed it
  };
  struct Table {
    std::vector<std::uint32_t> waitsUs;
    long handsAtStart = 0;
    bool abused = false;
  };

  bool Start(std::string& error);
  int Open(Role role, int fd, int player = -1, std::uint32_t events = EPOLLIN);
  void Close(int id);
  void Loop(std::int64_t untilNs, const std::function<bool()>& done = nullptr);
  void OnEvent(int id, std::uint32_t events);
  void Read(int id);
  void OnRecord(int id, const Record& r, std::int64_t now);
  void OnClosed(int id, std::int64_t now);
  void Queue(int id, const std::uint8_t* p, std::size_t n);
  void Flush();
  void Write(int id, std::int64_t now);
  void StartAbuse();
  void Paced(std::int64_t now);
  void Flood(int kind);
  bool AllPlaying() const;
  long HandsAt(int table) const;  // hands ended, as its seat 0 saw them
  void Measure(LoadReport& r);
  void Check(LoadReport& r);

  LoadOptions opt_;
  Rng rng_;
  SpawnedServer spawned_;
  int ep_ = -1;
  pid_t pid_ = 0;
  std::vector<Conn> conns_;
  std::vector<int> dirty_;
  std::vector<Player> players_;
  std::vector<Table> tables_;
  bool recording_ = false;
  bool abusing_ = false;
  int idleToOpen_ = 0;
  int idleOpen_ = 0;
  int idleClosed_ = 0;
  long garbageRecords_ = 0;
  long floodLogins_ = 0;
  long floodAnswers_ = 0;
  long unexpectedCloses_ = 0;
  int spy_ = -1;
  std::int64_t spyAt_ = -1, spyCutOffAt_ = -1;
  std::int64_t halfRecordAt_ = -1;
  long halfTableHandsAtStall_ = 0;
};

Runner::~Runner() {
  for (auto& c : conns_) {
    if (c.fd >= 0) close(c.fd);
  }
  if (ep_ >= 0) close(ep_);
  if (spawned_.pid > 0) StopServer(spawned_);
}

int Runner::Open(Role role, int fd, int player, std::uint32_t events) {
  Conn c;
  c.role = role;
  c.fd = fd;
  c.player = player;
  conns_.push_back(std::move(c));
  const int id = static_cast<int>(conns_.size()) - 1;
  epoll_event ev{};
  ev.events = events;
  ev.data.u32 = static_cast<std::uint32_t>(id);
  epoll_ctl(ep_, EPOLL_CTL_ADD, fd, &ev);
  return id;
}

void Runner::Close(int id) {
  Conn& c = conns_[static_cast<std::size_t>(id)];
  if (c.fd < 0) return;
  epoll_ctl(ep_, EPOLL_CTL_DEL, c.fd, nullptr);
  close(c.fd);
  c.fd = -1;
  c.in.clear();
  c.out.clear();
}

bool Runner::Start(std::string& error) {
  ep_ = epoll_create1(EPOLL_CLOEXEC);
  RaiseOpenFileLimit();
  if (!opt_.serverPath.empty()) {
    std::vector<std::string> args{"--seed",        std::to_string(opt_.seed),
                                  "--max-tables",  std::to_string(opt_.tables + 16),
                                  "--start-coins", std::to_string(std::int64_t{1} << 40),
                                  "--act-seconds", "1"};
    args.insert(args.end(), opt_.serverArgs.begin(), opt_.serverArgs.end());
    if (!SpawnServer(opt_.serverPath, args, spawned_, error)) return false;
    opt_.port = spawned_.port;
    opt_.seatPort = spawned_.seatPort;
    pid_ = spawned_.pid;
  } else {
    pid_ = opt_.pid;
  }
  tables_.resize(static_cast<std::size_t>(opt_.tables));
  std::vector<std::string> seats;
  for (int t = 0; t < opt_.tables; ++t) {
    for (int k = 0; k < 4; ++k) {
      Player p;
      p.table = t;
      const std::string account = "ld" + std::to_string(t) + "_" + std::to_string(k);
      p.lp = std::make_unique<LoadPlayer>(account, rng_.Next());
      seats.push_back("seat " + account + " " + std::to_string(t) + " " + std::to_string(k));
      players_.push_back(std::move(p));
    }
  }
  const auto replies = SeatingCommands(opt_.host, opt_.seatPort, seats);
  if (replies.size() != seats.size() ||
      std::any_of(replies.begin(), replies.end(), [](const auto& l) { return l.rfind("ok", 0); })) {
    error = "the seating interface refused the reservations (is --max-tables large enough?)";
    return false;
  }
  // The last table's seat 2 will send half a record; table 1's seat 3 mixes garbage into its
  // play when garbage is asked for.
  if (Has(opt_, Abuse::HalfRecord)) {
    players_[players_.size() - 2].halfRecord = true;
    tables_.back().abused = true;
  }
  if (Has(opt_, Abuse::Garbage) && opt_.tables > 1) tables_[1].abused = true;
  for (std::size_t i = 0; i < players_.size(); ++i) {
    const int fd = Dial(opt_.host, opt_.port);
    if (fd < 0) {
      error = "cannot connect player " + std::to_string(i);
      return false;
    }
    players_[i].conn = Open(Role::Player, fd, static_cast<int>(i));
    const Record login = players_[i].lp->Login();
    Queue(players_[i].conn, login.data(), login.size());
  }
  Flush();
  return true;
}

void Runner::Queue(int id, const std::uint8_t* p, std::size_t n) {
  Conn& c = conns_[static_cast<std::size_t>(id)];
  if (c.fd < 0) return;
  if (c.out.empty()) dirty_.push_back(id);
  c.out.insert(c.out.end(), p, p + n);
}

void Runner::Flush() {
  std::vector<int> ids;
  ids.swap(dirty_);
  for (int id : ids) Write(id, NowNs());  // each answer's clock starts at its own send
}

void Runner::Write(int id, std::int64_t now) {
  Conn& c = conns_[static_cast<std::size_t>(id)];
  if (c.fd < 0 || c.out.empty()) return;
  const ssize_t n = send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
  if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
    OnClosed(id, now);
    return;
  }
  if (n > 0) c.out.erase(c.out.begin(), c.out.begin() + n);
  const bool rest = !c.out.empty();
  if (rest != c.waitingToWrite) {
    c.waitingToWrite = rest;
    epoll_event ev{};
    const std::uint32_t base = c.role == Role::Spy ? EPOLLRDHUP : EPOLLIN;
    ev.events = base | (rest ? static_cast<std::uint32_t>(EPOLLOUT) : 0u);
    ev.data.u32 = static_cast<std::uint32_t>(id);
    epoll_ctl(ep_, EPOLL_CTL_MOD, c.fd, &ev);
  }
  if (!rest && c.role == Role::Player) players_[static_cast<std::size_t>(c.player)].lp->OnSent(now);
}

void Runner::Loop(std::int64_t untilNs, const std::function<bool()>& done) {
  std::vector<epoll_event> events(1024);
  while (NowNs() < untilNs && !(done && done())) {
    const int waitMs = abusing_ ? 1 : 10;
    const int n = epoll_wait(ep_, events.data(), static_cast<int>(events.size()), waitMs);
    for (int i = 0; i < n; ++i) {
      OnEvent(static_cast<int>(events[static_cast<std::size_t>(i)].data.u32),
              events[static_cast<std::size_t>(i)].events);
    }
    if (abusing_) Paced(NowNs());
    Flush();
  }
}

void Runner::OnEvent(int id, std::uint32_t events) {
  Conn& c = conns_[static_cast<std::size_t>(id)];
  if (c.fd < 0) return;
  if (c.role == Role::Spy) {  // never reads: only the server's cut-off is of interest
    if (events & (EPOLLHUP | EPOLLERR | EPOLLRDHUP)) OnClosed(id, NowNs());
    return;
  }
  if (events & EPOLLOUT) Write(id, NowNs());
  if (conns_[static_cast<std::size_t>(id)].fd >= 0 && (events & (EPOLLIN | EPOLLHUP | EPOLLERR))) {
    Read(id);
  }
}

void Runner::Read(int id) {
  // Indexes, not references: a record's handling may open connections.
  auto conn = [this, id]() -> Conn& { return conns_[static_cast<std::size_t>(id)]; };
  std::uint8_t buf[65536];
  for (;;) {
    if (conn().fd < 0) return;
    const ssize_t n = recv(conn().fd, buf, sizeof buf, 0);
    const std::int64_t now = NowNs();
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      OnClosed(id, now);
      return;
    }
    if (n < 0) return;
    conn().in.insert(conn().in.end(), buf, buf + n);
    std::size_t used = 0;
    while (conn().in.size() - used >= protocol::kRecordSize) {
      Record r;
      std::copy_n(conn().in.begin() + static_cast<std::ptrdiff_t>(used), r.size(), r.begin());
      used += r.size();
      OnRecord(id, r, now);
      if (conn().fd < 0) return;
    }
    conn().in.erase(conn().in.begin(), conn().in.begin() + static_cast<std::ptrdiff_t>(used));
    if (static_cast<std::size_t>(n) < sizeof buf) return;
  }
}

void Runner::OnRecord(int id, const Record& r, std::int64_t now) {
  Conn& c = conns_[static_cast<std::size_t>(id)];
  if (c.role == Role::Flood) {
    ++floodAnswers_;
    const int kind = c.floodKind;
    Close(id);
    Flood((kind + 1) % 3);
    return;
  }
  if (c.role != Role::Player) return;
  Player& p = players_[static_cast<std::size_t>(c.player)];
  Table& t = tables_[static_cast<std::size_t>(p.table)];
  const std::int64_t waited = p.lp->Answered(r, now);
  if (waited >= 0 && recording_ && !t.abused) {
    t.waitsUs.push_back(static_cast<std::uint32_t>(std::min<std::int64_t>(waited / 1000, ~0u)));
  }
  std::vector<Record> replies;
  p.lp->OnRecord(r, replies);
  if (p.stalledAt >= 0) return;  // says nothing more
  for (const auto& reply : replies) {
    if (p.halfRecord && abusing_) {
      Queue(id, reply.data(), reply.size() / 2);
      p.stalledAt = now;
      halfRecordAt_ = now;
      halfTableHandsAtStall_ = HandsAt(p.table);
      return;
    }
    Queue(id, reply.data(), reply.size());
  }
}

void Runner::OnClosed(int id, std::int64_t now) {
  const Role role = conns_[static_cast<std::size_t>(id)].role;
  const int player = conns_[static_cast<std::size_t>(id)].player;
  Close(id);
  switch (role) {
    case Role::Player: {
      Player& p = players_[static_cast<std::size_t>(player)];
      if (p.stalledAt >= 0) {
        p.cutOffAt = now;
      } else {
        ++unexpectedCloses_;
      }
      break;
    }
    case Role::Idle:
      ++idleClosed_;
      break;
    case Role::Spy:
      spyCutOffAt_ = now;
      break;
    case Role::Garbage: {
      const int fd = Dial(opt_.host, opt_.port);
      if (fd >= 0) Open(Role::Garbage, fd);
      break;
    }
    case Role::Flood:
      Flood((conns_[static_cast<std::size_t>(id)].floodKind + 1) % 3);
      break;
  }
}

// One try of the login flood on a new connection: 0 a login that takes over the session of one
// account, 1 a wrong password for a playing account, 2 a relogin with a guessed token for it.
void Runner::Flood(int kind) {
  const int fd = Dial(opt_.host, opt_.port);
  if (fd < 0) return;
  const int id = Open(Role::Flood, fd);
  conns_[static_cast<std::size_t>(id)].floodKind = kind;
  const std::string victim = players_[0].lp->account();
  Record login = kind == 0   ? testing::LoginRecord("flood", "pw")
                 : kind == 1 ? testing::LoginRecord(victim, "wrong")
                             : testing::LoginRecord(victim, "pw", true,
                                                    static_cast<std::uint16_t>(rng_.Next()));
  Queue(id, login.data(), login.size());
  ++floodLogins_;
}

void Runner::StartAbuse() {
  abusing_ = true;
  if (Has(opt_, Abuse::Idle)) idleToOpen_ = opt_.idleConnections;
  if (Has(opt_, Abuse::Garbage)) {
    for (int i = 0; i < kGarbageConnections; ++i) {
      const int fd = Dial(opt_.host, opt_.port);
      if (fd >= 0) Open(Role::Garbage, fd);
    }
    if (opt_.tables > 1) players_[7].lp->SetNoise(kNoise);  // table 1, seat 3
  }
  if (Has(opt_, Abuse::LoginFlood)) {
    for (int i = 0; i < kFloodConnections; ++i) Flood(i % 3);
  }
  if (Has(opt_, Abuse::NoRead)) {
    // A spectator of table 0's seat 1 with a small receive window that reads nothing.
    const auto reply = SeatingCommands(opt_.host, opt_.seatPort, {"watch spy ld0_1"});
    const int fd = Dial(opt_.host, opt_.port, 4096);
    if (fd >= 0 && reply.size() == 1 && reply[0].rfind("ok", 0) == 0) {
      spy_ = Open(Role::Spy, fd, -1, EPOLLRDHUP);
      const Record login = testing::LoginRecord("spy", "pw");
      Queue(spy_, login.data(), login.size());
      spyAt_ = NowNs();
    }
  }
}

void Runner::Paced(std::int64_t now) {
  // Idle connections open a hundred a pass, so the players are not held up meanwhile.
  for (int i = 0; i < 100 && idleToOpen_ > 0; ++i, --idleToOpen_) {
    const int fd = Dial(opt_.host, opt_.port);
    if (fd < 0) break;
    Open(Role::Idle, fd);
    ++idleOpen_;
  }
  for (std::size_t id = 0; id < conns_.size(); ++id) {
    Conn& c = conns_[id];
    if (c.role != Role::Garbage || c.fd < 0 || now < c.nextAt || !c.out.empty()) continue;
    c.nextAt = now + kGarbageEveryNs;
    if (rng_.Below(2) == 0) {
      const Record r = GarbageRecord(rng_);
      Queue(static_cast<int>(id), r.data(), r.size());
    } else {
      std::vector<std::uint8_t> bytes(1 + rng_.Below(700));
      for (auto& b : bytes) b = static_cast<std::uint8_t>(rng_.Next());
      Queue(static_cast<int>(id), bytes.data(), bytes.size());
    }
    ++garbageRecords_;
  }
}

bool Runner::AllPlaying() const {
  return std::all_of(players_.begin(), players_.end(),
                     [](const Player& p) { return p.lp->inHand() || p.lp->handsEnded() > 0; });
}

long Runner::HandsAt(int table) const {
  long most = 0;
  for (int k = 0; k < 4; ++k) {
    most = std::max(most, players_[static_cast<std::size_t>(4 * table + k)].lp->handsEnded());
  }
  return most;
}

LoadReport Runner::Run() {
  LoadReport r;
  r.tables = opt_.tables;
  std::string error;
  if (!Start(error)) {
    r.failures.push_back(error);
    return r;
  }
  r.rssBeforeKb = pid_ > 0 ? ResidentKb(pid_) : 0;
  Loop(NowNs() + 60 * kSecond, [this] { return AllPlaying(); });
  if (!AllPlaying()) r.failures.push_back("not every table started to play within 60 s");
  StartAbuse();
  Loop(NowNs() + static_cast<std::int64_t>(opt_.warmupSeconds * kSecond));

  for (int t = 0; t < opt_.tables; ++t)
    tables_[static_cast<std::size_t>(t)].handsAtStart = HandsAt(t);
  const CpuTime serverBefore = pid_ > 0 ? ProcessCpu(pid_) : CpuTime{};
  const CpuTime ownBefore = OwnCpu();
  const std::int64_t start = NowNs();
  recording_ = true;
  Loop(start + static_cast<std::int64_t>(opt_.seconds * kSecond));
  recording_ = false;
  const double window = static_cast<double>(NowNs() - start) / kSecond;
  const CpuTime serverAfter = pid_ > 0 ? ProcessCpu(pid_) : CpuTime{};
  const CpuTime ownAfter = OwnCpu();
  r.rssKb = pid_ > 0 ? ResidentKb(pid_) : 0;
  r.seconds = window;
  for (int t = 0; t < opt_.tables; ++t) {
    const Table& table = tables_[static_cast<std::size_t>(t)];
    if (table.abused) {
      ++r.abusedTables;
      continue;
    }
    r.hands += HandsAt(t) - table.handsAtStart;
  }
  r.handsPerSecond = static_cast<double>(r.hands) / window;
  const double hands = static_cast<double>(std::max<long>(r.hands, 1));
  r.serverUserMsPerHand = 1000 * (serverAfter.user - serverBefore.user) / hands;
  r.serverSystemMsPerHand = 1000 * (serverAfter.system - serverBefore.system) / hands;
  r.serverCpuMsPerHand = r.serverUserMsPerHand + r.serverSystemMsPerHand;
  r.serverCoreShare =
      (serverAfter.user + serverAfter.system - serverBefore.user - serverBefore.system) / window;
  r.generatorCoreShare =
      (ownAfter.user + ownAfter.system - ownBefore.user - ownBefore.system) / window;
  if (r.tables > 0) r.rssKbPerTable = static_cast<double>(r.rssKb - r.rssBeforeKb) / r.tables;
  Measure(r);

  // What the abuse came to may take longer than the window: the half record is cut off after
  // 10 s and its table's hand then has to end.
  if (Has(opt_, Abuse::HalfRecord)) {
    const Player& half = players_[players_.size() - 2];
    const int table = half.table;
    Loop(NowNs() + 90 * kSecond, [&] {
      return half.stalledAt >= 0 && half.cutOffAt >= 0 && HandsAt(table) > halfTableHandsAtStall_;
    });
  }
  if (Has(opt_, Abuse::NoRead)) {
    Loop(NowNs() + 30 * kSecond, [this] { return spyCutOffAt_ >= 0; });
  }
  Check(r);
  if (spawned_.pid > 0) {
    const int status = StopServer(spawned_);
    if (status != 0) r.failures.push_back("the server ended with status " + std::to_string(status));
  }
  return r;
}

void Runner::Measure(LoadReport& r) {
  std::vector<std::uint32_t> all;
  for (auto& t : tables_) {
    if (t.abused) continue;
    all.insert(all.end(), t.waitsUs.begin(), t.waitsUs.end());
    if (!t.waitsUs.empty() && Percentile(t.waitsUs, 0.99) <= opt_.boundMs) ++r.tablesInBound;
  }
  r.actions = static_cast<long>(all.size());
  r.p50Ms = Percentile(all, 0.50);
  r.p99Ms = Percentile(all, 0.99);
  r.maxMs = all.empty() ? 0 : *std::max_element(all.begin(), all.end()) / 1000.0;
}

void Runner::Check(LoadReport& r) {
  auto fail = [&r](const std::string& s) { r.failures.push_back(s); };
  if (pid_ > 0 && !ServerAlive(pid_)) fail("the server is not running");
  long bad = 0, errors = 0, emptied = 0;
  for (const auto& p : players_) {
    bad += p.lp->badSettlements();
    errors += p.lp->handErrors();
    emptied += p.lp->tablesEmptied();
  }
  if (bad) fail(std::to_string(bad) + " settlements that do not sum to zero");
  if (errors) fail(std::to_string(errors) + " records that do not fit a player's hand");
  if (emptied) fail("tables emptied for want of coins");
  if (unexpectedCloses_) fail(std::to_string(unexpectedCloses_) + " players cut off");
  for (int t = 0; t < opt_.tables; ++t) {
    const Table& table = tables_[static_cast<std::size_t>(t)];
    if (!table.abused && HandsAt(t) == table.handsAtStart) {
      fail("table " + std::to_string(t) + " finished no hand in the window");
    }
  }
  if (opt_.maxP99Ms > 0 && r.p99Ms > opt_.maxP99Ms) {
    fail("99th percentile " + Fixed(r.p99Ms) + " ms above " + Fixed(opt_.maxP99Ms) + " ms");
  }
  if (opt_.maxWaitMs > 0 && r.maxMs > opt_.maxWaitMs) {
    fail("an answer took " + Fixed(r.maxMs) + " ms, more than " + Fixed(opt_.maxWaitMs) + " ms");
  }
  if (Has(opt_, Abuse::HalfRecord)) {
    const Player& half = players_[players_.size() - 2];
    if (half.stalledAt < 0) {
      fail("the half record was never sent");
    } else if (half.cutOffAt < 0) {
      fail("the seat that sent half a record was not cut off");
    } else {
      const double after = static_cast<double>(half.cutOffAt - half.stalledAt) / kSecond;
      r.notes.push_back("half record: cut off after " + Fixed(after) + " s");
      if (after < 9.5 || after > 13) fail("half record cut off after " + Fixed(after) + " s");
      if (HandsAt(half.table) > halfTableHandsAtStall_) {
        r.notes.push_back("half record: its table's hand ended for the other three");
      } else {
        fail("the hand of the table with half a record did not end");
      }
    }
  }
  if (Has(opt_, Abuse::NoRead)) {
    if (spyCutOffAt_ < 0) {
      fail("the spectator that never reads was not cut off");
    } else {
      r.notes.push_back("spectator that never reads: cut off after " +
                        Fixed(static_cast<double>(spyCutOffAt_ - spyAt_) / kSecond) + " s");
    }
  }
  if (Has(opt_, Abuse::Idle)) {
    r.notes.push_back("idle connections: " + std::to_string(idleOpen_) + " opened, " +
                      std::to_string(idleClosed_) + " closed by the server");
    if (idleOpen_ < opt_.idleConnections) fail("not every idle connection could be opened");
  }
  if (Has(opt_, Abuse::Garbage)) {
    r.notes.push_back("garbage: " + std::to_string(garbageRecords_) +
                      " chunks from unknown connections, a seat at table 1 mixing " +
                      std::to_string(static_cast<int>(kNoise * 100)) + " % garbage in its play");
  }
  if (Has(opt_, Abuse::LoginFlood)) {
    r.notes.push_back("login flood: " + std::to_string(floodLogins_) + " logins, " +
                      std::to_string(floodAnswers_) + " answered");
    if (floodAnswers_ == 0) fail("no login of the flood was answered");
  }
}

}  // namespace

LoadReport RunLoad(const LoadOptions& options) {
  Runner runner(options);
  return runner.Run();
}

std::string FormatReport(const LoadReport& r, const LoadOptions& o) {
  std::string s;
  s += "tables " + std::to_string(r.tables) + " (" + std::to_string(r.abusedTables) +
       " with an abusive seat, left out below), window " + Fixed(r.seconds, 1) + " s\n";
  s += "hands " + std::to_string(r.hands) + " (" + Fixed(r.handsPerSecond, 1) + " a second), " +
       std::to_string(r.actions) + " answers timed\n";
  s += "answer: p50 " + Fixed(r.p50Ms, 3) + " ms, p99 " + Fixed(r.p99Ms, 3) + " ms, max " +
       Fixed(r.maxMs, 3) + " ms; tables with p99 <= " + Fixed(o.boundMs, 1) +
       " ms: " + std::to_string(r.tablesInBound) + " of " +
       std::to_string(r.tables - r.abusedTables) + "\n";
  s += "server CPU per hand " + Fixed(r.serverCpuMsPerHand, 3) + " ms (user " +
       Fixed(r.serverUserMsPerHand, 3) + ", system " + Fixed(r.serverSystemMsPerHand, 3) +
       "), server " + Fixed(100 * r.serverCoreShare, 0) + " % of a core, generator " +
       Fixed(100 * r.generatorCoreShare, 0) + " %\n";
  s += "server memory " + std::to_string(r.rssBeforeKb) + " kB idle, " + std::to_string(r.rssKb) +
       " kB at load: " + Fixed(r.rssKbPerTable, 1) + " kB a table\n";
  for (const auto& n : r.notes) s += n + "\n";
  s += r.failures.empty() ? "checks: ok\n" : "checks: FAILED\n";
  for (const auto& f : r.failures) s += "  " + f + "\n";
  s += "RESULT tables=" + std::to_string(r.tables) + " hands_per_s=" + Fixed(r.handsPerSecond, 1) +
       " p50_ms=" + Fixed(r.p50Ms, 3) + " p99_ms=" + Fixed(r.p99Ms, 3) +
       " max_ms=" + Fixed(r.maxMs, 3) + " tables_in_bound=" + std::to_string(r.tablesInBound) +
       "/" + std::to_string(r.tables - r.abusedTables) +
       " cpu_ms_per_hand=" + Fixed(r.serverCpuMsPerHand, 3) +
       " server_core=" + Fixed(r.serverCoreShare, 2) +
       " generator_core=" + Fixed(r.generatorCoreShare, 2) + " rss_kb=" + std::to_string(r.rssKb) +
       " kb_per_table=" + Fixed(r.rssKbPerTable, 1) + " ok=" + (r.failures.empty() ? "1" : "0") +
       "\n";
  return s;
}

}  // namespace tallow::server::load
