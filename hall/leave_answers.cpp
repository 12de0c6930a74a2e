#include "leave_answers.h"

#include "platform/platform.h"

namespace tallow::hall {

using namespace platform::wm;

std::uint32_t FirstQuestion(LeavePurpose purpose) {
  return purpose == LeavePurpose::kMove ? kGameRunning : kLeaveQuestion;
}

LeaveStep StepForAnswer(std::uint32_t asked, std::uint32_t msg) {
  if (asked == kLeaveQuestion) {
    switch (msg) {
      case kLeaveNow:
        return LeaveStep::kDone;
      case kGameRunning:
        return LeaveStep::kOfferLeaveOrder;
      case kLoginPending:
        return LeaveStep::kLoginPending;
      default:
        return LeaveStep::kNothing;
    }
  }
  if (asked == kGameRunning) {
    // 0x400 here means "no game is running": the client is still at its table.
    if (msg == kLeaveNow) return LeaveStep::kSendLeaveOrder;
    if (msg == kGameRunning) return LeaveStep::kOfferLeaveOrder;
  }
  // The leave order has no answer; nothing else is a question.
  return LeaveStep::kNothing;
}

}  // namespace tallow::hall
