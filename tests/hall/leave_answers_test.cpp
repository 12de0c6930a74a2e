// The client's answers to the hall's questions, and what the hall does with each.
#include "leave_answers.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace tallow::hall {
namespace {

using namespace platform::wm;

TEST(LeaveAnswers, EachAnswerLeadsToItsStep) {
  struct Case {
    std::uint32_t asked, msg;
    LeaveStep step;
  };
  const Case cases[] = {
      // The leave question: left, a game runs, a login is pending.
      {kLeaveQuestion, kLeaveNow, LeaveStep::kDone},
      {kLeaveQuestion, kGameRunning, LeaveStep::kOfferLeaveOrder},
      {kLeaveQuestion, kLoginPending, LeaveStep::kLoginPending},
      // The game question: 0x400 means no game, and the client is still at its table.
      {kGameRunning, kLeaveNow, LeaveStep::kSendLeaveOrder},
      {kGameRunning, kGameRunning, LeaveStep::kOfferLeaveOrder},
      // Notifications are no answers: login accepted (0x303), connecting, hand started.
      {kLeaveQuestion, kLeaveQuestion, LeaveStep::kNothing},
      {kLeaveQuestion, kConnect, LeaveStep::kNothing},
      {kGameRunning, kHandStarted, LeaveStep::kNothing},
      // The leave order has no answer, and nothing answers a question not asked.
      {kLeaveNow, kLeaveNow, LeaveStep::kNothing},
      {0, kGameRunning, LeaveStep::kNothing},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StepForAnswer(c.asked, c.msg), c.step) << std::hex << c.asked << " → " << c.msg;
  }
  EXPECT_EQ(FirstQuestion(LeavePurpose::kLeave), kLeaveQuestion);
  EXPECT_EQ(FirstQuestion(LeavePurpose::kClose), kLeaveQuestion);
  EXPECT_EQ(FirstQuestion(LeavePurpose::kMove), kGameRunning);
}

}  // namespace
}  // namespace tallow::hall
