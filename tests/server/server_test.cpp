#include "core/server.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/users.h"
#include "protocol/gbk.h"
#include "protocol/record.h"
#include "testing/table_driver.h"

namespace tallow::server {
namespace {

using protocol::ClientCode;
using testing::ClientRecord;
using testing::LoginRecord;
using testing::TableDriver;

int Type(const Record& r) {
  return r[3];
}
int Mask(const Record& r) {
  return r[6];
}
int V(const Record& r, int i) {
  return r[9 + 2 * i];
}
std::string Name(const Record& r, std::size_t at = 16, std::size_t max = 16) {
  auto b = protocol::CString(r, at, max);
  return std::string(b.begin(), b.end());
}

std::vector<Record> ToConn(const std::vector<Output>& log, int conn) {
  std::vector<Record> out;
  for (const auto& o : log) {
    if (o.conn == conn && !o.close) out.push_back(o.rec);
  }
  return out;
}

std::vector<int> Types(const std::vector<Record>& rs) {
  std::vector<int> t;
  for (const auto& r : rs) t.push_back(Type(r));
  return t;
}

TEST(Session, LoginResultCarriesSettingsAndEveryRecordTheToken) {
  Config c;
  c.turnSeconds = 12;
  c.timeoutLimit = 4;
  c.webAddress = "http://127.0.0.1/";
  TableDriver d(7, c);
  d.LoginAll();
  const auto& got = d.Received(1);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(Type(got[0]), 18);
  EXPECT_EQ(V(got[0], 3), 1);
  EXPECT_EQ(V(got[0], 0), 4);
  EXPECT_EQ(V(got[0], 1) & 15, 12);
  EXPECT_EQ(Name(got[0], 16, 100), "http://127.0.0.1/");
  const std::uint16_t token = d.core().TokenOf("p0");
  EXPECT_NE(token, 0);
  EXPECT_NE(token, d.core().TokenOf("p1"));
  for (const auto& r : got) EXPECT_EQ(protocol::Token(r), token);
}

TEST(Session, UsersFileDecidesWhoMayLogIn) {
  std::istringstream file("# accounts\nann secret 500 安妮\nbob pw\n\nbroken\n");
  Config c;
  c.users = ReadUsers(file);
  c.openMode = false;
  ASSERT_EQ(c.users.size(), 2u);
  EXPECT_EQ(c.users["ann"].coins, 500);
  EXPECT_EQ(c.users["ann"].nickname, "安妮");
  Server core(c, 1);
  struct Case {
    const char* account;
    const char* password;
    int result;
  } cases[] = {{"ann", "wrong", 3},
               {"eve", "secret", 3},
               {"", "", 3},
               {"ann", "secret", 1},
               {"bob", "pw", 1}};
  int conn = 10;
  for (const auto& k : cases) {
    core.Connect(conn);
    core.Receive(conn, LoginRecord(k.account, k.password));
    const auto out = core.Drain();
    ASSERT_FALSE(out.empty()) << k.account;
    EXPECT_EQ(Type(out[0].rec), 18);
    EXPECT_EQ(V(out[0].rec, 3), k.result) << k.account << "/" << k.password;
    ++conn;
  }
  EXPECT_EQ(core.ProfileOf("ann")->coins, 500);
}

TEST(Session, NoRoomMeansTheGameCannotStart) {
  Config c;
  c.maxTables = 1;
  TableDriver d(3, c);
  d.LoginAll();
  d.core().Connect(9);
  d.core().Receive(9, LoginRecord("late", "x"));
  const auto got = ToConn(d.Log(), 9);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(V(got[0], 3), 2);

  // A reserved seat that someone else holds cannot be given either.
  EXPECT_EQ(d.core().Command("seat other 0 2"), "ok");
  d.core().Connect(10);
  d.core().Receive(10, LoginRecord("other", "x"));
  EXPECT_EQ(V(ToConn(d.Log(), 10).at(0), 3), 2);
}

TEST(Seating, ProfilesAndSeatNamesWhenTheTableFills) {
  TableDriver d(5);
  d.LoginAll();
  // The last to sit: login, own profile, the three others with unknown seats, then the seat
  // names and the four profiles with their seats.
  const auto& last = d.Received(4);
  EXPECT_EQ(Types(last), (std::vector<int>{18, 20, 20, 20, 20, 3, 3, 3, 3, 20, 20, 20, 20}));
  EXPECT_EQ(Mask(last[1]), 15);
  for (int i = 2; i < 5; ++i) EXPECT_EQ(Mask(last[static_cast<std::size_t>(i)]), 0);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(Mask(last[static_cast<std::size_t>(5 + k)]), 1 << k);
    EXPECT_EQ(Name(last[static_cast<std::size_t>(5 + k)]), TableDriver::Account(k));
  }
  EXPECT_EQ(Mask(last[9]), 1);
  EXPECT_EQ(Mask(last[12]), 15);
  EXPECT_EQ(Name(last[12], 168), "p3");
  // The first to sit saw each newcomer once with an unknown seat.
  const auto& first = d.Received(1);
  EXPECT_EQ(Types(first), (std::vector<int>{18, 20, 20, 20, 20, 3, 3, 3, 3, 20, 20, 20, 20}));
  EXPECT_EQ(Name(first[2], 168), "p1");
  EXPECT_EQ(Name(first[4], 168), "p3");
  EXPECT_EQ(d.core().SeatOf("p2"), std::make_pair(0, 2));
}

TEST(Seating, ReadyStartsTheHandWhenAllFourAre) {
  TableDriver d(5);
  d.LoginAll();
  for (int c = 1; c <= 3; ++c)
    d.Send(c, ClientRecord(ClientCode::SeatState, 1 << (c - 1), 0, 0, 0, 1));
  EXPECT_EQ(d.core().HandAt(0), nullptr);
  const auto ready = d.Received(4).back();
  EXPECT_EQ(Type(ready), 23);
  EXPECT_EQ(Name(ready), "p2");
  EXPECT_EQ(V(ready, 3), 1);
  d.Send(4, ClientRecord(ClientCode::SeatState, 8, 0, 0, 0, 1));
  ASSERT_NE(d.core().HandAt(0), nullptr);
  int newHands = 0;
  for (const auto& r : d.Received(2)) newHands += Type(r) == 4;
  EXPECT_EQ(newHands, 1);
}

TEST(Seating, RobotSeatsAreReadyForTheFirstHand) {
  TableDriver d(5);
  EXPECT_EQ(d.core().Command("robot 0 1"), "ok");
  EXPECT_EQ(d.core().Command("robot 0 2"), "ok");
  d.LoginAll();
  d.Send(1, ClientRecord(ClientCode::SeatState, 1, 0, 0, 0, 1));
  EXPECT_EQ(d.core().HandAt(0), nullptr);
  d.Send(4, ClientRecord(ClientCode::SeatState, 8, 0, 0, 0, 1));
  EXPECT_NE(d.core().HandAt(0), nullptr);
}

TEST(Seating, LeavingTellsTheOthers) {
  TableDriver d(5);
  d.LoginAll();
  d.ReadyAll();
  d.Send(3, ClientRecord(ClientCode::SeatState, 4, 0, 0, 0, 0));
  for (int c : {1, 2, 4}) {
    const auto& got = d.Received(c);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(Type(got[got.size() - 2]), 21);
    EXPECT_EQ(Name(got[got.size() - 2]), "p2");
    EXPECT_EQ(Type(got.back()), 16);
    EXPECT_EQ(V(got.back(), 3), 1);
    EXPECT_EQ(Mask(got.back()), 1 | 2 | 8);
  }
  EXPECT_EQ(d.core().HandAt(0), nullptr);  // the hand in play was abandoned
  EXPECT_FALSE(d.core().SeatOf("p2").has_value());
}

TEST(Chat, PublicLinesReachEveryonePrivateOnlyTwo) {
  TableDriver d(5);
  d.LoginAll();
  Record line = ClientRecord(ClientCode::ChatSend, 1);
  const std::string text = "p0说道: hello";
  for (std::size_t i = 0; i < text.size(); ++i) line[16 + i] = static_cast<std::uint8_t>(text[i]);
  line[215] = 'x';  // the whole 200 bytes of text are kept, nothing beyond
  line[230] = 'y';
  d.Send(1, line);
  for (int c = 1; c <= 4; ++c) {
    const auto r = d.Received(c).back();
    EXPECT_EQ(Type(r), 19);
    EXPECT_EQ(Mask(r), 1);
    EXPECT_EQ(r[16], 'p');
    EXPECT_EQ(r[215], 'x');
    EXPECT_EQ(r[230], 0);
  }
  // A voice phrase to seat 2 only.
  const std::size_t before1 = d.Received(2).size();
  d.Send(4, ClientRecord(ClientCode::ChatSend, 8, 1, 4, 0x61, 7));
  EXPECT_EQ(d.Received(2).size(), before1);
  for (int c : {3, 4}) {
    const auto r = d.Received(c).back();
    EXPECT_EQ(Type(r), 19);
    EXPECT_EQ(Mask(r), 8);
    EXPECT_EQ(V(r, 0), 1);
    EXPECT_EQ(V(r, 2), 0x61);
    EXPECT_EQ(V(r, 3), 7);
  }
}

TEST(Chat, TheOperatorSaysALineToATable) {
  TableDriver d(5);
  d.LoginAll();
  EXPECT_EQ(d.core().Command("say 0 今晚十点维护"), "ok");
  for (int c = 1; c <= 4; ++c) {
    const auto r = d.Received(c).back();
    EXPECT_EQ(Type(r), 19);
    EXPECT_EQ(V(r, 0), 0);
    EXPECT_EQ(protocol::FromGbk(protocol::CString(r, 16, 200)), "系统提示：今晚十点维护");
  }
  for (const char* bad : {"say 0", "say x hi", "say 5 hi"}) {
    EXPECT_EQ(d.core().Command(bad).rfind("error", 0), 0u) << bad;
  }
}

TEST(Reconnection, RebuildsTheTableForTheReturningPlayer) {
  Config c;
  c.keepSeatMs = 60000;
  TableDriver d(11, c);
  d.LoginAll();
  d.ReadyAll();
  const std::uint16_t token = d.core().TokenOf("p1");
  d.core().Disconnect(2);
  d.core().Advance(59000);
  ASSERT_TRUE(d.core().SeatOf("p1").has_value());

  // A wrong token is refused.
  d.core().Connect(20);
  d.core().Receive(20, LoginRecord("p1", "pw", true, static_cast<std::uint16_t>(token + 1)));
  auto got = ToConn(d.Log(), 20);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(Type(got[0]), 29);
  EXPECT_NE(V(got[0], 3), 1);

  d.core().Connect(21);
  d.core().Receive(21, LoginRecord("p1", "pw", true, token));
  got = ToConn(d.Log(), 21);
  ASSERT_GE(got.size(), 6u);
  EXPECT_EQ(Type(got[0]), 29);
  EXPECT_EQ(V(got[0], 3), 1);
  EXPECT_EQ(Type(got[1]), 41);
  EXPECT_EQ(Mask(got[1]), 1 << d.core().DealerAt(0));
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(Type(got[static_cast<std::size_t>(2 + k)]), 40);
    EXPECT_EQ(Mask(got[static_cast<std::size_t>(2 + k)]), 1 << k);
  }
  // The returning seat's own tiles are in its snapshot, the others' are hidden.
  const Hand* h = d.core().HandAt(0);
  ASSERT_NE(h, nullptr);
  const auto& own = h->seat(1).concealed;
  std::size_t pair = h->seat(1).melds.size() * 3;  // sets come first (no kongs yet)
  EXPECT_EQ(got[3][17 + 2 * pair], own.at(0));
  EXPECT_EQ(got[2][17 + 2 * (h->seat(0).melds.size() * 3)], 0);
  EXPECT_EQ(protocol::Token(got[1]), token);
}

