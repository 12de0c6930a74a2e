// Relogins as an attacker and as the returning player try them: the password and the token are
// both needed, a refusal closes the connection, and failures for one account are limited.
#include <gtest/gtest.h>

#include "core/server.h"
#include "protocol/record.h"
#include "testing/table_driver.h"

namespace tallow::server {
namespace {

using protocol::MsgType;
using testing::LoginRecord;
using testing::TableDriver;

struct Answer {
  bool accepted = false;
  bool closed = false;
  int loginResult = 0;  // Value(3) of a type-18 answer
};

// Sends a record on a fresh connection and reads what the core answers on it.
Answer Try(TableDriver& d, int conn, const Record& rec) {
  const std::size_t from = d.Log().size();
  d.core().Connect(conn);
  d.core().Receive(conn, rec);
  Answer a;
  for (std::size_t i = from; i < d.Log().size(); ++i) {
    const Output& o = d.Log()[i];
    if (o.conn != conn) continue;
    if (o.close) a.closed = true;
    if (o.close) continue;
    const auto h = protocol::DecodeHeader(o.rec);
    if (h.Code == static_cast<int>(MsgType::ReconnectResult)) a.accepted = h.Value[3] == 1;
    if (h.Code == static_cast<int>(MsgType::LoginResult)) a.loginResult = h.Value[3];
  }
  return a;
}

// p1 drops in the middle of a hand; its session keeps the seat.
struct DroppedPlayer : ::testing::Test {
  void SetUp() override {
    d.LoginAll();
    d.ReadyAll();
    token = d.core().TokenOf("p1");
    d.core().Disconnect(2);
  }
  Record Relogin(const char* password, int tokenDelta) const {
    return LoginRecord("p1", password, true, static_cast<std::uint16_t>(token + tokenDelta));
  }
  TableDriver d{11};
  std::uint16_t token = 0;
};

TEST_F(DroppedPlayer, AReloginNeedsThePasswordAndTheTokenAndARefusalCloses) {
  struct Case {
    const char* what;
    const char* password;
    int tokenDelta;
    bool accepted;
  } cases[] = {
      {"a guessed token", "pw", 1, false},
      {"the token without the password", "guess", 0, false},
      {"an empty password", "", 0, false},
      {"password and token", "pw", 0, true},
  };
  int conn = 20;
  for (const auto& c : cases) {
    const Answer a = Try(d, conn++, Relogin(c.password, c.tokenDelta));
    EXPECT_EQ(a.accepted, c.accepted) << c.what;
    EXPECT_EQ(a.closed, !c.accepted) << c.what;
  }
  EXPECT_EQ(d.core().SeatOf("p1"), std::make_pair(0, 1));
  // In open mode a plain login cannot take the session over with another password either.
  EXPECT_EQ(Try(d, conn++, LoginRecord("p1", "other")).loginResult, 3);
  EXPECT_EQ(Try(d, conn++, LoginRecord("p1", "pw")).loginResult, 1);
}

TEST_F(DroppedPlayer, GuessingIsLimitedToFiveFailuresAMinute) {
  int conn = 20;
  // An attacker who knows the name and even the password tries tokens as fast as he can.
  for (int k = 1; k <= 100; ++k) EXPECT_FALSE(Try(d, conn++, Relogin("pw", k)).accepted);
  // Only five were checked: the right token is refused too until a minute has passed since
  // the first failure.
  EXPECT_FALSE(Try(d, conn++, Relogin("pw", 0)).accepted);
  d.core().Advance(59'999);
  EXPECT_FALSE(Try(d, conn++, Relogin("pw", 0)).accepted);
  d.core().Advance(1);
  EXPECT_TRUE(Try(d, conn++, Relogin("pw", 0)).accepted);
}

TEST(Relogin, AnAccountFromTheUsersFileNeedsItsPassword) {
  Config c;
  c.openMode = false;
  for (int k = 0; k < 4; ++k) c.users[TableDriver::Account(k)].password = "pw";
  TableDriver d(11, c);
  d.LoginAll();
  d.ReadyAll();
  const std::uint16_t token = d.core().TokenOf("p2");
  d.core().Disconnect(3);
  EXPECT_FALSE(Try(d, 20, LoginRecord("p2", "nope", true, token)).accepted);
  EXPECT_TRUE(Try(d, 21, LoginRecord("p2", "pw", true, token)).accepted);
}

TEST(Relogin, APlayerBackOnHisOwnTurnGetsTheOfferAgainWithTheTimeLeft) {
  Config c;
  c.actLimitMs = 30'000;
  TableDriver d(11, c);
  d.LoginAll();
  d.ReadyAll();
  const Hand* h = d.core().HandAt(0);
  ASSERT_NE(h, nullptr);
  const int dealer = h->turn();
  const std::string account = TableDriver::Account(dealer);
  const std::uint16_t token = d.core().TokenOf(account);
  const int offer = h->offer(dealer);
  d.core().Disconnect(dealer + 1);
  d.core().Advance(10'000);
  const std::size_t from = d.Log().size();
  ASSERT_TRUE(Try(d, 20, LoginRecord(account, "pw", true, token)).accepted);
  std::vector<int> types;
  for (std::size_t i = from; i < d.Log().size(); ++i) {
    if (d.Log()[i].conn == 20) types.push_back(d.Log()[i].rec[protocol::off::kType]);
  }
  EXPECT_EQ(types, (std::vector<int>{29, 41, 40, 40, 40, 40, 6}));
  EXPECT_EQ(protocol::DecodeHeader(d.Log().back().rec).Value[0], offer);
  // Twenty seconds are left of the thirty: the server acts for him only then.
  d.core().Advance(19'999);
  EXPECT_EQ(h->turn(), dealer);
  EXPECT_EQ(h->phase(), Phase::Discard);
  d.core().Advance(1);
  EXPECT_NE(h->turn() == dealer && h->phase() == Phase::Discard, true);
}

TEST(Relogin, APlayerBackWhileADiscardAwaitsHisClaimIsShownTheDiscardAgain) {
  TableDriver d(11);
  d.LoginAll();
  d.ReadyAll();
  std::vector<int> types;
  int discarder = -1, pendingClaim = 0;
  Record snapshot{}, replayed{};
  d.onOffer = [&](TableDriver& drv, int seat, int flags) {
    const Hand* h = drv.core().HandAt(0);
    if (discarder >= 0 || h->phase() != Phase::Claims) return false;
    discarder = h->turn();
    const std::string account = TableDriver::Account(seat);
    const std::uint16_t token = drv.core().TokenOf(account);
    drv.core().Disconnect(seat + 1);
    const std::size_t from = drv.Log().size();
    EXPECT_TRUE(Try(drv, 50, LoginRecord(account, "pw", true, token)).accepted);
    for (std::size_t i = from; i < drv.Log().size(); ++i) {
      const Record& r = drv.Log()[i].rec;
      types.push_back(r[protocol::off::kType]);
      if (r[protocol::off::kType] == 40 && r[protocol::off::kSeatMask] == (1 << discarder)) {
        snapshot = r;
      }
      if (r[protocol::off::kType] == 2) replayed = r;
      if (r[protocol::off::kType] == 6) pendingClaim = protocol::DecodeHeader(r).Value[0];
    }
    EXPECT_EQ(pendingClaim, flags);
    // As every client saw it before the discard: one tile more in hand, one fewer in the pool.
    const auto& held = h->seat(discarder);
    EXPECT_EQ(snapshot[protocol::off::kExtra], held.pool.size() - 1);
    int concealed = 0;
    for (std::size_t p = 16; p < 64; p += 2) concealed += snapshot[p] == 0x10 ? 1 : 0;
    EXPECT_EQ(concealed, static_cast<int>(held.concealed.size()) + 1);
    EXPECT_EQ(protocol::DecodeHeader(replayed).SeatMask, 1 << discarder);
    EXPECT_EQ(protocol::DecodeHeader(replayed).Value[3], held.pool.back());
    return true;
  };
  d.PlayHand(200);
  ASSERT_GE(discarder, 0);
  EXPECT_EQ(types, (std::vector<int>{29, 41, 40, 40, 40, 40, 2, 6}));
}

}  // namespace
}  // namespace tallow::server
