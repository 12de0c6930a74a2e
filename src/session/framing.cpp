#include "session/framing.h"

#include <algorithm>
#include <array>

#include "base/general.h"
#include "chat/chat_display.h"
#include "hand/table_reset.h"
#include "protocol/gbk.h"
#include "session/client.h"
#include "session/dispatch_cases.h"
#include "session/hall.h"

namespace tallow {
namespace {

constexpr std::array<int, 41> kCaseTable = {0,  1,  2,  3,  4,  5,  6,  7,  8,  22, 22, 22, 22, 9,
                                            10, 11, 12, 13, 14, 15, 16, 17, 18, 22, 22, 22, 22, 22,
                                            19, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 20, 21};

constexpr int kMessageSize = static_cast<int>(protocol::kRecordSize);

}  // namespace

int DispatchCase(int code) {
  if (code - 1 < 0 || code - 1 > 40) return -1;
  return kCaseTable[static_cast<std::size_t>(code - 1)];
}

void ReceiveSlot(Client& c) {
  auto& f = c.framing;
  if (c.session.TableActive != 0) {
    ++f.WatchdogCount;
    if (f.WatchdogCount >= 3000) {
      f.WatchdogCount = 0;
      EndIfHallGone(c);
      c.mainForm.Sysmsg(0).Clear();
      c.mainForm.Sysmsg(0).AddItem(kDisconnectedLine);
      c.mainForm.State = ui::WindowState::Minimized;
      ShowHall(c);
      c.table.TableReadyForNext = 0;
      ResetSession(c);
      ResetTableState(c);
      ResetTableDisplay(c);
      // The reset empties the message rows; the player must still read why the table went.
      if (c.mainForm.Sysmsg(0).ListCount() == 0) {
        c.mainForm.Sysmsg(0).AddItem(kDisconnectedLine);
      }
    }
  }
  if (c.receive.Unread() >= kMessageSize) {
    ExtractMessage(c);
    if (c.session.TableActive != 0) f.WatchdogCount = 0;
    DispatchMessage(c);
  }
  c.scheduler[TickScheduler::kReceive].counter = c.receive.Unread() >= kMessageSize ? 1 : 0;
}

void ExtractMessage(Client& c) {
  auto& r = c.receive;
  auto& f = c.framing;
  const std::int32_t start = r.ReceiveRead;
  // The ring holds a whole number of records, so a record never wraps; a read that would
  // leave the ring is caught by the checked ring all the same.
  const int first = std::min(kMessageSize, kRingSize - start);
  std::copy_n(r.ReceiveRing.Range(start, first), first, f.CurrentMessage.begin());
  std::copy_n(r.ReceiveRing.Range(0, kMessageSize - first), kMessageSize - first,
              f.CurrentMessage.begin() + first);
  f.MessageHeader = protocol::DecodeHeader(f.CurrentMessage);
  const int code = f.CurrentMessage[protocol::off::kType];
  if (code == static_cast<int>(protocol::MsgType::SeatPlayer)) {
    auto name =
        protocol::CString(f.CurrentMessage, protocol::off::kSeatName, protocol::off::kSeatNameSize);
    f.SeatNames(BitPosition(f.MessageHeader.SeatMask)) += protocol::FromGbk(name);
  } else if (code == static_cast<int>(protocol::MsgType::ChatMessage)) {
    ShowChatLine(c, ChatTextOf(f.CurrentMessage));
  }
  r.ReceiveRead = (start + kMessageSize) % kRingSize;
}

void DispatchMessage(Client& c) {
  auto& f = c.framing;
  ++f.DispatchedCount;
  const auto& msg = f.CurrentMessage;
  if (msg[protocol::off::kType] != static_cast<int>(protocol::MsgType::ReconnectResult)) {
    f.SessionToken = {msg[protocol::off::kToken], msg[protocol::off::kToken + 1]};
  }
  try {
    const int kase = DispatchCase(f.MessageHeader.Code);
    if (kase >= 0 && kase != 22) RunCase(c, kase, f.MessageHeader);
  } catch (const std::exception&) {
    ShowHallAndEnd(c, "run-time failure while handling a message", 1);
  }
  if (f.AfterDispatch) f.AfterDispatch();
}

}  // namespace tallow