TEST(Reconnection, AHandThatEndedMeanwhileIsReplayed) {
  Config c;
  c.actLimitMs = 3000;
  c.keepSeatMs = 3600000;
  TableDriver d(21, c);
  d.LoginAll();
  d.ReadyAll();
  const std::uint16_t token = d.core().TokenOf("p1");
  d.core().Disconnect(2);
  ASSERT_TRUE(d.PlayHand(100000));  // the server plays for the absent seat
  d.core().Connect(50);
  d.core().Receive(50, LoginRecord("p1", "pw", true, token));
  const auto got = ToConn(d.Log(), 50);
  const auto types = Types(got);
  ASSERT_GE(types.size(), 10u);
  EXPECT_EQ(std::vector<int>(types.begin(), types.begin() + 6),
            (std::vector<int>{29, 41, 40, 40, 40, 40}));
  EXPECT_EQ(std::count(types.begin(), types.end(), 9), 4);
  EXPECT_EQ(types.back(), d.core().HandAt(0)->winner() >= 0 ? 17 : 9);
}

TEST(Reconnection, ANewLoginTakesTheSessionOverWithoutLeaving) {
  TableDriver d(11);
  d.LoginAll();
  const std::size_t before = d.Received(1).size();
  d.core().Connect(40);
  d.core().Receive(40, LoginRecord("p2", "pw"));
  // The old connection is closed; the table keeps its player.
  bool closed = false;
  for (const auto& o : d.Log()) closed = closed || (o.conn == 3 && o.close);
  EXPECT_TRUE(closed);
  EXPECT_EQ(d.Received(1).size(), before);
  EXPECT_EQ(d.core().SeatOf("p2"), std::make_pair(0, 2));
  const auto got = ToConn(d.Log(), 40);
  EXPECT_EQ(Types(got), (std::vector<int>{18, 20, 20, 20, 20, 3, 3, 3, 3, 20, 20, 20, 20}));
}

