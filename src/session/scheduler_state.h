// The ten slots of the main timer's cooperative scheduler.
#pragma once

#include <array>

#include "platform/failure.h"

namespace tallow {

struct TickSlot {
  bool enabled = false;
  short counter = 0;
  short period = 0;  // 0: the slot never runs
};

struct TickScheduler {
  static constexpr int kSend = 0, kReceive = 1, kLogin = 2, kBlink = 3, kUnused4 = 4,
                       kLinkWatch = 5, kTurnTimer = 6, kContinue = 7, kUnused8 = 8, kBubble = 9;
  static constexpr int kSlotCount = 10;
  // The slots whose counters advance on every tick: all but slot 8.
  static constexpr std::array<int, 9> kCounted = {
      kSend, kReceive, kLogin, kBlink, kUnused4, kLinkWatch, kTurnTimer, kContinue, kBubble};
  // The slots a suspended session must not run: all but the bubble's and the idle slot 4.
  static constexpr std::array<int, 8> kSessionSlots = {kSend,      kReceive,   kLogin,    kBlink,
                                                       kLinkWatch, kTurnTimer, kContinue, kUnused8};

  TickScheduler();
  std::array<TickSlot, kSlotCount> entries{};
  bool BubbleShown = false;  // slot 9 only counts down while a speech bubble is shown

  TickSlot& operator[](int i) {
    if (i < 0 || i >= kSlotCount) throw RuntimeFailure("scheduler slot out of range");
    return entries[static_cast<std::size_t>(i)];
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

}  // namespace tallow
