// What the hall does with its table client's answers when the player wants to leave the table,
// close the hall or go elsewhere (another seat, or watching). The client answers a question
// sent to its window by posting a message back to the hall's window.
#pragma once

#include <cstdint>

namespace tallow::hall {

// Why the hall asks.
enum class LeavePurpose {
  kLeave,  // the 离开 button
  kClose,  // the hall is being closed
  kMove,   // the player sits down elsewhere or watches
};

// What the hall does next.
enum class LeaveStep {
  kNothing,          // the message answers no open question (a notification, or a late answer)
  kDone,             // the client has left the table: carry out the purpose
  kSendLeaveOrder,   // no game is running: make the client leave with the leave order
  kOfferLeaveOrder,  // a game is running: tell the player and offer the leave order
  kLoginPending,     // a login is pending: tell the player; the client stays
};

// The question that comes first: the leave question (0x303) to leave or close, the game
// question (0x465) before going elsewhere.
std::uint32_t FirstQuestion(LeavePurpose purpose);

// The step for the client's answer `msg` to the open question `asked`.
LeaveStep StepForAnswer(std::uint32_t asked, std::uint32_t msg);

}  // namespace tallow::hall