TEST(Reconnection, APlayerWhoStaysAwayLosesTheSeat) {
  Config c;
  c.keepSeatMs = 60000;
  c.actLimitMs = 5000;
  TableDriver d(11, c);
  d.LoginAll();
  d.ReadyAll();
  d.core().Disconnect(3);
  d.core().Advance(30000);
  EXPECT_TRUE(d.core().SeatOf("p2").has_value());
  d.core().Advance(30000);
  EXPECT_FALSE(d.core().SeatOf("p2").has_value());
  const auto r = d.Received(1).back();
  EXPECT_EQ(Type(r), 16);
  EXPECT_EQ(Mask(r), 1 | 2 | 8);
}

TEST(Spectator, GetsProfilesSnapshotsAndTheWatchedSeatsStream) {
  TableDriver d(13);
  d.LoginAll();
  d.ReadyAll();
  EXPECT_EQ(d.core().Command("watch fan p1"), "ok");
  d.core().Connect(30);
  d.core().Receive(30, LoginRecord("fan", "x"));
  auto got = ToConn(d.Log(), 30);
  // 41 before the profiles: the fourth profile assembles the spectator's table from it.
  EXPECT_EQ(Types(got), (std::vector<int>{18, 41, 20, 20, 20, 20, 40, 40, 40, 40}));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(Mask(got[static_cast<std::size_t>(2 + k)]), 1 << k);
  const std::size_t before = got.size();
  ASSERT_TRUE(d.PlayHand());
  got = ToConn(d.Log(), 30);
  bool sawOwnTile = false;
  for (std::size_t i = before; i < got.size(); ++i) {
    EXPECT_NE(Type(got[i]), 6);   // offers stay with the player
    EXPECT_NE(Type(got[i]), 20);  // a fifth profile would break a spectator
    if (Type(got[i]) == 5 && Mask(got[i]) == 2 && V(got[i], 3) != 0) sawOwnTile = true;
  }
  EXPECT_TRUE(sawOwnTile);
  EXPECT_EQ(Type(got.back()), Type(d.Received(2).back()));
}

