#include "session/outgoing.h"

#include <gtest/gtest.h>

#include "doubles/client_harness.h"
#include "protocol/gbk.h"

namespace tallow::testing {
namespace {

using protocol::Header;
using protocol::Record;

class Outgoing : public ::testing::Test {
 protected:
  void SetUp() override {
    h.StartAndLogIn();
    h.p.socket.sent.clear();
    h.p.socket.sendTimes.clear();
    c().table.custom(0).SeatBit = 4;
    c().framing.SessionToken = {0x12, 0x34};
  }
  Header Make(int code, std::array<int, 4> v = {}) {
    Header hd;
    hd.Code = static_cast<std::int16_t>(code);
    hd.SeatMask = c().table.custom(0).SeatBit;
    for (int i = 0; i < 4; ++i) hd.Value[i] = static_cast<std::int16_t>(v[i]);
    return hd;
  }
  Record Built(const Header& hd) {
    Record r{};
    EXPECT_TRUE(BuildRecord(c(), hd, r));
    return r;
  }
  ClientHarness h;
  Client& c() { return h.c(); }
};

TEST_F(Outgoing, DiscardBytes) {
  const Record r = Built(Make(2, {0, 0, 0, protocol::DiscardTile(0x23)}));
  const std::uint8_t head[] = {0, 0, 0, 2, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0x40, 0x23};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(r[i], head[i]) << i;
  for (int i = 16; i < 260; ++i) ASSERT_EQ(r[i], 0) << i;
  EXPECT_EQ(r[260], 0x12);
  EXPECT_EQ(r[261], 0x34);
  EXPECT_EQ(r[270], 0);
}

TEST_F(Outgoing, NegativeValueIsTwosComplement) {
  const Record r = Built(Make(7, {0, 0, 0, -1}));
  EXPECT_EQ(r[14], 0xFF);
  EXPECT_EQ(r[15], 0xFF);
}

TEST_F(Outgoing, ChatTextIsCutAndWrittenAsGbk) {
  struct Case {
    std::string text;
    std::size_t bytes;
  };
  std::string zh;
  for (int i = 0; i < 101; ++i) zh += "中";
  const Case cases[] = {{std::string(101, 'x'), 100}, {zh, 200}, {"a中b", 4}};
  for (const auto& k : cases) {
    c().send.ChatText = k.text;
    const Record r = Built(Make(19));
    std::size_t n = 0;
    while (16 + n < 260 && r[16 + n] != 0) ++n;
    EXPECT_EQ(n, k.bytes);
    EXPECT_TRUE(c().send.ChatText.empty());
  }
  c().send.ChatText = zh;
  const Record r = Built(Make(19));
  EXPECT_EQ(protocol::FromGbk(std::span<const std::uint8_t>(r.data() + 16, 200)),
            protocol::FirstChars(zh, 100));
  EXPECT_EQ(r[216], 0);
}

TEST_F(Outgoing, EmptyChatQueuesNothing) {
  c().send.ChatText.clear();
  QueueMessage(c(), Make(19));
  EXPECT_EQ(c().send.Queued(), 0);
}

TEST_F(Outgoing, OneRecordPerTickInOrder) {
  QueueMessage(c(), Make(2, {0, 0, 0, 0x4011}));
  QueueMessage(c(), Make(2, {0, 0, 0, 0x4012}));
  h.Ticks(3);
  auto sent = h.p.socket.SentRecords();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0][15], 0x11);
  EXPECT_EQ(sent[1][15], 0x12);
  EXPECT_EQ(h.p.socket.sendTimes[1] - h.p.socket.sendTimes[0], 50);
}

TEST_F(Outgoing, RecordsWaitWhileDisconnectedAndSurviveMoreThanTheRingHolds) {
  c().scheduler.Disable(TickScheduler::kLinkWatch);  // no reset in between
  h.p.socket.Close();
  for (int i = 0; i < 300; ++i) QueueMessage(c(), Make(2, {0, 0, i >> 8, i & 0xFF}));
  h.Ticks(5);
  EXPECT_TRUE(h.p.socket.sent.empty());
  h.p.socket.Connect();
  h.Ticks(310);
  auto sent = h.p.socket.SentRecords();
  ASSERT_EQ(sent.size(), 300u);
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(sent[i][3], 2);
    ASSERT_EQ(sent[i][13] * 256 + sent[i][15], i) << "record " << i << " out of order";
  }
}

TEST_F(Outgoing, KeepAliveEveryFiveSeconds) {
  c().TimerKeepAlive->SetEnabled(true);
  h.Run(10'100);
  auto sent = h.p.socket.SentRecords();
  ASSERT_EQ(sent.size(), 2u);
  for (const auto& r : sent) {
    EXPECT_EQ(r[3], 24);
    EXPECT_EQ(r[6], 4);
  }
}

}  // namespace
}  // namespace tallow::testing
