// The ten slotTable of the main timer's cooperative scheduler.
#pragma once

#include <array>

#include "platform/failure.h"

namespace tallow {

class Client;

struct TickSlot {
  bool enabled = false;
  short counter = 0;
  short period = 0;  // 0: the slot never runs
};

struct TickScheduler {
  static constexpr int kSend = 0, kReceive = 1, kLogin = 2, kBlink = 3, kUnused4 = 4,
                       kLinkWatch = 5, kTurnTimer = 6, kContinue = 7, kUnused8 = 8, kBubble = 9;

  TickScheduler();
  std::array<TickSlot, 10> slotTable{};
  bool BubbleShown = false;  // slot 9 only counts down while a speech bubble is shown

  TickSlot& operator[](int i) {
    if (i < 0 || i > 9) throw RuntimeFailure("scheduler slot out of range");
    return slotTable[static_cast<std::size_t>(i)];
  }
  void Enable(int i) {
    (*this)[i].enabled = true;
    (*this)[i].counter = 0;
  }
  void Disable(int i) {
    (*this)[i].enabled = false;
    (*this)[i].counter = 0;
  }
  // Every slot disabled, every counter 0, the bubble flag cleared.
  void Clear();
};

// One tick of TimerBong: runs the slotTable in their fixed order.
void TimerBongTick(Client& c);

}  // namespace tallow