TEST(Spectator, CannotWatchAnEmptySeat) {
  TableDriver d(13);
  EXPECT_EQ(d.core().Command("watch fan nobody"), "ok");
  d.core().Connect(30);
  d.core().Receive(30, LoginRecord("fan", "x"));
  EXPECT_EQ(V(ToConn(d.Log(), 30).at(0), 3), 2);
}

TEST(WholeHand, SettlementMovesCoinsAndTheDealerPassesOn) {
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    TableDriver d(seed);
    d.LoginAll();
    d.ReadyAll();
    ASSERT_TRUE(d.PlayHand()) << seed;
    const Hand* h = d.core().HandAt(0);
    std::int64_t total = 0;
    for (int k = 0; k < 4; ++k) total += d.core().ProfileOf(TableDriver::Account(k))->coins;
    EXPECT_EQ(total, 4 * 10000) << seed;
    if (h->winner() >= 0 && h->winner() != h->dealer()) {
      EXPECT_EQ(d.core().DealerAt(0), (h->dealer() + 1) % 4);
    } else {
      EXPECT_EQ(d.core().DealerAt(0), h->dealer());
    }
    // Everyone is told the result: four hand results each.
    int results = 0;
    for (const auto& r : d.Received(3)) results += Type(r) == 9;
    EXPECT_EQ(results, 4);
    // The next hand starts when all are ready again.
    d.ReadyAll();
    EXPECT_FALSE(d.core().HandAt(0)->Over());
  }
}

TEST(WholeHand, PlayersOutOfCoinsEndTheTable) {
  Config c;
  c.startCoins = 20;  // the smallest payment (two fans of stake 10) already empties a purse
  TableDriver d(3, c);
  d.LoginAll();
  for (int hand = 0; hand < 20 && d.core().SeatOf("p0"); ++hand) {
    d.ReadyAll();
    d.PlayHand();  // false once the table is gone with its hand
  }
  ASSERT_FALSE(d.core().SeatOf("p0").has_value());
  const auto last = d.Received(1).back();
  EXPECT_EQ(Type(last), 16);
  EXPECT_EQ(V(last, 3), 3);
  int withCoins = 0;
  for (int k = 0; k < 4; ++k) {
    if (d.core().ProfileOf(TableDriver::Account(k))->coins >= 10) withCoins |= 1 << k;
  }
  EXPECT_EQ(Mask(last), withCoins);
  EXPECT_NE(withCoins, 15);
  EXPECT_EQ(d.core().AccountAt(0, 0), "");
}

