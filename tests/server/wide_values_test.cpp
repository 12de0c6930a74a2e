// Values of client records are 16-bit: a high byte never lets a value pass for a small one.
#include <gtest/gtest.h>

#include "core/server.h"
#include "protocol/record.h"
#include "testing/table_driver.h"

namespace tallow::server {
namespace {

namespace op = protocol::op;
using protocol::ClientCode;
using testing::ClientRecord;
using testing::TableDriver;

TEST(WideValues, AHighByteNeverTurnsIntoLeaveWinOrAPrivateLine) {
  TableDriver d(11);
  d.LoginAll();
  d.ReadyAll();
  // 0x0100 is not 0 (leave): the seat stays and the hand goes on.
  d.Send(3, ClientRecord(ClientCode::SeatState, 4, 0, 0, 0, 0x0100));
  EXPECT_EQ(d.core().SeatOf("p2"), std::make_pair(0, 2));
  ASSERT_NE(d.core().HandAt(0), nullptr);

  // 0x0104 is no seat bit: the line goes to the whole table, not privately to seat 2.
  const std::size_t before = d.Received(2).size();
  d.Send(4, ClientRecord(ClientCode::ChatSend, 8, 0, 0x0104));
  EXPECT_EQ(d.Received(2).size(), before + 1);

  // 0x0180 is not 128 (win): refused, the offer stays open, and the real win still counts.
  int winsTried = 0;
  d.onOffer = [&](TableDriver& drv, int seat, int flags) {
    if (!(flags & op::kWin)) return false;
    ++winsTried;
    drv.Send(seat + 1, ClientRecord(ClientCode::OperationReply, 1 << seat, 0x0180));
    const Hand* h = drv.core().HandAt(0);
    EXPECT_FALSE(h->Over());
    EXPECT_TRUE(h->PendingOffer(seat).has_value());
    drv.Send(seat + 1, ClientRecord(ClientCode::OperationReply, 1 << seat, op::kWin));
    EXPECT_EQ(h->winner(), seat);
    return true;
  };
  ASSERT_TRUE(d.PlayHand(100000));
  EXPECT_EQ(winsTried, 1);
}

}  // namespace
}  // namespace tallow::server
