#include "session/scheduler.h"

#include "chat/chat_display.h"
#include "hand/discards.h"
#include "hand/ready_cycle.h"
#include "play/speech_bubble.h"
#include "play/turn_timer.h"
#include "session/client.h"
#include "session/framing.h"
#include "session/hall.h"
#include "session/login.h"
#include "session/outgoing.h"

namespace tallow {

TickScheduler::TickScheduler() {
  entries[kSend].period = 1;
  entries[kReceive].period = 2;
  entries[kLogin].period = 4;
  entries[kBlink].period = 8;
  entries[kLinkWatch].period = 1;
  entries[kTurnTimer].period = 20;
  entries[kContinue].period = 20;
  entries[kBubble].period = 40;
}

void TickScheduler::Clear() {
  for (auto& s : entries) {
    s.enabled = false;
    s.counter = 0;
  }
  BubbleShown = false;
}

namespace {

// Runs slot k when it is due and allowed; a counter that reached its period starts over.
template <class Job>
void RunSlot(Client& c, int k, bool allowed, Job job) {
  TickSlot& s = c.scheduler[k];
  if (s.period > 0 && s.counter >= s.period) {
    const bool run = s.enabled && allowed;
    s.counter = 0;
    if (run) job();
  }
}

}  // namespace

void TimerBongTick(Client& c) {
  c.TimerBong->SetEnabled(false);
  auto& sch = c.scheduler;
  try {
    for (int k : TickScheduler::kCounted) {
      auto& counter = sch[k].counter;
      counter = static_cast<short>(counter < 32767 ? counter + 1 : 0);
    }
    RunSlot(c, TickScheduler::kSend, true, [&] { SendSlot(c); });
    RunSlot(c, TickScheduler::kReceive, true, [&] { ReceiveSlot(c); });
    RunSlot(c, TickScheduler::kLogin, true, [&] { LoginSlot(c); });
    RunSlot(c, TickScheduler::kBlink, true, [&] {
      BlinkLastDiscard(c);
      BlinkChatButton(c);
    });
    RunSlot(c, TickScheduler::kTurnTimer, c.play.TurnTimerAllowed != 0,
            [&] { TurnTimerSecond(c); });
    RunSlot(c, TickScheduler::kContinue, true, [&] { ContinueCountdownSecond(c); });
    RunSlot(c, TickScheduler::kLinkWatch, true, [&] { LinkWatchSlot(c); });
    RunSlot(c, TickScheduler::kBubble, sch.BubbleShown, [&] { HideSpeechBubble(c); });
  } catch (const std::exception&) {
    // A failure in a slot job is handled like one inside a message handler.
    ShowHallAndEnd(c, "run-time failure in a scheduler slot", 1);
  }
  c.TimerBong->SetEnabled(true);
}

}  // namespace tallow
