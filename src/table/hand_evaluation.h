// Judgement of the local concealed hand for the automatic moves: which tile to throw, whether a
// chow or pung on the last discard improves the hand, whether the hand is complete enough to
// kong. One suit is scored at a time: complete sets are taken out greedily, each earning a
// large bonus, and every leftover tile is weighed by its neighbours, its rank and how many of
// its kind are already out of play. All values are signed 16-bit; an overflow throws
// RuntimeFailure. Nothing is drawn or sent.
#pragma once

#include "table/evaluation_state.h"

namespace tallow {

class Client;

namespace evaluation {
inline constexpr int kSetBonus = 1000;
inline constexpr int kNoClaim = -20000;
inline constexpr int kClaimGain = 150;  // a claim must improve the suit by more than this
// EvaluateSuit modes.
inline constexpr int kAsCounted = 0;
inline constexpr int kWithoutTile = 1;
inline constexpr int kAfterChow = 2;
inline constexpr int kAfterPung = 3;
inline constexpr int kLeftoversOnly = 4;
}  // namespace evaluation

// Rebuilds the three tables from custom(0)'s concealed run; every concealed value is cut to
// its low byte on the way.
void CountHand(Client& c);
// The value of the suit of `tile` from the counts as they stand (see the modes above).
// Consumes KindCount: run CountHand before every call.
short EvaluateSuit(Client& c, int mode, int tile);
// The tile code to throw away. A tile that is the only one of its suit, once chosen, stays
// chosen.
short ChooseDiscard(Client& c);
// Chow (kind 1) or pung (any other kind) on `tile`; fills ClaimFirst and ClaimSecond. Ask for a
// pung only while the hand holds a pair of `tile`.
bool ShouldClaim(Client& c, int kind, int tile);
// The four suits together lose no more than 99 beyond their complete sets.
bool HandNearlyComplete(Client& c);

}  // namespace tallow