TEST(WholeHand, SameSeedSameBytes) {
  auto run = [](std::uint64_t seed) {
    TableDriver d(seed);
    d.LoginAll();
    d.ReadyAll();
    d.PlayHand();
    d.ReadyAll();
    d.PlayHand();
    std::vector<std::uint8_t> bytes;
    for (const auto& o : d.Log()) {
      bytes.push_back(static_cast<std::uint8_t>(o.conn));
      bytes.insert(bytes.end(), o.rec.begin(), o.rec.end());
    }
    return bytes;
  };
  const auto a = run(42);
  EXPECT_EQ(a, run(42));
  EXPECT_NE(a, run(43));
  EXPECT_GT(a.size(), 200u * 272u);
}

TEST(BadInput, GarbageNeverStopsTheHand) {
  TableDriver d(17);
  d.LoginAll();
  d.ReadyAll();
  Rng noise(99);
  for (int i = 0; i < 3000; ++i) {
    Record r{};
    for (auto& b : r) b = static_cast<std::uint8_t>(noise.Below(256));
    if (i % 3 == 0) r[2] = 0;  // many with a plausible code byte
    if (i % 7 == 0) r[3] = static_cast<std::uint8_t>(noise.Below(30));
    if (r[3] == 18 || r[3] == 28 || (r[3] == 16 && r[15] == 0)) r[3] = 99;  // no self-eviction
    d.Send(1 + static_cast<int>(noise.Below(4)), r);
  }
  ASSERT_NE(d.core().HandAt(0), nullptr);
  EXPECT_TRUE(d.PlayHand());
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(d.core().SeatOf(TableDriver::Account(k)).has_value());
}

TEST(VirtualTime, OneLongAdvancePlaysEverySilentTurn) {
  Config c;
  c.actLimitMs = 5000;
  c.idleDropMs = 24 * 3600 * 1000;
  TableDriver d(31, c);
  d.LoginAll();
  d.ReadyAll();
  d.core().Advance(2 * 3600 * 1000);
  const Hand* h = d.core().HandAt(0);
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(h->Over());
  EXPECT_EQ(h->winner(), -1);  // the server only passes and throws: the wall runs out
  EXPECT_EQ(h->wall().Remaining(), 2);
}

TEST(BadInput, SilentConnectionsAreClosed) {
  Config c;
  c.loginTimeoutMs = 10000;
  Server core(c, 1);
  core.Connect(5);
  core.Advance(9999);
  EXPECT_TRUE(core.Drain().empty());
  core.Advance(1);
  const auto out = core.Drain();
  ASSERT_EQ(out.size(), 1u);
  EXPECT_TRUE(out[0].close);
  core.Receive(5, LoginRecord("late", "x"));  // a forgotten connection is ignored
  EXPECT_TRUE(core.Drain().empty());
}

TEST(VirtualTime, SilenceIsCountedFromEachConnectionsLastRecord) {
  Config c;
  c.idleDropMs = 100000;
  Server core(c, 1);
  for (int conn : {1, 2}) {
    core.Connect(conn);
    core.Receive(conn, LoginRecord(conn == 1 ? "quiet" : "chatty", "pw"));
  }
  const auto closed = [&core] {
    std::vector<int> ids;
    for (const auto& o : core.Drain()) {
      if (o.close) ids.push_back(o.conn);
    }
    return ids;
  };
  closed();
  core.Advance(60000);
  core.Receive(2, ClientRecord(ClientCode::KeepAlive, 0));
  // Each connection is closed exactly at its own last record plus the limit.
  const std::pair<std::int64_t, std::vector<int>> steps[] = {
      {39999, {}}, {1, {1}}, {59999, {}}, {1, {2}}};
  for (const auto& [ms, expected] : steps) {
    core.Advance(ms);
    EXPECT_EQ(closed(), expected) << "at " << core.Now();
  }
}

TEST(SeatingInterface, RejectsMalformedCommands) {
  Server core(Config{}, 1);
  for (const char* bad : {"", "seat", "seat a", "seat a 0 4", "seat a x 0", "robot 0", "watch a",
                          "watch a a", "notice 0 hi", "bogus", "seat a 99999 0"}) {
    EXPECT_EQ(core.Command(bad).rfind("error", 0), 0u) << bad;
  }
  EXPECT_EQ(core.Command("userid someone").rfind("ok 1", 0), 0u);
  EXPECT_EQ(core.Command("tables"), "ok");
}

}  // namespace
}  // namespace tallow::server
